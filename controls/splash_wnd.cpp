#include "controls/splash_wnd.h"

#include <ctime>

#include "afx/dc.h"
#include "afx/file_time.h"
#include "afx/module_state.h"
#include "afx/win_thread.h"

namespace {

CSplashWnd* g_currentSplash = nullptr;

std::int64_t NowSeconds() { return _time64(nullptr); }

// Milliseconds until the clock's seconds reach the deadline (at least 1).
DWORD MillisecondsUntil(std::int64_t deadline) {
    const std::int64_t left = deadline * 1000 - afx::UnixMillisecondsNow();
    return left > 1 ? static_cast<DWORD>(left) : 1;
}

void DispatchPendingMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace

bool CSplashWnd::ShowSplash(std::uint16_t bitmapId, CWnd* parent) {
    if (g_currentSplash != nullptr) return false;
    auto* splash = new CSplashWnd;
    g_currentSplash = splash;
    splash->m_shownAt = NowSeconds();

    splash->m_bitmap.reset(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCEW(bitmapId)));
    BITMAP info{};
    if (!splash->m_bitmap || ::GetObjectW(splash->m_bitmap.get(), sizeof(info), &info) == 0) {
        delete splash;
        return false;
    }
    const wchar_t* windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!splash->CreateEx(0, windowClass, nullptr, WS_POPUP | WS_VISIBLE, 0, 0, info.bmWidth, info.bmHeight,
                          parent != nullptr ? parent->m_hWnd : nullptr)) {
        // A window that was made and then failed has already deleted the object.
        if (g_currentSplash == splash) delete splash;
        return false;
    }
    splash->CenterWindow();
    splash->UpdateWindow();
    return true;
}

void CSplashWnd::HideSplash() {
    if (CSplashWnd* splash = g_currentSplash) {
        g_currentSplash = nullptr;
        splash->DestroyWindow();
    }
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->m_hWnd != nullptr) main->UpdateWindow();
}

void CSplashWnd::HideSplashAfter(std::int32_t seconds) {
    std::int64_t deadline = (g_currentSplash != nullptr ? g_currentSplash->m_shownAt : NowSeconds()) + seconds;
    if (NowSeconds() == deadline) ++deadline;
    while (NowSeconds() < deadline) {
        DispatchPendingMessages();
        // Sleep until a message arrives or the second changes.
        ::MsgWaitForMultipleObjectsEx(0, nullptr, MillisecondsUntil(deadline), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
    HideSplash();
}

CSplashWnd::~CSplashWnd() {
    if (g_currentSplash == this) g_currentSplash = nullptr;
}

const AFX_MSGMAP* CSplashWnd::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnWmPaint<&CSplashWnd::OnPaint>(),
        afx::OnWmTimer<&CSplashWnd::OnTimer>(),
    };
    static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CSplashWnd::GetMessageMap() const { return GetThisMessageMap(); }

void CSplashWnd::PostNcDestroy() { delete this; }

void CSplashWnd::OnPaint() {
    CPaintDC dc(m_hWnd);
    const afx::unique_hdc memory(::CreateCompatibleDC(dc.m_hDC));
    if (!memory) return;
    BITMAP info{};
    ::GetObjectW(m_bitmap.get(), sizeof(info), &info);
    const afx::unique_select_object selected = afx::SelectObject(memory.get(), m_bitmap.get());
    ::BitBlt(dc.m_hDC, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
}

void CSplashWnd::OnTimer(UINT_PTR) { HideSplash(); }
