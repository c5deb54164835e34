// CHyperLink: a dialog's static text turned into a link. It shows its text
// in the link colour (the visited colour once followed, the hover colour
// while the pointer is over it), underlined, with a link cursor and a
// tooltip naming the target; a click hands the target to the shell's "open"
// verb, and a refusal is told with a beep and a message box.
//
// Configure it (target, colours, underline, fit to text, cursor) before it
// is attached by data exchange; attachment reads them once. OpenTarget also
// works on an object that was never attached.
//
// Ownership: the link font it makes and the link cursor it loads or is given
// are its own and destroyed with it; its tooltip window too.
//
// The keyboard reaches it too: it is a tab stop, shows a focus rectangle
// once the keyboard is in use, and Enter or the space bar opens it; a
// screen reader hears a link named by its text, with the target as value.
//
// While the user has high contrast on, the text, focus rectangle included,
// takes the system's hyperlink colour in every state, and the focus
// rectangle always shows.
//
// A font given to the attached control (WM_SETFONT) becomes the base of its
// link font, and a change of its dialog's DPI scales the link font: either
// way the window fits the text again.
#pragma once

#include <windows.h>

#include <string>

#include "afx/handles.h"
#include "afx/std_controls.h"
#include "afx/tooltip_ctrl.h"

namespace afx {
class CAccessibleClient;
}  // namespace afx

class CHyperLink : public CStatic {
public:
    CHyperLink();
    ~CHyperLink() override;

    // What a click opens; empty at attachment means the window's text.
    void SetTarget(std::wstring target);
    const std::wstring& GetTarget() const { return m_target; }
    void SetColors(COLORREF link, COLORREF visited, COLORREF hover);
    COLORREF GetLinkColor() const { return m_linkColor; }
    COLORREF GetVisitedColor() const { return m_visitedColor; }
    COLORREF GetHoverColor() const { return m_hoverColor; }
    void SetUnderline(bool underline) { m_underline = underline; }
    void SetFitToText(bool fit) { m_fitToText = fit; }
    // A cursor of the owner's choice, owned from now on (replacing the one held).
    void SetLinkCursor(HCURSOR cursor) { m_cursor.reset(cursor); }
    HCURSOR GetLinkCursor() const { return m_cursor.get(); }
    bool IsVisited() const { return m_visited != FALSE; }
    bool IsPointerOver() const { return m_over != FALSE; }
    // The tooltip's text: the target at attachment (empty before).
    std::wstring GetTooltipText();

    // Hands target to the shell ("open", no owner window) and returns the
    // shell's result: above 32 success, else its error code.
    INT_PTR OpenTarget(const std::wstring& target, int showCommand) const;
    // The failure box for a shell error code.
    static void ShowOpenError(INT_PTR code);
    // "Unable to open hyperlink:" and the explanation of the code.
    static std::wstring OpenErrorText(INT_PTR code);
    // Sets the visited flag and redraws the text in its colour.
    void MarkVisited(bool visited);

    BOOL PreTranslateMessage(MSG* msg) override;

    const AFX_MSGMAP* GetMessageMap() const override;
    static const AFX_MSGMAP* GetThisMessageMap();

protected:
    void PreSubclassWindow() override;

    // When the control is clicked (its STN_CLICKED, reflected): opens the target.
    BOOL OnLinkClicked();
    // When the parent asks for the control's colours (reflected WM_CTLCOLOR).
    HBRUSH CtlColor(HDC dc, UINT kind);
    // When the pointer is over the control and a cursor is wanted.
    BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
    // When the pointer moves over the control (or anywhere, while captured).
    void OnMouseMove(UINT keyFlags, POINT point);
    // When the mouse capture goes to another window or is released.
    void OnCaptureChanged(HWND newCapture);
    // When the control is given a font (by its owner): the link shows an
    // underlined copy of it.
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    // When the dialog's DPI has changed: the link font scales with it.
    LRESULT OnDpiChangedAfterParent(WPARAM, LPARAM);
    // When the dialog asks which keys the link takes: Enter and the space bar.
    LRESULT OnGetDlgCode(WPARAM, LPARAM message);
    // When a key is pressed while the link has the focus: Enter and the space
    // bar open it.
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    // When the link gains or loses the focus, or the window's keyboard cues
    // change: its focus rectangle comes or goes.
    LRESULT OnFocusOrCuesChanged(WPARAM, LPARAM);
    // When the link is painted: the text, then the focus rectangle if it shows.
    LRESULT OnPaint(WPARAM, LPARAM);
    // When assistive technology asks for the link's accessible object.
    LRESULT OnGetObject(WPARAM wParam, LPARAM objectId);
    // When the system's colours or settings change (passed on by the
    // top-level window): high contrast is read again, and the link redrawn.
    LRESULT OnColorsOrSettingsChanged(WPARAM, LPARAM);
    // When the window's last message arrives: what was made for the window
    // (its font, DPI, tooltip, accessible object, hover) goes with it, so
    // the object attached to another window starts as a new one.
    LRESULT OnNcDestroy(WPARAM, LPARAM);

private:
    // Resizes the window to its text, as its alignment style says.
    void FitToText();
    // The link font made from base (underlined as set); null when GDI refuses.
    afx::unique_hfont MakeLinkFont(HFONT base, UINT fromDpi, UINT toDpi) const;
    // Shows font (kept from now on), fits the window and its tool to the text.
    void UseLinkFont(afx::unique_hfont font);
    // The cursor 106 of the Windows folder's winhlp32.exe, unless one is held.
    void LoadLinkCursor();
    void Redraw();
    // Clears the pointer-over flag, lets the capture go and redraws.
    void EndHover();
    // Whether the focus rectangle shows: focused, and the keyboard in use
    // or high contrast on.
    bool ShowsFocus() const;
    // The text's colour for the link's state; the system's hyperlink colour
    // in every state in high contrast.
    COLORREF TextColor() const;

    COLORREF m_linkColor = RGB(0, 0, 238);
    COLORREF m_visitedColor = RGB(85, 26, 139);
    COLORREF m_hoverColor;
    BOOL m_over = FALSE;
    BOOL m_visited = FALSE;
    BOOL m_underline = TRUE;
    BOOL m_fitToText = TRUE;
    std::wstring m_target;
    afx::unique_hfont m_font;
    UINT m_dpi = 0;               // the DPI the link font was made for
    bool m_highContrast = false;  // as read at attachment and at each change of colours or settings
    afx::CAccessibleClient* m_accessible = nullptr;
    afx::unique_hcursor m_cursor;
    CToolTipCtrl m_tooltip;
};
