#include "controls/hyper_link.h"

#include <cwchar>
#include <iterator>
#include <utility>

#include "afx/accessible.h"
#include "afx/dpi.h"
#include "afx/high_contrast.h"
#include "afx/shell.h"
#include "afx/win_app.h"

namespace {

constexpr UINT_PTR kToolId = 1;
constexpr int kWinHelpLinkCursor = 106;
constexpr wchar_t kWinHelpFileName[] = L"\\winhlp32.exe";
constexpr wchar_t kOpenErrorPrefix[] = L"Unable to open hyperlink:\n\n";

struct OpenError {
    INT_PTR code;
    const wchar_t* text;
};
constexpr OpenError kOpenErrors[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {SE_ERR_FNF, L"The specified file was not found."},
    {SE_ERR_PNF, L"The specified path was not found."},
    {SE_ERR_ACCESSDENIED, L"The operating system denied\naccess to the specified file."},
    {SE_ERR_OOM, L"There was not enough memory to complete the operation."},
    {ERROR_BAD_FORMAT, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {SE_ERR_SHARE, L"A sharing violation occurred. "},
    {SE_ERR_ASSOCINCOMPLETE, L"The filename association is\nincomplete or invalid."},
    {SE_ERR_DDETIMEOUT, L"The DDE transaction could not\nbe completed because the request timed out."},
    {SE_ERR_DDEFAIL, L"The DDE transaction failed."},
    {SE_ERR_DDEBUSY,
     L"The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {SE_ERR_NOASSOC, L"There is no application associated\nwith the given filename extension."},
    {SE_ERR_DLLNOTFOUND, L"The specified dynamic-link library was not found."},
};

}  // namespace

CHyperLink::CHyperLink() : m_hoverColor(::GetSysColor(COLOR_HIGHLIGHT)) {}

// The font and cursor go with their owners; the tooltip with its member.
CHyperLink::~CHyperLink() {
    CheckDeletionThread();
    afx::CAccessibleClient::Disconnect(m_accessible);
}

const AFX_MSGMAP* CHyperLink::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnReflectedControl<STN_CLICKED, &CHyperLink::OnLinkClicked>(),
        afx::OnReflectedCtlColor<&CHyperLink::CtlColor>(),
        afx::OnWmSetCursor<&CHyperLink::OnSetCursor>(),
        afx::OnWmMouseMove<&CHyperLink::OnMouseMove>(),
        afx::OnWmCaptureChanged<&CHyperLink::OnCaptureChanged>(),
        afx::OnMessage<WM_SETFONT, &CHyperLink::OnSetFont>(),
        afx::OnMessage<afx::kWmDpiChangedAfterParent, &CHyperLink::OnDpiChangedAfterParent>(),
        afx::OnMessage<WM_GETDLGCODE, &CHyperLink::OnGetDlgCode>(),
        afx::OnMessage<WM_KEYDOWN, &CHyperLink::OnKeyDown>(),
        afx::OnMessage<WM_SETFOCUS, &CHyperLink::OnFocusOrCuesChanged>(),
        afx::OnMessage<WM_KILLFOCUS, &CHyperLink::OnFocusOrCuesChanged>(),
        afx::OnMessage<WM_UPDATEUISTATE, &CHyperLink::OnFocusOrCuesChanged>(),
        afx::OnMessage<WM_PAINT, &CHyperLink::OnPaint>(),
        afx::OnMessage<WM_GETOBJECT, &CHyperLink::OnGetObject>(),
        afx::OnMessage<WM_SYSCOLORCHANGE, &CHyperLink::OnColorsOrSettingsChanged>(),
        afx::OnMessage<WM_SETTINGCHANGE, &CHyperLink::OnColorsOrSettingsChanged>(),
        afx::OnMessage<WM_NCDESTROY, &CHyperLink::OnNcDestroy>(),
    };
    static constexpr AFX_MSGMAP map{&CStatic::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CHyperLink::GetMessageMap() const { return GetThisMessageMap(); }

void CHyperLink::SetColors(COLORREF link, COLORREF visited, COLORREF hover) {
    m_linkColor = link;
    m_visitedColor = visited;
    m_hoverColor = hover;
}

void CHyperLink::PreSubclassWindow() {
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(GetStyle() | SS_NOTIFY | WS_TABSTOP));
    if (const std::wstring text = GetWindowText(); m_target.empty()) {
        m_target = text;
    } else if (text.empty()) {
        SetWindowText(m_target);
    }

    m_highContrast = AfxIsHighContrast();
    m_dpi = afx::GetWindowDpi(m_hWnd);
    m_font = MakeLinkFont(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), m_dpi, m_dpi);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);

    FitToText();
    LoadLinkCursor();

    RECT client{};
    GetClientRect(&client);
    m_tooltip.Create(this);
    m_tooltip.AddTool(this, m_target.c_str(), client, kToolId);
    CStatic::PreSubclassWindow();
}

std::wstring CHyperLink::GetTooltipText() { return m_tooltip.GetText(this, kToolId); }

BOOL CHyperLink::PreTranslateMessage(MSG* msg) {
    if (m_tooltip.m_hWnd != nullptr) m_tooltip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::FitToText() {
    if (m_hWnd == nullptr || !m_fitToText) return;
    RECT rect{};
    ::GetWindowRect(m_hWnd, &rect);
    if (HWND parent = ::GetParent(m_hWnd); parent != nullptr)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);

    const std::wstring text = GetWindowText();
    SIZE extent{};
    {
        const afx::unique_window_dc dc = afx::GetDC(m_hWnd);
        const auto selected = afx::SelectObject(dc.get().dc, m_font.get());
        ::GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE) {
        ::InflateRect(&rect, 0, -((rect.bottom - rect.top) - extent.cy) / 2);
    } else {
        rect.bottom = rect.top + extent.cy;
    }
    if (style & SS_CENTER) {
        ::InflateRect(&rect, -((rect.right - rect.left) - extent.cx) / 2, 0);
    } else if (style & SS_RIGHT) {
        rect.left = rect.right - extent.cx;
    } else {
        rect.right = rect.left + extent.cx;
    }
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);
}

afx::unique_hfont CHyperLink::MakeLinkFont(HFONT base, UINT fromDpi, UINT toDpi) const {
    // A window without a font of its own draws with the system font.
    LOGFONTW description{};
    ::GetObjectW(base != nullptr ? base : ::GetStockObject(SYSTEM_FONT), sizeof(description), &description);
    description.lfUnderline = static_cast<BYTE>(m_underline ? TRUE : FALSE);
    description.lfHeight = ::MulDiv(description.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    return afx::unique_hfont(::CreateFontIndirectW(&description));
}

void CHyperLink::UseLinkFont(afx::unique_hfont font) {
    if (!font) return;
    DefWindowProc(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    m_font = std::move(font);  // the window no longer shows the old one
    FitToText();
    m_tooltip.FitToolToClient(this, kToolId);
}

LRESULT CHyperLink::OnSetFont(WPARAM font, LPARAM redraw) {
    if (reinterpret_cast<HFONT>(font) == m_font.get()) return DefWindowProc(WM_SETFONT, font, redraw);
    // A link made with CreateEx is not attached through PreSubclassWindow:
    // its DPI (and high contrast) are first needed when its first font comes.
    if (m_dpi == 0) {
        m_dpi = afx::GetWindowDpi(m_hWnd);
        m_highContrast = AfxIsHighContrast();
    }
    UseLinkFont(MakeLinkFont(reinterpret_cast<HFONT>(font), m_dpi, m_dpi));
    return 0;
}

LRESULT CHyperLink::OnDpiChangedAfterParent(WPARAM, LPARAM) {
    const UINT dpi = afx::GetWindowDpi(m_hWnd);
    if (dpi != m_dpi && m_dpi != 0) UseLinkFont(MakeLinkFont(m_font.get(), m_dpi, dpi));
    m_dpi = dpi;
    return 0;
}

void CHyperLink::LoadLinkCursor() {
    if (m_cursor) return;
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(folder, static_cast<UINT>(std::size(folder)));
    if (length == 0 || length >= std::size(folder)) return;
    const std::wstring path = std::wstring(folder) + kWinHelpFileName;
    const afx::unique_hmodule module(::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) return;
    // The copy outlives the module the cursor came from.
    if (HCURSOR cursor = ::LoadCursorW(module.get(), MAKEINTRESOURCEW(kWinHelpLinkCursor)); cursor != nullptr)
        m_cursor.reset(static_cast<HCURSOR>(::CopyIcon(cursor)));
}

COLORREF CHyperLink::TextColor() const {
    if (m_highContrast) return ::GetSysColor(COLOR_HOTLIGHT);
    return m_over ? m_hoverColor : m_visited ? m_visitedColor : m_linkColor;
}

HBRUSH CHyperLink::CtlColor(HDC dc, UINT) {
    ::SetTextColor(dc, TextColor());
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CHyperLink::OnSetCursor(HWND, UINT, UINT) {
    if (!m_cursor) return FALSE;
    ::SetCursor(m_cursor.get());
    return TRUE;
}

void CHyperLink::Redraw() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CHyperLink::OnMouseMove(UINT, POINT point) {
    Default();
    if (!m_over) {
        m_over = TRUE;
        Redraw();
        afx::CAccessibleClient::NotifyStateChange(m_hWnd);
        ::SetCapture(m_hWnd);
        return;
    }
    RECT client{};
    GetClientRect(&client);
    if (!::PtInRect(&client, point)) EndHover();
}

void CHyperLink::OnCaptureChanged(HWND newCapture) {
    // The hover look lasts only as long as the capture that will see the
    // pointer leave: a menu or another window taking it (or the user
    // clicking elsewhere) ends the hover here.
    if (newCapture != m_hWnd) EndHover();
}

void CHyperLink::EndHover() {
    if (!m_over) return;
    m_over = FALSE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    Redraw();
    afx::CAccessibleClient::NotifyStateChange(m_hWnd);
}

INT_PTR CHyperLink::OpenTarget(const std::wstring& target, int showCommand) const {
    return reinterpret_cast<INT_PTR>(AfxShellExecute(nullptr, L"open", target.c_str(), nullptr, nullptr, showCommand));
}

std::wstring CHyperLink::OpenErrorText(INT_PTR code) {
    for (const OpenError& error : kOpenErrors)
        if (error.code == code) return kOpenErrorPrefix + std::wstring(error.text);
    return kOpenErrorPrefix + (L"Unknown Error (" + std::to_wstring(static_cast<int>(code)) + L") occurred.");
}

void CHyperLink::ShowOpenError(INT_PTR code) { AfxMessageBox(OpenErrorText(code), MB_ICONEXCLAMATION | MB_OK); }

void CHyperLink::SetTarget(std::wstring target) {
    m_target = std::move(target);
    afx::CAccessibleClient::NotifyValueChange(m_hWnd);
}

void CHyperLink::MarkVisited(bool visited) {
    const BOOL was = std::exchange(m_visited, BOOL{visited});
    if (m_hWnd == nullptr) return;
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (was != m_visited) afx::CAccessibleClient::NotifyStateChange(m_hWnd);
}

BOOL CHyperLink::OnLinkClicked() {
    const INT_PTR result = OpenTarget(m_target, SW_SHOW);
    // A target that did not open leaves the link unvisited.
    MarkVisited(static_cast<int>(result) > 32);
    if (!m_visited) {
        // The box takes the user's attention (and the next click, which
        // the capture would otherwise bring here): the link is no longer
        // hovered, and shows its link colour.
        EndHover();
        ::MessageBeep(MB_ICONEXCLAMATION);
        ShowOpenError(result);
    }
    return TRUE;
}

bool CHyperLink::ShowsFocus() const {
    return ::GetFocus() == m_hWnd &&
           (m_highContrast || !(::SendMessageW(m_hWnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS));
}

LRESULT CHyperLink::OnColorsOrSettingsChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    m_highContrast = AfxIsHighContrast();
    Redraw();
    return result;
}

LRESULT CHyperLink::OnGetDlgCode(WPARAM, LPARAM message) {
    const auto* msg = reinterpret_cast<const MSG*>(message);
    const bool opens =
        msg != nullptr && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE);
    // Not a plain static any more: the dialog manager gives it the focus
    // by Tab, and these two keys.
    return opens ? DLGC_WANTMESSAGE : 0;
}

LRESULT CHyperLink::OnKeyDown(WPARAM key, LPARAM flags) {
    if (key == VK_RETURN || key == VK_SPACE) {
        // Once per press: a key held down repeats its WM_KEYDOWN (bit 30 set,
        // the key was down already), and a disabled link opens nothing.
        constexpr LPARAM kWasDown = 1 << 30;
        if ((flags & kWasDown) == 0 && ::IsWindowEnabled(m_hWnd)) OnLinkClicked();
        return 0;
    }
    return Default();
}

LRESULT CHyperLink::OnFocusOrCuesChanged(WPARAM, LPARAM) {
    const LRESULT result = Default();
    // The text is drawn over what lies behind it: the parent draws that
    // again first, or an old focus rectangle would stay.
    if (const HWND parent = ::GetParent(m_hWnd); parent != nullptr) {
        RECT area{};
        ::GetWindowRect(m_hWnd, &area);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
        ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return result;
}

LRESULT CHyperLink::OnPaint(WPARAM, LPARAM) {
    const LRESULT result = Default();
    if (!ShowsFocus()) return result;
    // A dotted frame in the text's colour, drawn alike however often the
    // text is (the system's focus rectangle inverts what is under it).
    RECT client{};
    GetClientRect(&client);
    const afx::unique_window_dc dc = afx::GetDC(m_hWnd);
    const COLORREF color = TextColor();
    for (LONG x = client.left; x < client.right; x += 2) {
        ::SetPixel(dc.get().dc, x, client.top, color);
        ::SetPixel(dc.get().dc, x, client.bottom - 1, color);
    }
    for (LONG y = client.top; y < client.bottom; y += 2) {
        ::SetPixel(dc.get().dc, client.left, y, color);
        ::SetPixel(dc.get().dc, client.right - 1, y, color);
    }
    return result;
}

namespace {

constexpr wchar_t kJump[] = L"Jump";  // what the system calls following a link

class LinkFacts final : public afx::AccessibleFacts {
public:
    explicit LinkFacts(CHyperLink& link) : m_link(link) {}
    long AccessibleRole() const override { return ROLE_SYSTEM_LINK; }
    long AccessibleState() const override {
        return STATE_SYSTEM_LINKED | (m_link.IsVisited() ? STATE_SYSTEM_TRAVERSED : 0) |
               (m_link.IsPointerOver() ? STATE_SYSTEM_HOTTRACKED : 0);
    }
    std::wstring AccessibleName() const override { return m_link.GetWindowText(); }
    std::wstring AccessibleValue() const override { return m_link.GetTarget(); }
    std::wstring AccessibleDefaultAction() const override { return kJump; }
    // Enter, as the keyboard opens it.
    void DoAccessibleDefaultAction() override { ::PostMessageW(m_link.m_hWnd, WM_KEYDOWN, VK_RETURN, 0); }

private:
    CHyperLink& m_link;
};

}  // namespace

LRESULT CHyperLink::OnGetObject(WPARAM wParam, LPARAM objectId) {
    const LRESULT answer = afx::CAccessibleClient::Answer(
        m_accessible, m_hWnd, [this] { return std::make_unique<LinkFacts>(*this); }, wParam, objectId);
    return answer != 0 ? answer : Default();
}

LRESULT CHyperLink::OnNcDestroy(WPARAM, LPARAM) {
    afx::CAccessibleClient::Disconnect(m_accessible);
    if (m_tooltip.m_hWnd != nullptr) m_tooltip.DestroyWindow();
    const LRESULT result = Default();
    m_font.reset();  // shown by no window now
    m_dpi = 0;
    m_over = FALSE;
    m_highContrast = false;
    return result;
}
