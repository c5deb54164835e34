// CButtonST's behaviour: its messages (hover, focus, clicks, check state,
// styles, system colours), its settings, tooltip, menu, link, cursor and
// sounds, and its life (controls/button_st.h).
#include "controls/button_st.h"

#include <commctrl.h>
#include <mmsystem.h>

#include <cwchar>
#include <iterator>
#include <utility>

#include "afx/accessible.h"
#include "afx/dpi.h"
#include "afx/high_contrast.h"
#include "afx/module_state.h"
#include "afx/shell.h"
#include "afx/system_library.h"
#include "controls/detail/button_st_drawing.h"

namespace {

constexpr UINT_PTR kTooltipId = 1;
constexpr int kTooltipMaxWidth = 400;
constexpr DWORD kButtonTypeMask = 0x0F;
// The button types BS_CHECKBOX, BS_AUTOCHECKBOX and BS_AUTO3STATE share this
// bit, and so checkbox mode is taken from it alone (group boxes, push boxes
// and owner-draw types have it too; radio types and BS_3STATE do not).
constexpr DWORD kCheckBoxBit = 0x02;

// Loaded from the system folder at their first use (afx/system_library.h),
// so a program that uses the button imports neither library.
constinit const afx::SystemFunction<decltype(&::PlaySoundW)> kPlaySound{L"winmm.dll", "PlaySoundW"};
constinit const afx::SystemFunction<decltype(&::_TrackMouseEvent)> kTrackMouseEvent{L"comctl32.dll",
                                                                                    "_TrackMouseEvent"};

}  // namespace

CButtonST::CButtonST() {
    SetPushOffsetStyle(0, false);
    ResetColors(false);
    SetLinkTarget(nullptr);
}

CButtonST::~CButtonST() {
    CheckDeletionThread();
    afx::CAccessibleClient::Disconnect(m_accessible);
    ForgetBackground();
    ReleaseImages();
    cursor.reset();
    menu.DestroyMenu();
    // The tooltip goes with its member.
}

const AFX_MSGMAP* CButtonST::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnWmSetCursor<&CButtonST::OnSetCursor>(),
        afx::OnWmKillFocus<&CButtonST::OnKillFocus>(),
        afx::OnWmMouseMove<&CButtonST::OnMouseMove>(),
        afx::OnNotification<WM_SYSCOLORCHANGE, &CButtonST::OnSysColorChange>(),
        afx::OnMessage<WM_SETTINGCHANGE, &CButtonST::OnSettingChange>(),
        afx::OnMessage<WM_THEMECHANGED, &CButtonST::OnThemeChanged>(),
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
        afx::OnMessage<afx::kWmDpiChangedAfterParent, &CButtonST::OnDpiChangedAfterParent>(),
        afx::OnMessage<WM_GETOBJECT, &CButtonST::OnGetObject>(),
        afx::OnMessage<WM_SETTEXT, &CButtonST::OnSetText>(),
        afx::OnMessage<WM_NCDESTROY, &CButtonST::OnNcDestroy>(),
        afx::OnMessage<WM_SIZE, &CButtonST::OnSize>(),
    };
    static constexpr AFX_MSGMAP map{&CButton::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CButtonST::GetMessageMap() const { return GetThisMessageMap(); }

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
    // The tip is the name of a button without a caption.
    if (::GetWindowTextLengthW(m_hWnd) == 0) afx::CAccessibleClient::NotifyNameChange(m_hWnd);
}

std::wstring CButtonST::GetTooltipText() { return tooltip.GetText(this, kTooltipId); }

void CButtonST::SetLinkTarget(const wchar_t* target) {
    linkTarget[0] = L'\0';
    if (target != nullptr) ::wcsncpy_s(linkTarget, std::size(linkTarget), target, _TRUNCATE);
    afx::CAccessibleClient::NotifyValueChange(m_hWnd);
}

DWORD CButtonST::SetCheckState(int check, bool repaint) {
    if (isCheckBox) {
        checkState = check != 0 ? 1 : 0;
        Repaint(repaint);
        afx::CAccessibleClient::NotifyStateChange(m_hWnd);
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
    if (sound.id == nullptr) return;
    // Without the system's sound library the button is silent.
    if (const auto play = kPlaySound.get()) play(sound.id, sound.module, sound.flags);
}

void CButtonST::CancelHover() {
    if (isHover) {
        isHover = FALSE;
        Repaint(true);
        afx::CAccessibleClient::NotifyStateChange(m_hWnd);
    }
}

void CButtonST::PreSubclassWindow() {
    const DWORD style = GetStyle();
    if (style & kCheckBoxBit) isCheckBox = TRUE;
    if ((style & kButtonTypeMask) == BS_DEFPUSHBUTTON) isDefault = TRUE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~kButtonTypeMask) | BS_OWNERDRAW));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    FollowIconDpi(afx::GetWindowDpi(m_hWnd));
    m_highContrast = AfxIsHighContrast();
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
    // The classic standard style shows no hover; the theme's push button
    // does (where the last draw was themed: without a visual style the
    // themed look is the classic one).
    if (!isFlat && m_face.theme == nullptr) return;
    const HWND active = alwaysTrack ? m_hWnd : ::GetActiveWindow();
    if (under == m_hWnd && active != nullptr) {
        if (isHover) return;
        // A move handled late (queued behind a menu's loop) must not light a
        // button the pointer has left since: asked only on entering.
        if (!PointerIsOver()) return;
        isHover = TRUE;
        Repaint(true);
        afx::CAccessibleClient::NotifyStateChange(m_hWnd);
        Play(sounds[kHoverSound]);
        TrackLeave();
        return;
    }
    CancelHover();
}

// One leave notification is asked for with the structure 64-bit Windows
// documents as 24 bytes; sizeof gives each architecture its own.
#ifdef _WIN64
static_assert(sizeof(TRACKMOUSEEVENT) == 24);
#endif

void CButtonST::TrackLeave() {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, m_hWnd, 0};
    // comctl32's form passes the request on to the system's.
    if (const auto trackMouse = kTrackMouseEvent.get())
        trackMouse(&track);
    else
        ::TrackMouseEvent(&track);
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
    ForgetBackground();
    m_highContrast = AfxIsHighContrast();
    ResetColors(true);
}

LRESULT CButtonST::OnThemeChanged(WPARAM, LPARAM) {
    CloseTheme();
    Repaint(true);
    return Default();
}

LRESULT CButtonST::OnSettingChange(WPARAM, LPARAM) {
    // The focus border's width, font smoothing and high contrast are in the drawn frames.
    m_highContrast = AfxIsHighContrast();
    Repaint(true);
    return Default();
}

void CButtonST::ForgetBackground() { bkBitmap.DeleteObject(); }

LRESULT CButtonST::OnSize(WPARAM, LPARAM) {
    const LRESULT result = Default();
    ForgetBackground();
    tooltip.FitToolToClient(this, kTooltipId);
    return result;
}

LRESULT CButtonST::OnNcDestroy(WPARAM, LPARAM) {
    afx::CAccessibleClient::Disconnect(m_accessible);
    if (tooltip.m_hWnd != nullptr) tooltip.DestroyWindow();
    ForgetBackground();
    CloseTheme();
    m_drawing.reset();
    m_dpi = 0;
    m_hideAccel = m_highContrast = false;
    isHover = isPressed = isDefault = isCheckBox = menuShown = FALSE;
    hasFocus = isDisabled = 0;
    checkState = 0;
    return Default();
}

BOOL CButtonST::OnClicked() {
    ::SetFocus(m_hWnd);
    Play(sounds[kClickSound]);
    if (isCheckBox) {
        checkState = checkState == 0 ? 1 : 0;
        Repaint(true);
        afx::CAccessibleClient::NotifyStateChange(m_hWnd);
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
    afx::CAccessibleClient::NotifyStateChange(m_hWnd);
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
    const BOOL wasDefault = isDefault;
    if (type == BS_DEFPUSHBUTTON) isDefault = TRUE;
    if (type == BS_PUSHBUTTON) isDefault = FALSE;
    const LRESULT result =
        DefWindowProc(BM_SETSTYLE, (style & ~static_cast<WPARAM>(kButtonTypeMask)) | BS_OWNERDRAW, redraw);
    if (isDefault != wasDefault) afx::CAccessibleClient::NotifyStateChange(m_hWnd);
    return result;
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
