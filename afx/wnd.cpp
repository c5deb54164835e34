#include "afx/wnd.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "afx/exception_barrier.h"
#include "afx/handles.h"
#include "afx/module_state.h"
#include "afx/srw_lock.h"
#include "afx/wait_cursor.h"
#include "afx/win_thread.h"

namespace {

// Which object each window of the process belongs to, and the thread that
// owns the window. Lookups answer only for windows of the calling thread (a
// window's messages all arrive there, and only that thread may change the
// entry). A window whose object let go of it while a procedure put on after
// ours still calls ours keeps an entry without an object: the procedure
// ours passes its messages on to, until the window is destroyed.
// Made once and never freed: windows are still torn down while the process
// ends, after static objects may be gone.
class HandleMap {
public:
    struct Found {
        CWnd* wnd;
        WNDPROC passThrough;
    };
    Found Find(HWND hwnd) {
        const afx::SrwLockScope held(m_lock, afx::SrwLockScope::Access::Shared);
        const auto it = m_entries.find(hwnd);
        if (it == m_entries.end() || it->second.thread != ::GetCurrentThreadId()) return {};
        return {it->second.wnd, it->second.passThrough};
    }
    // False when the window already has an entry.
    bool Add(HWND hwnd, CWnd* wnd) {
        const afx::SrwLockScope held(m_lock, afx::SrwLockScope::Access::Exclusive);
        return m_entries.try_emplace(hwnd, Entry{wnd, ::GetCurrentThreadId(), nullptr}).second;
    }
    // Takes the window's entry out if it is wnd's, or leaves it as a
    // pass-through to that procedure.
    void Remove(HWND hwnd, const CWnd* wnd, WNDPROC passThrough = nullptr) {
        const afx::SrwLockScope held(m_lock, afx::SrwLockScope::Access::Exclusive);
        const auto it = m_entries.find(hwnd);
        if (it == m_entries.end() || it->second.wnd != wnd) return;
        if (passThrough != nullptr) {
            it->second = Entry{nullptr, it->second.thread, passThrough};
        } else {
            m_entries.erase(it);
        }
    }

private:
    struct Entry {
        CWnd* wnd;
        DWORD thread;
        WNDPROC passThrough;
    };
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::unordered_map<HWND, Entry> m_entries;
};

HandleMap& TheHandleMap() {
    static HandleMap* const map = new HandleMap;
    return *map;
}

// Whether the calling thread made the window (false for no window).
bool IsOwnWindow(HWND hwnd) {
    return hwnd != nullptr && ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId();
}

// The message now being handled, for Default().
struct CurrentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
thread_local CurrentMessage t_current;

thread_local CWnd* t_pendingCreate = nullptr;

// WM_CTLCOLORMSGBOX ... WM_CTLCOLORSTATIC, in the order of the CTLCOLOR_ kinds.
bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }
thread_local HHOOK t_createHook = nullptr;

// A message for every descendant of a window (SendMessageToDescendants).
struct DescendantMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// EnumChildWindows' callback: sends the message to one descendant. A named
// CALLBACK function, not a lambda: only x64 has a single calling convention
// that a lambda's conversion would match.
BOOL CALLBACK SendToDescendant(HWND child, LPARAM data) noexcept {
    return AfxCallGuarded(TRUE, [&] {
        const auto* what = reinterpret_cast<const DescendantMessage*>(data);
        ::SendMessageW(child, what->message, what->wParam, what->lParam);
        return TRUE;
    });
}

void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    // EnumChildWindows visits children's children too; given no window it
    // would visit every top-level window of the desktop.
    if (parent == nullptr) return;
    const DescendantMessage sent{message, wParam, lParam};
    ::EnumChildWindows(parent, &SendToDescendant, reinterpret_cast<LPARAM>(&sent));
}

// The window's thread may be in one of the object's handlers at this very
// moment and would go on with freed memory: a programmer's error, stopped
// where it happens rather than where it does harm.
[[noreturn]] void StopDeletionOnAnotherThread(HWND hwnd) noexcept {
    char text[256];
    std::snprintf(text, sizeof text,
                  "afx: a CWnd was deleted on thread %lu while its window %p belongs to thread %lu; a window's "
                  "object may be deleted only on its window's thread (afx/wnd.h)\n",
                  ::GetCurrentThreadId(), static_cast<void*>(hwnd), ::GetWindowThreadProcessId(hwnd, nullptr));
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
    std::fflush(stderr);
    std::abort();
}

}  // namespace

void CWnd::CheckDeletionThread() const noexcept {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && !IsOwnWindow(m_hWnd)) StopDeletionOnAnotherThread(m_hWnd);
}

CWnd::~CWnd() {
    if (m_hWnd == nullptr) return;
    CheckDeletionThread();
    if (FromHandlePermanent(m_hWnd) == this) ::DestroyWindow(m_hWnd);
    // A window that outlives its object (its destruction was refused) goes
    // back to its own procedure, and no entry is left pointing at a dead
    // object.
    if (m_hWnd != nullptr) UnsubclassWindow();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{&CCmdTarget::GetThisMessageMap, {}};
    return &map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd* CWnd::FromHandlePermanent(HWND hwnd) { return hwnd != nullptr ? TheHandleMap().Find(hwnd).wnd : nullptr; }

bool CWnd::Attach(HWND hwnd) {
    if (m_hWnd != nullptr || !IsOwnWindow(hwnd) || !TheHandleMap().Add(hwnd, this)) return false;
    m_hWnd = hwnd;
    return true;
}

HWND CWnd::Detach() {
    if (m_hWnd == nullptr) return nullptr;
    // Another thread's window may be dispatching one of the object's
    // messages right now.
    const bool alive = ::IsWindow(m_hWnd) != FALSE;
    if (alive && !IsOwnWindow(m_hWnd)) return nullptr;
    const HWND hwnd = std::exchange(m_hWnd, nullptr);
    const WNDPROC super = std::exchange(m_pfnSuper, nullptr);
    // Our procedure, still in a living window's chain, passes its messages on.
    TheHandleMap().Remove(hwnd, this, alive ? super : nullptr);
    return hwnd;
}

bool CWnd::AttachSubclassed(HWND hwnd) {
    // A window without a map entry would route its messages nowhere.
    if (!Attach(hwnd)) return false;
    const auto previous = ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc));
    m_pfnSuper = reinterpret_cast<WNDPROC>(previous);
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    // Another thread's window would bring its messages to a thread whose
    // objects this one does not know.
    if (!IsOwnWindow(hwnd) || m_hWnd != nullptr) return false;
    // Taken, or our procedure is still in its chain from an earlier object.
    if (const auto [wnd, passThrough] = TheHandleMap().Find(hwnd); wnd != nullptr || passThrough != nullptr)
        return false;
    m_hWnd = hwnd;  // so PreSubclassWindow can work on the window
    try {
        PreSubclassWindow();
    } catch (...) {
        m_hWnd = nullptr;  // a refused attachment leaves the object as it was
        throw;
    }
    m_hWnd = nullptr;
    return AttachSubclassed(hwnd);
}

bool CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    return parent != nullptr && SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
    // Our procedure is taken out only when it is the window's current one:
    // one put over it later calls ours, which then passes every message on
    // to the window's own (Detach).
    if (IsOwnWindow(m_hWnd) && m_pfnSuper != nullptr &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == &AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(std::exchange(m_pfnSuper, nullptr)));
    return Detach();
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, void* param) {
    // One object, one window: a second window would be leaked by the first.
    if (m_hWnd != nullptr) return false;
    AfxHookWindowCreate(this);
    HWND hwnd = ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menu,
                                  AfxGetInstanceHandle(), param);
    AfxUnhookWindowCreate();
    return AfxCheckCreated(this, hwnd);
}

bool CWnd::DestroyWindow() { return IsOwnWindow(m_hWnd) && ::DestroyWindow(m_hWnd) != FALSE; }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const {
    SendToDescendants(m_hWnd, message, wParam, lParam);
}

void CWnd::DoDataExchange(CDataExchange*) {}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

bool CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
    for (HWND hwnd = msg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = FromHandlePermanent(hwnd); wnd != nullptr && wnd->PreTranslateMessage(msg)) return true;
        if (hwnd == stop) break;
    }
    return false;
}

HWND CWnd::GetSafeOwner(CWnd* parent) {
    HWND owner = parent != nullptr ? parent->m_hWnd : nullptr;
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        owner = main != nullptr ? main->m_hWnd : nullptr;
    }
    while (owner != nullptr && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    if (owner != nullptr && !::IsWindow(owner)) owner = nullptr;
    if (owner != nullptr) owner = ::GetLastActivePopup(owner);
    return owner;
}

std::wstring CWnd::GetWindowText() const { return AfxGetWindowText(m_hWnd); }

std::wstring AfxGetWindowText(HWND hwnd) {
    // Most texts fit a small buffer: one message instead of two.
    wchar_t small[256];
    const int got = ::GetWindowTextW(hwnd, small, static_cast<int>(std::size(small)));
    if (got >= 0 && got < static_cast<int>(std::size(small)) - 1)
        return std::wstring(small, static_cast<std::size_t>(got));
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::CenterWindow(HWND alternateOwner) {
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    HWND owner = alternateOwner != nullptr ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) owner = ::GetParent(m_hWnd);
    RECT area{};
    if (owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner)) {
        ::GetWindowRect(owner, &area);
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    POINT topLeft{area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
    if (GetStyle() & WS_CHILD) ::ScreenToClient(owner, &topLeft);
    ::SetWindowPos(m_hWnd, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::MessageBox(const std::wstring& text, const wchar_t* caption, UINT type) const {
    std::wstring title = caption != nullptr ? std::wstring(caption) : std::wstring();
    if (caption == nullptr) title = AfxGetAppName();
    return ::MessageBoxW(m_hWnd, text.c_str(), title.c_str(), type);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The system tells only top-level windows that its colours or settings
    // changed; their controls, which cache colours, brushes and drawings,
    // hear it from them. The handler may destroy the window, and this
    // object with it: the window is taken first, and only a window that
    // lives on passes it on.
    const bool told = message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE;
    const HWND passesOn = told && !(GetStyle() & WS_CHILD) ? m_hWnd : nullptr;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    if (passesOn != nullptr && IsOwnWindow(passesOn)) SendToDescendants(passesOn, message, wParam, lParam);
    return result;
}

bool CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (IsCtlColorMessage(message) &&
        ReflectChildNotify(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result))
        return true;
    switch (message) {
        case WM_COMMAND:
            if (!OnCommand(wParam, lParam)) return false;
            *result = 0;
            return true;
        case WM_NOTIFY: return OnNotify(wParam, lParam, result);
        case WM_DRAWITEM: {
            const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (draw != nullptr && draw->CtlType != ODT_MENU &&
                ReflectChildNotify(draw->hwndItem, message, wParam, lParam, result))
                return true;
            break;
        }
        case WM_SETCURSOR:
            // Keep the hourglass while the application is busy, whatever the
            // window under the mouse would show.
            if (AfxIsWaitCursorShown()) {
                AfxDoWaitCursor(0);
                *result = TRUE;
                return true;
            }
            break;
        default: break;
    }
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0))
        return entry->thunk(*this, wParam, lParam, *result);
    return false;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam); }

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control != nullptr) {
        LRESULT ignored = 0;
        if (ReflectChildNotify(control, WM_COMMAND, wParam, lParam, &ignored)) return true;
    }
    // Menus and accelerators send codes 0 and 1; both are plain commands.
    const UINT code = control != nullptr ? HIWORD(wParam) : 0;
    return OnCmdMsg(LOWORD(wParam), code);
}

bool CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr) return false;
    if (ReflectChildNotify(header->hwndFrom, WM_NOTIFY, 0, lParam, result)) return true;
    if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom)))
        return entry->thunk(*this, static_cast<WPARAM>(header->idFrom), lParam, *result);
    return false;
}

bool CWnd::ReflectChildNotify(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    CWnd* wnd = FromHandlePermanent(child);
    return wnd != nullptr && wnd->OnChildNotify(message, wParam, lParam, result);
}

bool CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    UINT reflected = 0;
    UINT code = 0;
    LPARAM l = lParam;
    if (IsCtlColorMessage(message)) {
        reflected = WM_REFLECT_BASE + WM_CTLCOLOR_ANY;
        l = static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX);  // CTLCOLOR_MSGBOX ... CTLCOLOR_STATIC
    } else if (message == WM_COMMAND) {
        reflected = WM_REFLECT_BASE + WM_COMMAND;
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        reflected = WM_REFLECT_BASE + WM_NOTIFY;
        code = reinterpret_cast<const NMHDR*>(lParam)->code;
    } else if (message == WM_DRAWITEM) {
        reflected = WM_REFLECT_BASE + WM_DRAWITEM;
    } else {
        return false;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(reflected, code, 0);
    if (entry == nullptr) return false;
    LRESULT local = 0;
    const bool consumed = entry->thunk(*this, wParam, l, local);
    if (consumed) *result = local;
    return consumed;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

void CWnd::FinishNcDestroy() {
    // The window's last message: nothing of it stays in the map.
    TheHandleMap().Remove(std::exchange(m_hWnd, nullptr), this);
    m_pfnSuper = nullptr;
    PostNcDestroy();
}

LRESULT CALLBACK AfxWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto [wnd, passThrough] = TheHandleMap().Find(hwnd);
    if (wnd == nullptr) {
        // Our procedure under another's, its object gone: it only passes on.
        if (passThrough == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
        const LRESULT result = ::CallWindowProcW(passThrough, hwnd, message, wParam, lParam);
        if (message == WM_NCDESTROY) TheHandleMap().Remove(hwnd, nullptr);
        return result;
    }

    const CurrentMessage saved = t_current;
    t_current = {hwnd, message, wParam, lParam};
    // When the handler fails, the window is left in a state it can go on
    // from before the error is reported: a paint that failed is validated,
    // or the report's own loop would ask for it again at once.
    const LRESULT failed = message == WM_CREATE ? -1 : 0;
    const LRESULT result = AfxCallGuarded(
        failed, [&] { return wnd->WindowProc(message, wParam, lParam); },
        [&]() noexcept {
            if (message == WM_PAINT) ::ValidateRect(hwnd, nullptr);
        });
    t_current = saved;
    // Whatever the handler did, a dead window leaves the map, or a handle
    // the system hands out again would reach this object.
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) wnd->FinishNcDestroy();
    return result;
}

namespace {

// The system may make the thread's default input-method window while it
// creates the first window of the thread; that one is not the window asked for.
bool IsInputMethodWindow(HWND hwnd) {
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, 32);
    return ::lstrcmpiW(name, L"IME") == 0 || ::lstrcmpiW(name, L"MSCTFIME UI") == 0;
}

}  // namespace

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && t_pendingCreate != nullptr) {
        const HWND hwnd = reinterpret_cast<HWND>(wParam);
        if (!IsInputMethodWindow(hwnd)) {
            CWnd* wnd = std::exchange(t_pendingCreate, nullptr);
            AfxCallGuarded([&] { wnd->AttachSubclassed(hwnd); });
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool AfxCheckCreated(CWnd* wnd, HWND created) {
    if (created == nullptr) return false;
    if (wnd->m_hWnd == created) return true;
    // Made, but not routed to the object (it was refused a map entry): a
    // window nobody would ever destroy.
    if (CWnd::FromHandlePermanent(created) == nullptr) ::DestroyWindow(created);
    return false;
}

void AfxHookWindowCreate(CWnd* wnd) {
    if (t_createHook == nullptr)
        t_createHook = ::SetWindowsHookExW(WH_CBT, &AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    t_pendingCreate = wnd;
}

bool AfxUnhookWindowCreate() {
    afx::unique_hhook(std::exchange(t_createHook, nullptr)).reset();
    return std::exchange(t_pendingCreate, nullptr) == nullptr;
}

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    // One class per combination, for the whole process (window classes are
    // the module's, not a thread's); the names live as long as the process.
    static std::map<std::wstring, bool> registered;
    static SRWLOCK lock = SRWLOCK_INIT;
    const afx::SrwLockScope held(lock, afx::SrwLockScope::Access::Exclusive);
    wchar_t name[96];
    std::swprintf(name, 96, L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), classStyle,
                  static_cast<void*>(cursor), static_cast<void*>(background), static_cast<void*>(icon));
    auto [it, inserted] = registered.try_emplace(name, false);
    if (inserted) {
        WNDCLASSW wc{};
        wc.style = classStyle;
        wc.lpfnWndProc = &::DefWindowProcW;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = it->first.c_str();
        it->second = ::RegisterClassW(&wc) != 0;
    }
    return it->first.c_str();
}
