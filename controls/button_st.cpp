#include "controls/button_st.h"

#include <mmsystem.h>

#include <cwchar>
#include <iterator>
#include <type_traits>
#include <utility>

#include "afx/module_state.h"
#include "afx/shell.h"

namespace {

constexpr UINT_PTR kTooltipId = 1;
constexpr int kTooltipMaxWidth = 400;
constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD kCheckBoxBit = 0x02;  // set for every check-box and radio type
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr double kDarkenFactor = 0.25;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

// A new icon of the source's size whose colour pixels are transform(pixel);
// black pixels stay black and the mask is the source's. Null when any step
// fails.
template <class Transform>
HICON TransformIcon(HICON source, Transform transform) {
    ICONINFO info{};
    if (source == nullptr || !::GetIconInfo(source, &info)) return nullptr;
    const afx::unique_hbitmap mask(info.hbmMask), color(info.hbmColor);
    const afx::unique_window_dc screen = afx::GetDC(nullptr);
    const afx::unique_hdc from(::CreateCompatibleDC(screen.get().dc)), to(::CreateCompatibleDC(screen.get().dc));
    BITMAP description{};
    if (!screen || !from || !to || !color || ::GetObjectW(color.get(), sizeof(description), &description) == 0)
        return nullptr;
    const int width = static_cast<int>(info.xHotspot) * 2, height = static_cast<int>(info.yHotspot) * 2;
    const afx::unique_hbitmap made(
        ::CreateBitmap(width, height, description.bmPlanes, description.bmBitsPixel, nullptr));
    if (!made) return nullptr;
    {
        const auto fromSelected = afx::SelectObject(from.get(), color.get());
        const auto toSelected = afx::SelectObject(to.get(), made.get());
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF pixel = ::GetPixel(from.get(), x, y);
                ::SetPixel(to.get(), x, y, pixel == 0 ? 0 : transform(pixel));
            }
        }
    }
    ICONINFO result{TRUE, 0, 0, mask.get(), made.get()};
    return ::CreateIconIndirect(&result);  // copies both bitmaps
}

}  // namespace

CButtonST::CButtonST() {
    SetPushOffsetStyle(0, false);
    ResetColors(false);
    SetLinkTarget(nullptr);
}

CButtonST::~CButtonST() {
    if (bkDC.GetSafeHdc() != nullptr && oldBkBitmap != nullptr) ::SelectObject(bkDC, oldBkBitmap);
    ReleaseImages();
    cursor.reset();
    menu.DestroyMenu();
    // bkBitmap, bkDC and the tooltip go with the members, in that order.
}

const AFX_MSGMAP* CButtonST::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnWmSetCursor<&CButtonST::OnSetCursor>(),
        afx::OnWmKillFocus<&CButtonST::OnKillFocus>(),
        afx::OnWmMouseMove<&CButtonST::OnMouseMove>(),
        afx::OnNotification<WM_SYSCOLORCHANGE, &CButtonST::OnSysColorChange>(),
        afx::OnReflectedControl<BN_CLICKED, &CButtonST::OnClicked>(),
        afx::OnWmActivate<&CButtonST::OnActivate>(),
        afx::OnWmEnable<&CButtonST::OnEnable>(),
        afx::OnNotification<WM_CANCELMODE, &CButtonST::OnCancelMode>(),
        afx::OnWmCaptureChanged<&CButtonST::OnCaptureChanged>(),
        afx::OnWmGetDlgCode<&CButtonST::OnGetDlgCode>(),
        afx::OnReflectedCtlColor<&CButtonST::CtlColor>(),
        afx::OnMessage<BM_SETSTYLE, &CButtonST::OnSetStyle>(),
        afx::OnMessage<WM_MOUSELEAVE, &CButtonST::OnMouseLeave>(),
        afx::OnMessage<BM_SETCHECK, &CButtonST::OnSetCheck>(),
        afx::OnMessage<BM_GETCHECK, &CButtonST::OnGetCheck>(),
    };
    static constexpr AFX_MSGMAP map{&CButton::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CButtonST::GetMessageMap() const { return GetThisMessageMap(); }

// ---------------------------------------------------------------- images

void CButtonST::ReleaseImages() {
    for (IconEntry& entry : icons) entry = {};
    for (BitmapEntry& entry : bitmaps) entry = {};
}

bool CButtonST::StoreIcon(IconEntry& entry, HICON icon) {
    entry.icon.reset(icon);
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
    afx::unique_hbitmap(info.hbmMask).reset();
    afx::unique_hbitmap(info.hbmColor).reset();
    // An icon's hot spot is its centre.
    entry.width = info.xHotspot * 2;
    entry.height = info.yHotspot * 2;
    return true;
}

DWORD CButtonST::SetIcons(HICON hot, HICON normal) {
    ReleaseImages();
    afx::unique_hicon normalOwned;
    const auto selector = static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(normal));
    if (selector != kGrayscaleNormal && selector != kDarkerNormal) normalOwned.reset(normal);
    if (hot != nullptr && !StoreIcon(icons[0], hot)) {
        ReleaseImages();
        return kInvalidImage;
    }
    if (normal != nullptr) {
        HICON made = selector == kDarkerNormal      ? CreateDarkerIcon(icons[0].icon.get())
                     : selector == kGrayscaleNormal ? CreateGrayscaleIcon(icons[0].icon.get())
                                                    : normalOwned.release();
        if (!StoreIcon(icons[1], made)) {
            ReleaseImages();
            return kInvalidImage;
        }
    }
    Repaint(true);
    return kOk;
}

DWORD CButtonST::SetIcons(WORD hotId, int hotWidth, int hotHeight, INT_PTR normalId, int normalWidth,
                          int normalHeight) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(hotId), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    const auto load = [module](WORD id, int width, int height) {
        return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, 0));
    };
    HICON hot = load(hotId, hotWidth, hotHeight);
    const auto selector = static_cast<std::int32_t>(normalId);
    HICON normal = selector == 0 ? nullptr
                   : selector == kGrayscaleNormal || selector == kDarkerNormal
                       ? reinterpret_cast<HICON>(normalId)
                       : load(LOWORD(normalId), normalWidth, normalHeight);
    return SetIcons(hot, normal);
}

bool CButtonST::StoreBitmap(BitmapEntry& entry, HBITMAP bitmap, COLORREF transparent) {
    entry.bitmap.reset(bitmap);
    BITMAP description{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(description), &description) == 0) return false;
    entry.width = static_cast<DWORD>(description.bmWidth);
    entry.height = static_cast<DWORD>(description.bmHeight);
    entry.mask.reset(::CreateBitmap(description.bmWidth, description.bmHeight, 1, 1, nullptr));
    const afx::unique_hdc colorDC(::CreateCompatibleDC(nullptr)), maskDC(::CreateCompatibleDC(nullptr));
    if (!entry.mask || !colorDC || !maskDC) return false;
    const auto colorSelected = afx::SelectObject(colorDC.get(), bitmap);
    const auto maskSelected = afx::SelectObject(maskDC.get(), entry.mask.get());
    // Colour to monochrome: the background colour becomes white, so the
    // mask is white where the face shows through and black elsewhere.
    ::SetBkColor(colorDC.get(), transparent);
    ::BitBlt(maskDC.get(), 0, 0, description.bmWidth, description.bmHeight, colorDC.get(), 0, 0, SRCCOPY);
    // Monochrome to colour: white becomes the background (black), black the
    // text colour (white); ANDed, the transparent part of the image turns
    // black, as the SRCAND/SRCPAINT drawing needs.
    ::SetBkColor(colorDC.get(), RGB(0, 0, 0));
    ::SetTextColor(colorDC.get(), kWhite);
    ::BitBlt(colorDC.get(), 0, 0, description.bmWidth, description.bmHeight, maskDC.get(), 0, 0, SRCAND);
    return true;
}

DWORD CButtonST::SetBitmaps(HBITMAP hot, COLORREF hotTransparent, HBITMAP normal, COLORREF normalTransparent) {
    ReleaseImages();
    afx::unique_hbitmap normalOwned(normal);
    if (hot != nullptr && !StoreBitmap(bitmaps[0], hot, hotTransparent)) {
        ReleaseImages();
        return kInvalidImage;
    }
    if (normal != nullptr && !StoreBitmap(bitmaps[1], normalOwned.release(), normalTransparent)) {
        ReleaseImages();
        return kInvalidImage;
    }
    Repaint(true);
    return kOk;
}

DWORD CButtonST::SetBitmaps(WORD hotId, COLORREF hotTransparent, WORD normalId, COLORREF normalTransparent) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(hotId), MAKEINTRESOURCEW(2));  // RT_BITMAP
    const auto load = [module](WORD id) {
        return id == 0 ? nullptr
                       : static_cast<HBITMAP>(::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0));
    };
    return SetBitmaps(load(hotId), hotTransparent, load(normalId), normalTransparent);
}

HICON CButtonST::CreateGrayscaleIcon(HICON icon) {
    return TransformIcon(icon, [](COLORREF pixel) {
        const double gray = 0.587 * GetGValue(pixel) + 0.299 * GetRValue(pixel) + 0.114 * GetBValue(pixel);
        const auto g = static_cast<BYTE>(static_cast<int>(gray));
        return RGB(g, g, g);
    });
}

HICON CButtonST::CreateDarkerIcon(HICON icon) {
    return TransformIcon(icon, [](COLORREF pixel) { return DarkenColor(pixel, kDarkenFactor); });
}

COLORREF CButtonST::DarkenColor(COLORREF color, double factor) {
    if (factor <= 0.0 || factor > 1.0) return color;
    const auto darken = [factor](BYTE c) { return static_cast<BYTE>(static_cast<int>(c - c * factor)); };
    return RGB(darken(GetRValue(color)), darken(GetGValue(color)), darken(GetBValue(color)));
}

// ------------------------------------------------------------------ look

void CButtonST::Repaint(bool repaint) {
    if (repaint && m_hWnd != nullptr) ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

DWORD CButtonST::SetFlatStyle(bool flat, bool repaint) { return Store(isFlat, BOOL{flat}, repaint); }

DWORD CButtonST::SetPushOffsetStyle(std::uint8_t style, bool repaint) {
    if (style == 0) {
        pushOffset = {1, 1};
    } else if (style == 1) {
        pushOffset = {0, 2};
    } else {
        return kInvalidPushOffsetStyle;
    }
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::ResetColors(bool repaint) {
    for (int face : {kFaceHot, kFaceNormal, kFaceFocused}) colors[face] = ::GetSysColor(COLOR_BTNFACE);
    for (int text : {kCaptionHot, kCaptionNormal, kCaptionFocused}) colors[text] = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetColor(int index, COLORREF color, bool repaint) {
    if (index < 0 || index >= kColorCount) return kInvalidIndex;
    colors[index] = color;
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::GetColor(int index, COLORREF* color) const {
    if (index < 0 || index >= kColorCount || color == nullptr) return kInvalidIndex;
    *color = colors[index];
    return kOk;
}

DWORD CButtonST::SetAlign(std::uint8_t newAlign, bool repaint) {
    if (newAlign > kImageRight) return kInvalidAlign;
    align = newAlign;
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetImageOrigin(POINT origin, bool repaint) { return Store(imageOrigin, origin, repaint); }

DWORD CButtonST::SetDrawTransparent(bool transparent, bool repaint) {
    return Store(drawTransparent, BOOL{transparent}, repaint);
}

DWORD CButtonST::SetDrawBorder(bool draw, bool repaint) { return Store(drawBorder, BOOL{draw}, repaint); }

DWORD CButtonST::SetDrawFlatFocus(bool draw, bool repaint) { return Store(drawFlatFocus, BOOL{draw}, repaint); }

DWORD CButtonST::SetGrayDisabledBitmap(bool gray, bool repaint) {
    return Store(grayDisabledBitmap, BOOL{gray}, repaint);
}

// ------------------------------------------------------------- behaviour

void CButtonST::EnsureTooltip() {
    if (tooltip.m_hWnd != nullptr) return;
    tooltip.Create(this, tooltipStyle);
    tooltip.Activate(false);
    tooltip.SetMaxTipWidth(kTooltipMaxWidth);
}

void CButtonST::SetTooltip(const wchar_t* text, bool enabled) {
    if (text == nullptr) return;
    EnsureTooltip();
    if (tooltip.GetToolCount() == 0) {
        RECT client{};
        GetClientRect(&client);
        tooltip.AddTool(this, text, client, kTooltipId);
    }
    tooltip.UpdateTipText(text, this, kTooltipId);
    tooltip.Activate(enabled);
}

std::wstring CButtonST::GetTooltipText() { return tooltip.GetText(this, kTooltipId); }

void CButtonST::SetLinkTarget(const wchar_t* target) {
    linkTarget[0] = L'\0';
    if (target != nullptr) ::wcsncpy_s(linkTarget, std::size(linkTarget), target, _TRUNCATE);
}

DWORD CButtonST::SetCheckState(int check, bool repaint) {
    if (isCheckBox) {
        checkState = check != 0 ? 1 : 0;
        Repaint(repaint);
    }
    return kOk;
}

DWORD CButtonST::SetBtnCursor(HCURSOR newCursor, bool repaint) {
    cursor.reset(newCursor);
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetBtnCursor(WORD cursorId, bool repaint) {
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(cursorId), MAKEINTRESOURCEW(12));  // RT_GROUP_CURSOR
    return SetBtnCursor(static_cast<HCURSOR>(::LoadImageW(module, MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0, 0)),
                        repaint);
}

DWORD CButtonST::SetMenu(HMENU newMenu, HWND owner, bool repaint) {
    menu.Attach(newMenu);
    menuOwner = newMenu != nullptr ? owner : nullptr;
    Repaint(repaint);
    return kOk;
}

DWORD CButtonST::SetMenu(WORD menuId, HWND owner, bool repaint) {
    CMenu loaded;
    loaded.LoadMenu(AfxFindResourceHandle(MAKEINTRESOURCEW(menuId), MAKEINTRESOURCEW(4)), menuId);  // RT_MENU
    return SetMenu(loaded.Detach(), owner, repaint);
}

DWORD CButtonST::SetMenuCallback(HWND window, UINT message, LPARAM value) {
    menuCallback.window = window;
    menuCallback.message = message;
    menuCallback.value = value;
    return kOk;
}

DWORD CButtonST::SetSound(Sound which, const wchar_t* name, HMODULE module, DWORD flags) {
    SoundEntry& sound = sounds[which == kHoverSound ? 0 : 1];
    sound = {};
    if (name == nullptr) return kOk;
    if (IS_INTRESOURCE(name)) {
        sound.id = name;
    } else {
        sound.name = name;
        sound.id = sound.name.c_str();
    }
    sound.module = module;
    sound.flags = flags;
    return kOk;
}

DWORD CButtonST::SetAlwaysTrack(bool always) {
    alwaysTrack = always;
    return kOk;
}

void CButtonST::Play(const SoundEntry& sound) const {
    if (sound.id != nullptr) ::PlaySoundW(sound.id, sound.module, sound.flags);
}

void CButtonST::CancelHover() {
    if (isFlat && isHover) {
        isHover = FALSE;
        Repaint(true);
    }
}

void CButtonST::PreSubclassWindow() {
    const DWORD style = GetStyle();
    if (style & kCheckBoxBit) isCheckBox = TRUE;
    if ((style & kButtonTypeMask) == BS_DEFPUSHBUTTON) isDefault = TRUE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~kButtonTypeMask) | BS_OWNERDRAW));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CButton::PreSubclassWindow();
}

BOOL CButtonST::PreTranslateMessage(MSG* msg) {
    EnsureTooltip();
    tooltip.RelayEvent(msg);
    if (msg->message == WM_LBUTTONDBLCLK) msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

BOOL CButtonST::OnSetCursor(HWND, UINT, UINT) {
    if (cursor) {
        ::SetCursor(cursor.get());
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}

void CButtonST::OnKillFocus(HWND) {
    Default();
    CancelHover();
}

void CButtonST::OnMouseMove(UINT keyFlags, POINT point) {
    Default();
    ::ClientToScreen(m_hWnd, &point);
    const HWND under = ::WindowFromPoint(point);
    if ((keyFlags & MK_LBUTTON) && !isHover) return;
    if (!isFlat) return;
    const HWND active = alwaysTrack ? m_hWnd : ::GetActiveWindow();
    // A move handled late (queued behind a menu's loop) must not light a
    // button the pointer has left since.
    if (under == m_hWnd && active != nullptr && PointerIsOver()) {
        if (isHover) return;
        isHover = TRUE;
        Repaint(true);
        Play(sounds[kHoverSound]);
        TrackLeave();
        return;
    }
    CancelHover();
}

void CButtonST::TrackLeave() {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    ::_TrackMouseEvent(&track);
}

bool CButtonST::PointerIsOver() const {
    POINT pointer{};
    RECT frame{};
    // The rectangle too: right after a menu closes, Wine may still report
    // the button under a point well outside it.
    return ::GetCursorPos(&pointer) && ::GetWindowRect(m_hWnd, &frame) && ::PtInRect(&frame, pointer) &&
           ::WindowFromPoint(pointer) == m_hWnd;
}

void CButtonST::RecheckHover() {
    if (!isHover) return;
    if (PointerIsOver()) {
        TrackLeave();  // the menu's loop may have ended the tracking
    } else {
        CancelHover();
    }
}

void CButtonST::OnCaptureChanged(HWND newCapture) {
    Default();
    if (newCapture != m_hWnd) RecheckHover();
}

void CButtonST::OnSysColorChange() {
    Default();
    if (bkDC.GetSafeHdc() != nullptr && oldBkBitmap != nullptr) ::SelectObject(bkDC, oldBkBitmap);
    oldBkBitmap = nullptr;
    bkDC.DeleteDC();
    bkBitmap.DeleteObject();
    ResetColors(true);
}

BOOL CButtonST::OnClicked() {
    ::SetFocus(m_hWnd);
    Play(sounds[kClickSound]);
    if (isCheckBox) {
        checkState = checkState == 0 ? 1 : 0;
        Repaint(true);
    } else if (menu) {
        RECT window{};
        ::GetWindowRect(m_hWnd, &window);
        menuShown = TRUE;
        Repaint(true);
        HMENU submenu = menu.GetSubMenu(0);
        if (menuCallback.window != nullptr)
            ::SendMessageW(menuCallback.window, menuCallback.message, reinterpret_cast<WPARAM>(submenu),
                           menuCallback.value);
        const UINT command = CMenu::TrackPopupMenuEx(submenu, TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                                     window.left, window.bottom, menuOwner);
        menuShown = FALSE;
        Repaint(true);
        RecheckHover();
        if (command != 0) ::PostMessageW(menuOwner, WM_COMMAND, LOWORD(command), 0);
    } else if (linkTarget[0] != L'\0') {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpVerb = L"open";
        info.lpFile = linkTarget;
        info.nShow = SW_SHOWMAXIMIZED;
        AfxShellExecuteEx(&info);  // a link that does not open says nothing
    }
    return FALSE;
}

void CButtonST::OnActivate(UINT state, HWND, BOOL) {
    Default();
    if (state == WA_INACTIVE) CancelHover();
}

void CButtonST::OnEnable(BOOL enabled) {
    Default();
    if (enabled) return;
    HWND parent = ::GetParent(m_hWnd);
    HWND next = ::GetNextDlgTabItem(parent, m_hWnd, FALSE);
    ::SetFocus(next != nullptr ? next : parent);
    CancelHover();
}

void CButtonST::OnCancelMode() {
    Default();
    CancelHover();
}

UINT CButtonST::OnGetDlgCode() {
    return static_cast<UINT>(Default()) | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

HBRUSH CButtonST::CtlColor(HDC, UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }

LRESULT CButtonST::OnSetStyle(WPARAM style, LPARAM redraw) {
    const UINT type = static_cast<UINT>(style) & kButtonTypeMask;
    if (type == BS_DEFPUSHBUTTON) isDefault = TRUE;
    if (type == BS_PUSHBUTTON) isDefault = FALSE;
    return DefWindowProc(BM_SETSTYLE, (style & ~static_cast<WPARAM>(kButtonTypeMask)) | BS_OWNERDRAW, redraw);
}

LRESULT CButtonST::OnMouseLeave(WPARAM, LPARAM) {
    CancelHover();
    return 0;
}

LRESULT CButtonST::OnSetCheck(WPARAM check, LPARAM) {
    SetCheckState(check == BST_CHECKED || check == BST_INDETERMINATE ? 1 : 0, true);
    return 0;
}

LRESULT CButtonST::OnGetCheck(WPARAM, LPARAM) { return GetCheckState(); }

// --------------------------------------------------------------- drawing

int CButtonST::FaceColorIndex() const {
    if (isHover || isPressed) return kFaceHot;
    return hasFocus ? kFaceFocused : kFaceNormal;
}

void CButtonST::DrawItem(LPDRAWITEMSTRUCT item) {
    CDC dc(item->hDC);  // borrowed from the system for this draw
    if (isCheckBox) {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || checkState != 0;
    } else {
        isPressed = (item->itemState & ODS_SELECTED) != 0 || (menu && menuShown);
    }
    hasFocus = item->itemState & ODS_FOCUS;
    isDisabled = item->itemState & ODS_DISABLED;

    RECT work = item->rcItem;
    ::SetBkMode(dc, TRANSPARENT);
    if (drawTransparent) {
        PaintParentBackground(&dc);
    } else {
        PaintBackground(&dc, &work);
    }
    PaintBorder(&dc, &work);

    const std::wstring text = GetWindowText();
    RECT caption = item->rcItem;
    const bool hasCaption = !text.empty();
    if (icons[0].icon) PaintIcon(&dc, hasCaption, &item->rcItem, &caption, isPressed, isDisabled != 0);
    if (bitmaps[0].bitmap) {
        ::SetBkColor(dc, kWhite);
        PaintBitmap(&dc, hasCaption, &item->rcItem, &caption, isPressed, isDisabled != 0);
    }
    if (hasCaption) PaintCaption(&dc, text, &item->rcItem, &caption, isPressed, isDisabled != 0);

    if (hasFocus && (!isFlat || drawFlatFocus)) {
        RECT focus = work;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
}

DWORD CButtonST::PaintBackground(CDC* dc, RECT* rect) {
    if (!isFlat && (hasFocus || isDefault)) {
        // The stock black brush: nothing to make and delete on every draw.
        ::FrameRect(*dc, rect, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::InflateRect(rect, -1, -1);
    }
    const afx::unique_hbrush face(::CreateSolidBrush(colors[FaceColorIndex()]));
    ::FillRect(*dc, rect, face.get());
    return 0;
}

DWORD CButtonST::PaintBorder(CDC* dc, RECT* rect) {
    if (isPressed) {
        if (isFlat) {
            if (drawBorder) dc->Draw3dRect(*rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            const afx::unique_hbrush shadow(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
            ::FrameRect(*dc, rect, shadow.get());
        }
        return 0;
    }
    if (isFlat) {
        if (isHover && drawBorder)
            dc->Draw3dRect(*rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }
    const LONG l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    const struct {
        int color;
        POINT points[3];
    } lines[] = {
        {COLOR_BTNHIGHLIGHT, {{l, b - 1}, {l, t}, {r, t}}},
        {COLOR_3DLIGHT, {{l + 1, b - 1}, {l + 1, t + 1}, {r, t + 1}}},
        {COLOR_3DDKSHADOW, {{l, b - 1}, {r - 1, b - 1}, {r - 1, t - 1}}},
        {COLOR_BTNSHADOW, {{l + 1, b - 2}, {r - 2, b - 2}, {r - 2, t}}},
    };
    for (const auto& line : lines) {
        const afx::unique_hpen pen(::CreatePen(PS_SOLID, 0, ::GetSysColor(line.color)));
        const auto selected = afx::SelectObject(*dc, pen.get());
        ::MoveToEx(*dc, line.points[0].x, line.points[0].y, nullptr);
        ::LineTo(*dc, line.points[1].x, line.points[1].y);
        ::LineTo(*dc, line.points[2].x, line.points[2].y);
    }
    return 0;
}

template <class Entry>
const Entry& CButtonST::ChooseImage(const Entry (&slots)[2]) const {
    const bool normal = !isPressed && (isCheckBox || !isHover);
    if constexpr (std::is_same_v<Entry, IconEntry>) {
        return normal && slots[1].icon ? slots[1] : slots[0];
    } else {
        return normal && slots[1].bitmap ? slots[1] : slots[0];
    }
}

RECT CButtonST::PlaceImage(bool hasCaption, const RECT& item, RECT* caption, bool pressed, DWORD imageWidth,
                           DWORD imageHeight) const {
    RECT image = item;
    const LONG width = Width(item), height = Height(item);
    const auto w = static_cast<LONG>(imageWidth), h = static_cast<LONG>(imageHeight);
    switch (align) {
        case kImageLeft:
            if (!hasCaption) {
                image.left += (width - w) / 2;
            } else {
                image.left += imageOrigin.x;
                caption->left += w + imageOrigin.x;
            }
            image.top += (height - h) / 2;
            break;
        case kImageAbove:
            image.left += (width - w) / 2;
            if (!hasCaption) {
                image.top += (height - h) / 2;
            } else {
                image.top = imageOrigin.y;
                caption->top += h;
            }
            break;
        case kImageRight: {
            RECT client{};
            GetClientRect(&client);
            if (!hasCaption) {
                image.left += (width - w) / 2;
            } else {
                const LONG captionWidth = Width(*caption);
                caption->right = captionWidth - w - imageOrigin.x;
                caption->left = imageOrigin.x;
                image.left = client.right - w - imageOrigin.x;
                image.top += (height - h) / 2;
            }
            break;
        }
        default: break;
    }
    if (pressed && !isCheckBox) ::OffsetRect(&image, pushOffset.x, pushOffset.y);
    return image;
}

void CButtonST::PaintIcon(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const IconEntry& icon = ChooseImage(icons);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, icon.width, icon.height);
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon.get()), 0, image.left, image.top,
                 Width(image), Height(image), DST_ICON | (disabled ? DSS_DISABLED : 0));
}

void CButtonST::PaintBitmap(CDC* dc, bool hasCaption, RECT* item, RECT* caption, bool pressed, bool disabled) {
    const BitmapEntry& bitmap = ChooseImage(bitmaps);
    const RECT image = PlaceImage(hasCaption, *item, caption, pressed, bitmap.width, bitmap.height);
    const auto w = static_cast<int>(bitmap.width), h = static_cast<int>(bitmap.height);
    const afx::unique_hdc colorDC(::CreateCompatibleDC(*dc)), maskDC(::CreateCompatibleDC(nullptr));
    if (!colorDC || !maskDC) return;
    const auto colorSelected = afx::SelectObject(colorDC.get(), bitmap.bitmap.get());
    const auto maskSelected = afx::SelectObject(maskDC.get(), bitmap.mask.get());
    if (!disabled || !grayDisabledBitmap) {
        ::BitBlt(*dc, image.left, image.top, w, h, maskDC.get(), 0, 0, SRCAND);
        ::BitBlt(*dc, image.left, image.top, w, h, colorDC.get(), 0, 0, SRCPAINT);
        return;
    }
    const afx::unique_hdc workDC(::CreateCompatibleDC(*dc));
    const afx::unique_hbitmap work(::CreateCompatibleBitmap(*dc, w, h));
    if (!workDC || !work) return;
    {
        const auto workSelected = afx::SelectObject(workDC.get(), work.get());
        const RECT whole{0, 0, w, h};
        const afx::unique_hbrush white(::CreateSolidBrush(kWhite));
        ::FillRect(workDC.get(), &whole, white.get());
        const COLORREF previous = ::SetBkColor(workDC.get(), kWhite);
        ::BitBlt(workDC.get(), 0, 0, w, h, maskDC.get(), 0, 0, SRCAND);
        ::BitBlt(workDC.get(), 0, 0, w, h, colorDC.get(), 0, 0, SRCPAINT);
        ::SetBkColor(workDC.get(), previous);
    }
    ::DrawStateW(*dc, nullptr, nullptr, reinterpret_cast<LPARAM>(work.get()), 0, image.left, image.top, w, h,
                 DST_BITMAP | DSS_DISABLED);
}

void CButtonST::PaintCaption(CDC* dc, const std::wstring& text, RECT*, RECT* caption, bool pressed, bool disabled) {
    if (pressed && !isCheckBox) ::OffsetRect(caption, pushOffset.x, pushOffset.y);
    const RECT frame = *caption;
    RECT centred = *caption;
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    ::OffsetRect(&centred, (Width(frame) - Width(centred)) / 2, (Height(frame) - Height(centred)) / 2);
    ::SetBkMode(*dc, TRANSPARENT);
    if (disabled) {
        ::OffsetRect(&centred, 1, 1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK);
        ::OffsetRect(&centred, -1, -1);
        ::SetTextColor(*dc, ::GetSysColor(COLOR_BTNSHADOW));
    } else {
        const int face = FaceColorIndex();
        ::SetTextColor(*dc, colors[face + 1]);
        ::SetBkColor(*dc, colors[face]);
    }
    ::DrawTextW(*dc, text.c_str(), -1, &centred, DT_CENTER | DT_WORDBREAK);
}

void CButtonST::PaintParentBackground(CDC* dc) {
    const HWND parent = ::GetParent(m_hWnd);
    const afx::unique_window_dc parentDC = afx::GetDC(parent);
    if (!parentDC) return;
    RECT client{}, window{};
    GetClientRect(&client);
    ::GetWindowRect(m_hWnd, &window);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    if (bkDC.GetSafeHdc() == nullptr) {
        if (!bkDC.CreateCompatibleDC(parentDC.get().dc)) return;
        bkBitmap.CreateCompatibleBitmap(parentDC.get().dc, Width(client), Height(client));
        oldBkBitmap = ::SelectObject(bkDC, bkBitmap.GetSafeHandle());
        ::BitBlt(bkDC, 0, 0, Width(client), Height(client), parentDC.get().dc, window.left, window.top, SRCCOPY);
    }
    ::BitBlt(*dc, 0, 0, Width(client), Height(client), bkDC, 0, 0, SRCCOPY);
}
