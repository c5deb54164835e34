// CButtonST: a push button that paints itself. Bound to a dialog's button
// by data exchange (DDX_Control), it switches the control to owner-draw and
// draws a coloured face, a standard (raised, sunken while pressed) or flat
// (framed only while the pointer is over it) border, an icon and/or a
// bitmap beside or above the caption, and the caption. It can act as a
// checkbox, show a tooltip, open a popup menu or a link on click, and use a
// cursor and sounds of its own.
//
// Ownership: the button owns every icon, bitmap, mask, cursor and menu it is
// given or makes; it destroys the old one when one is replaced and all of
// them when it is destroyed. Windows passed only for reference (the menu's
// owner, the menu callback's window) stay the caller's.
//
// Assistive technology (a screen reader asking through WM_GETOBJECT) hears
// a push button named by its caption (or tooltip), a check button with its
// state, or a button menu with a popup, and a link button's target as its
// value; docs/CONTROLS.md lists what each configuration reports.
//
// While the user has high contrast on, the button draws in the system's
// colours only: the colours set with SetColor and the see-through face give
// way, images stay, and the focus rectangle always shows.
//
// Setting operations that take a repaint flag invalidate the whole button
// when it is true; they need the button's window then (a dialog configures
// its buttons in OnInitDialog, when the windows exist). All operations run
// on the thread of the button's dialog.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <string>

#include "afx/dc.h"
#include "afx/dpi.h"
#include "afx/handles.h"
#include "afx/menu.h"
#include "afx/std_controls.h"
#include "afx/theme.h"
#include "afx/tooltip_ctrl.h"

namespace button_st {
struct Drawing;
struct FrameKey;
}  // namespace button_st
namespace afx {
class CAccessibleClient;
}  // namespace afx

class CButtonST : public CButton {
public:
    // Result codes of the setting operations.
    enum Result : DWORD {
        kOk = 0,
        kInvalidImage = 1,           // an icon's or bitmap's information cannot be read
        kInvalidIndex = 3,           // no such colour
        kInvalidAlign = 4,           // an image placement other than the three below
        kInvalidPushOffsetStyle = 6  // a push-offset style other than 0 and 1
    };
    // Image placement (align).
    enum Align : std::uint8_t { kImageLeft = 0, kImageAbove = 1, kImageRight = 2 };
    // Normal-icon selectors of SetIcons: derive it from the hot icon.
    static constexpr INT_PTR kGrayscaleNormal = -2;
    static constexpr INT_PTR kDarkerNormal = -3;
    // Positions in the colour table.
    enum Color : int {
        kFaceHot = 0,
        kCaptionHot,
        kFaceNormal,
        kCaptionNormal,
        kFaceFocused,
        kCaptionFocused,
        kColorCount
    };
    // Which sound SetSound sets.
    enum Sound : int { kHoverSound = 0, kClickSound = 1 };

    // Creates no window and no GDI object.
    CButtonST();
    ~CButtonST() override;

    // --- Images ---------------------------------------------------------
    // Icons from the resources: the hot icon id with its wanted size, and
    // the normal icon (0 none, kGrayscaleNormal, kDarkerNormal, or an id).
    // A size of 0 is the system's icon size at the button's DPI (the icon's
    // best image scaled down to it), and such icons are loaded again when
    // the button's DPI changes. Result kOk or kInvalidImage.
    DWORD SetIcons(WORD hotId, int hotWidth, int hotHeight, INT_PTR normalId, int normalWidth, int normalHeight);
    DWORD SetIcons(WORD hotId, INT_PTR normalId) { return SetIcons(hotId, 0, 0, normalId, 0, 0); }
    // Icons by handle (both owned from now on, also on failure); normal may
    // be null or one of the two selectors as HICON.
    DWORD SetIcons(HICON hot, HICON normal);
    // Bitmaps by handle (owned from now on): the colour transparent marks
    // what shows the face behind; a mask is made for each. Releases the
    // icons too, as SetIcons releases the bitmaps.
    DWORD SetBitmaps(HBITMAP hot, COLORREF hotTransparent, HBITMAP normal = nullptr, COLORREF normalTransparent = 0);
    DWORD SetBitmaps(WORD hotId, COLORREF hotTransparent, WORD normalId = 0, COLORREF normalTransparent = 0);

    // A copy of icon with each pixel turned to its luminance (black stays
    // black), or null when it cannot be made. The caller owns it.
    static HICON CreateGrayscaleIcon(HICON icon);
    // A copy of icon darkened by a quarter, or null. The caller owns it.
    static HICON CreateDarkerIcon(HICON icon);
    // Each channel becomes c - c * factor (truncated); factors outside
    // (0, 1] leave the colour as it is.
    static COLORREF DarkenColor(COLORREF color, double factor);

    // --- Look -----------------------------------------------------------
    DWORD SetFlatStyle(bool flat, bool repaint = true);
    // 0: pressed content moves by (1, 1); 1: by (0, 2). Else kInvalidPushOffsetStyle.
    DWORD SetPushOffsetStyle(std::uint8_t style, bool repaint = true);
    // The three face colours to COLOR_BTNFACE, the captions to COLOR_BTNTEXT.
    DWORD ResetColors(bool repaint = true);
    DWORD SetColor(int index, COLORREF color, bool repaint = true);
    DWORD GetColor(int index, COLORREF* color) const;
    DWORD SetAlign(std::uint8_t align, bool repaint = true);
    // Image distance from the side (x) and from the top (y, with a caption).
    DWORD SetImageOrigin(POINT origin, bool repaint = true);
    // Shows the parent's background instead of a face colour.
    DWORD SetDrawTransparent(bool transparent, bool repaint = true);
    // Whether the flat style draws its hover and pressed frames.
    DWORD SetDrawBorder(bool draw, bool repaint = true);
    // Whether the flat style draws the focus rectangle.
    DWORD SetDrawFlatFocus(bool draw, bool repaint = true);
    // Whether a disabled bitmap is drawn greyed by the system.
    DWORD SetGrayDisabledBitmap(bool gray, bool repaint = true);
    // The system's look (off by default): where the window has a visual
    // style, the standard style draws the theme's push button in the state
    // the system's button would show (hot under the pointer too) and the
    // flat style the theme's toolbar button, images and caption in the
    // theme's content area, the caption in the theme's text colour unless
    // set with SetColor. Without a visual style, the classic look.
    DWORD SetThemedLook(bool themed, bool repaint = true);
    bool IsThemedLook() const { return themedLook != FALSE; }

    // --- Behaviour ------------------------------------------------------
    // The tooltip's text (null: ignored) and whether it shows.
    void SetTooltip(const wchar_t* text, bool enabled = true);
    // The tooltip's current text (empty when it has none).
    std::wstring GetTooltipText();
    // Extra window style of the tooltip, used when it is created.
    void SetTooltipStyle(DWORD style) { tooltipStyle = style; }
    // What a click opens with the shell (null or empty: nothing); at most
    // 259 characters are kept, a longer text is cut there.
    void SetLinkTarget(const wchar_t* target);
    const wchar_t* GetLinkTarget() const { return linkTarget; }
    // Checkbox mode only: 1 when check is non-zero, else 0. Always kOk.
    DWORD SetCheckState(int check, bool repaint = true);
    int GetCheckState() const { return checkState; }
    // The cursor shown over the button (owned; null: the class cursor).
    DWORD SetBtnCursor(HCURSOR cursor, bool repaint = false);
    DWORD SetBtnCursor(WORD cursorId, bool repaint = false);
    // The popup menu (owned) whose first submenu a click opens, and the
    // window that owns it and receives the chosen command (null: none).
    DWORD SetMenu(HMENU menu, HWND owner, bool repaint = true);
    DWORD SetMenu(WORD menuId, HWND owner, bool repaint = true);
    // Sent (message, submenu, value) just before the submenu opens.
    DWORD SetMenuCallback(HWND window, UINT message, LPARAM value = 0);
    // A PlaySoundW sound: name (copied) or resource id, module and flags;
    // a null name switches it off.
    DWORD SetSound(Sound which, const wchar_t* name, HMODULE module = nullptr, DWORD flags = SND_ALIAS | SND_ASYNC);
    // Hover also tracked while no window of the application is active.
    DWORD SetAlwaysTrack(bool always);

    // The handles the button holds now; they stay the button's.
    HICON GetIcon(int slot) const { return icons[slot & 1].icon.get(); }
    HBITMAP GetBitmap(int slot) const { return bitmaps[slot & 1].bitmap.get(); }
    HBITMAP GetMask(int slot) const { return bitmaps[slot & 1].mask.get(); }
    HCURSOR GetBtnCursor() const { return cursor.get(); }
    HMENU GetMenu() const { return menu.GetSafeHmenu(); }

    // State read by tests and the gallery.
    bool IsHovering() const { return isHover != FALSE; }
    bool IsCheckBox() const { return isCheckBox != FALSE; }
    bool IsDefault() const { return isDefault != FALSE; }

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    // The drawing steps, replaceable by a derived button.
    virtual DWORD PaintBackground(CDC* dc, RECT* rect);
    virtual DWORD PaintBorder(CDC* dc, RECT* rect);
    virtual void PaintIcon(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled);
    virtual void PaintBitmap(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled);
    virtual void PaintCaption(CDC* dc, const std::wstring& text, RECT* item, RECT* caption, bool pressed,
                              bool disabled);

    void PreSubclassWindow() override;

    // When the pointer is over the button and the system asks for a cursor.
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    // When the button loses the keyboard focus.
    void OnKillFocus(HWND gettingFocus);
    // When the pointer moves over the button: hover tracking.
    void OnMouseMove(UINT keyFlags, POINT point);
    // When the system colours change.
    void OnSysColorChange();
    // When the visual style changes, or the window's theme is set.
    LRESULT OnThemeChanged(WPARAM, LPARAM);
    // When a system setting changes (passed on by the top-level window).
    LRESULT OnSettingChange(WPARAM, LPARAM);
    // When the button was clicked (reflected BN_CLICKED); FALSE lets the
    // parent see the click too.
    BOOL OnClicked();
    // When the button's top-level window is activated or deactivated.
    void OnActivate(UINT state, HWND other, BOOL minimized);
    // When the button is enabled or disabled.
    void OnEnable(BOOL enabled);
    // When the system cancels a mode (a menu or capture) of the button.
    void OnCancelMode();
    // When the mouse capture changes hands (the button's own press ends, or
    // a menu or another window takes it).
    void OnCaptureChanged(HWND newCapture);
    // When the dialog manager asks what keys and role the button has.
    UINT OnGetDlgCode();
    // When the parent is asked for the button's background brush (reflected).
    HBRUSH CtlColor(HDC dc, UINT kind);
    // When the dialog manager changes the button's style (default look).
    LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
    // When the leave notification asked for on entering arrives.
    LRESULT OnMouseLeave(WPARAM, LPARAM);
    // When BM_SETCHECK is sent to the button.
    LRESULT OnSetCheck(WPARAM check, LPARAM);
    // When BM_GETCHECK is sent to the button.
    LRESULT OnGetCheck(WPARAM, LPARAM);
    // When the dialog's DPI has changed: icons loaded at the system's size
    // are loaded again at the new one.
    LRESULT OnDpiChangedAfterParent(WPARAM, LPARAM);
    // Loads the icons given by resource again when a size was left to the
    // system and they were loaded for another DPI (before the window was
    // there, or for an earlier window).
    void FollowIconDpi(UINT dpi);
    // When assistive technology asks for the button's accessible object.
    LRESULT OnGetObject(WPARAM wParam, LPARAM objectId);
    // When the caption changes: listeners hear the name change.
    LRESULT OnSetText(WPARAM, LPARAM text);
    // When the window's last message arrives: everything made for the
    // window (its DPI, caches, accessible object, tooltip, state) goes with
    // it, so the object attached to another window starts as a new one.
    LRESULT OnNcDestroy(WPARAM, LPARAM);
    // When the button's size has changed: the tooltip covers it all, and a
    // see-through face takes the parent's pixels again.
    LRESULT OnSize(WPARAM, LPARAM);

private:
    struct IconEntry {
        afx::unique_hicon icon;
        DWORD width = 0, height = 0;
    };
    struct BitmapEntry {
        afx::unique_hbitmap bitmap;
        DWORD width = 0, height = 0;
        afx::unique_hbitmap mask;
    };
    struct SoundEntry {
        std::wstring name;            // when the sound is named
        const wchar_t* id = nullptr;  // name.c_str() or a resource id
        HMODULE module = nullptr;
        DWORD flags = 0;
    };

    void Repaint(bool repaint);
    // The plain setters: stores the value, repaints if asked, kOk.
    template <class T>
    DWORD Store(T& member, T value, bool repaint) {
        member = value;
        Repaint(repaint);
        return kOk;
    }
    void ReleaseImages();
    // Takes the icon into the slot with its size; false when unreadable.
    static bool StoreIcon(IconEntry& entry, HICON icon);
    static bool StoreBitmap(BitmapEntry& entry, HBITMAP bitmap, COLORREF transparent);
    // Which image slot the drawing uses now (0 hot, 1 normal).
    template <class Entry>
    const Entry& ChooseImage(const Entry (&slots)[2]) const;
    // The image's rectangle; moves the caption rectangle aside.
    RECT PlaceImage(bool hasCaption, const RECT& item, RECT* caption, bool pressed, DWORD width, DWORD height) const;
    // The parent's pixels behind the button from the cache, taken first.
    void PaintParentBackground(CDC* dc);
    // Fills the cache with the parent's pixels on the screen; false without.
    bool TakeParentBackground(const RECT& client);
    // The theme's part and state this draw shows, set once per draw (a
    // null theme: the classic look), which the face, the caption and the
    // frame memo's key read.
    struct ThemedFace {
        HTHEME theme = nullptr;
        int part = 0, state = 0;
    } m_face;
    // The themed face for the button's state now: no theme without the
    // themed look, in high contrast, or where the window has no visual style.
    ThemedFace FaceForDraw();
    void CloseTheme();
    // The parent's background and the theme's part over item; returns the
    // part's content area.
    RECT PaintThemedFace(CDC* dc, const RECT& item) const;
    // Lets the cached parent's pixels go; the next see-through draw takes them again.
    void ForgetBackground();
    // Whether the face drawn for item covers all of it: only then does the
    // frame not show what lay under it, which no memo's key holds.
    bool FaceCovers(const RECT& item, const RECT& client) const;
    void CancelHover();
    // After something else held the pointer (a capture, a menu's loop): ends
    // the hover unless the pointer is still over the button, and asks for
    // a new leave notification when it is.
    void RecheckHover();
    // One WM_MOUSELEAVE when the pointer leaves the button.
    void TrackLeave();
    // Whether the pointer is over the button now (not as a message said).
    bool PointerIsOver() const;
    void EnsureTooltip();
    void Play(const SoundEntry& sound) const;
    // The colour pair of the visual state: hot, focused or normal.
    int FaceColorIndex() const;
    // A distance given for 96 DPI (image origin, push offset) at the DPI
    // of the last draw, as the system's buttons scale their margins.
    POINT Scaled(POINT distance) const;

    BOOL grayDisabledBitmap = TRUE;
    POINT imageOrigin{3, 3};
    POINT pushOffset{1, 1};
    BOOL isFlat = TRUE;
    BOOL isHover = FALSE;
    BOOL drawTransparent = FALSE;
    BOOL themedLook = FALSE;
    // Colours set by the caller (SetColor since the last ResetColors): they
    // win over the theme's text colour.
    bool m_callerColors = false;
    // The theme the themed look draws with, opened at a draw for the
    // window's DPI and the style's parts (null: the classic look); asked
    // again after a change of theme, DPI, style or window.
    afx::unique_htheme m_theme;
    bool m_themeAsked = false;
    BOOL isPressed = FALSE;
    UINT hasFocus = 0;
    UINT isDisabled = 0;
    BOOL isDefault = FALSE;
    BOOL isCheckBox = FALSE;
    std::uint8_t align = kImageLeft;
    BOOL drawBorder = TRUE;
    BOOL drawFlatFocus = FALSE;
    COLORREF colors[kColorCount]{};
    HWND menuOwner = nullptr;
    BOOL menuShown = FALSE;
    CMenu menu;
    afx::unique_hcursor cursor;
    CToolTipCtrl tooltip;
    // The parent's pixels behind the button (one object: it is drawn
    // through the thread's shared image DC).
    CBitmap bkBitmap;
    BOOL alwaysTrack = TRUE;
    int checkState = 0;
    DWORD tooltipStyle = 0;
    wchar_t linkTarget[260]{};
    IconEntry icons[2];
    BitmapEntry bitmaps[2];
    struct {
        HWND window = nullptr;
        UINT message = 0;
        LPARAM value = 0;
    } menuCallback;
    SoundEntry sounds[2];

    // The DPI the button is drawn at (0 until its first draw asks).
    UINT m_dpi = 0;
    // What screen readers are answered with, made on their first request.
    afx::CAccessibleClient* m_accessible = nullptr;
    // The last draw hides access-key underlines (the keyboard is not in use).
    bool m_hideAccel = false;
    // The user has high contrast on (AfxIsHighContrast), as read when the
    // window was attached and at each change of system colours or settings.
    bool m_highContrast = false;
    // Whether the face shows the parent's pixels: set, and not in high contrast.
    bool SeesThrough() const { return drawTransparent && !m_highContrast; }
    // The icons as last asked for by resource, loaded again at a new DPI
    // when a size was left to the system (hot 0: icons given by handle).
    struct {
        WORD hot = 0;
        int hotWidth = 0, hotHeight = 0;
        INT_PTR normal = 0;
        int normalWidth = 0, normalHeight = 0;
        UINT dpi = 0;  // the DPI they were loaded for
    } m_iconIds;

    // Draws the icon (of iconSize) with DrawStateW at image's top-left with
    // image's extent, the right way round in a right-to-left button too; a
    // repeat of the last such drawing on the same pixels is copied from it.
    void DrawIconState(HDC dc, HICON icon, const RECT& image, SIZE iconSize, UINT flags);
    // The key of the frame item asks for, with its caption text.
    button_st::FrameKey FrameKeyOf(const DRAWITEMSTRUCT& item, std::wstring text) const;
    // The drawing's surfaces, memos and the draw under way; made on the
    // first draw (construction makes no GDI object).
    button_st::Drawing& PrepareDrawing();
    std::unique_ptr<button_st::Drawing> m_drawing;
};
