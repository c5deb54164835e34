// The splash window on the test program's own 500 x 300 picture (bitmap 600
// in test_resources.rc: a one-pixel red frame around blue).
#include "controls/splash_wnd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr std::uint16_t kSplashBitmap = 600;
constexpr std::uint16_t kNoSuchBitmap = 601;
constexpr int kBitmapWidth = 500;
constexpr int kBitmapHeight = 300;
// How soon after its deadline a wait counts as ended "at" it.
constexpr std::int64_t kPromptlyMs = 50;

std::int64_t NowMs() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const auto units = (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (units - 116444736000000000LL) / 10000;  // from 1601 to 1970, in 100 ns units
}

std::int64_t SecondOf(std::int64_t ms) { return ms / 1000; }

// Sleeps, if need be, into the first fifth of a second, so the steps that
// follow happen in one second of the clock; returns that second.
std::int64_t StartEarlyInASecond() {
    for (;;) {
        const std::int64_t now = NowMs();
        if (now % 1000 < 200) return SecondOf(now);
        ::Sleep(static_cast<DWORD>(1000 - now % 1000 + 10));
    }
}

void SleepUntil(std::int64_t ms) {
    while (NowMs() < ms) ::Sleep(static_cast<DWORD>(std::max<std::int64_t>(1, ms - NowMs())));
}

void ExpectEndedAtTheStartOf(std::int64_t second, std::int64_t endedMs) {
    EXPECT_GE(endedMs, second * 1000) << "ended before the second began";
    EXPECT_LT(endedMs, second * 1000 + kPromptlyMs) << "ended " << endedMs - second * 1000 << " ms late";
}

std::int64_t ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto units = [](const FILETIME& t) {
        return (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return (units(kernel) + units(user)) / 10000;
}

void DispatchPending() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM found) noexcept {
    if (::IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindowsOfThisThread() {
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

constexpr UINT kPing = WM_APP + 1;
std::atomic<std::int64_t> g_pingDispatchedAt{0};

LRESULT CALLBACK PingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == kPing) {
        g_pingDispatchedAt = NowMs();
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

HWND CreatePingWindow() {
    static const ATOM windowClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = PingWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VornixSplashTestPing";
        return ::RegisterClassW(&wc);
    }();
    return ::CreateWindowExW(0, MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class SplashWindow : public ::testing::Test {
protected:
    void SetUp() override { before_ = VisibleWindowsOfThisThread(); }
    void TearDown() override {
        CSplashWnd::HideSplash();
        DispatchPending();
    }

    // The visible top-level windows the test has added to the thread.
    std::vector<HWND> SplashWindows() const {
        std::vector<HWND> windows = VisibleWindowsOfThisThread();
        std::erase_if(windows, [&](HWND w) { return std::find(before_.begin(), before_.end(), w) != before_.end(); });
        return windows;
    }

    HWND TheSplash() const {
        const std::vector<HWND> windows = SplashWindows();
        return windows.size() == 1 ? windows.front() : nullptr;
    }

private:
    std::vector<HWND> before_;
};

}  // namespace

TEST_F(SplashWindow, ShowsTheBitmapUnscaledInABorderlessPopupCentredOnTheWorkArea) {
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    const HWND splash = TheSplash();
    ASSERT_NE(splash, nullptr) << SplashWindows().size() << " new windows";

    RECT client{}, frame{}, area{};
    ::GetClientRect(splash, &client);
    ::GetWindowRect(splash, &frame);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(client.right, kBitmapWidth);
    EXPECT_EQ(client.bottom, kBitmapHeight);
    EXPECT_EQ(frame.right - frame.left, kBitmapWidth) << "no frame around the picture";
    EXPECT_EQ(frame.bottom - frame.top, kBitmapHeight);
    EXPECT_LE(std::abs((frame.left + frame.right) - (area.left + area.right)), 1) << "centred across";
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (area.top + area.bottom)), 1) << "centred down";

    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(splash, GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_VISIBLE), static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), 0u);
    EXPECT_EQ(::GetWindowLongPtrW(splash, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE),
              0);
    EXPECT_EQ(::GetWindowTextLengthW(splash), 0);

    // Painted at once, pixel for pixel: the frame at the window's edges.
    const HDC dc = ::GetDC(splash);
    constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);
    EXPECT_EQ(::GetPixel(dc, 0, 0), kRed);
    EXPECT_EQ(::GetPixel(dc, 1, 1), kBlue);
    EXPECT_EQ(::GetPixel(dc, kBitmapWidth - 2, kBitmapHeight - 2), kBlue);
    EXPECT_EQ(::GetPixel(dc, kBitmapWidth - 1, kBitmapHeight - 1), kRed);
    ::ReleaseDC(splash, dc);
}

TEST_F(SplashWindow, OneAtATimeAndAgainOnceItHasGone) {
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    const HWND first = TheSplash();
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(CSplashWnd::ShowSplash(kSplashBitmap));
    EXPECT_EQ(SplashWindows(), std::vector<HWND>{first});

    CSplashWnd::HideSplash();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_TRUE(SplashWindows().empty());

    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    const HWND second = TheSplash();
    ASSERT_NE(second, nullptr);
    // Destroyed by anyone else, it is gone just as well.
    ::DestroyWindow(second);
    EXPECT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    EXPECT_NE(TheSplash(), nullptr);
}

TEST_F(SplashWindow, AMissingBitmapLeavesNoSplashBehind) {
    EXPECT_FALSE(CSplashWnd::ShowSplash(kNoSuchBitmap));
    EXPECT_TRUE(SplashWindows().empty());
    EXPECT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap)) << "the failed attempt still counts as the splash";
}

TEST_F(SplashWindow, MouseAndKeysLeaveItAndAnyTimerOnItsWindowEndsIt) {
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    const HWND splash = TheSplash();
    ASSERT_NE(splash, nullptr);
    const LPARAM inside = MAKELPARAM(10, 10);
    ::SendMessageW(splash, WM_LBUTTONDOWN, MK_LBUTTON, inside);
    ::SendMessageW(splash, WM_LBUTTONUP, 0, inside);
    ::SendMessageW(splash, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    ::SendMessageW(splash, WM_CHAR, VK_ESCAPE, 0x00010001);
    DispatchPending();
    EXPECT_TRUE(::IsWindow(splash));

    ::SetTimer(splash, 7, 1, nullptr);
    const std::int64_t deadline = NowMs() + 2000;
    while (::IsWindow(splash) && NowMs() < deadline) {
        DispatchPending();
        ::Sleep(5);
    }
    EXPECT_FALSE(::IsWindow(splash));
    EXPECT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
}

TEST_F(SplashWindow, HideAfterOneSecondInTheSecondOfShowingEndsAtTheNextChangeOfSecond) {
    const std::int64_t shown = StartEarlyInASecond();
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    ASSERT_EQ(SecondOf(NowMs()), shown) << "the machine stalled; the timing cannot be judged";
    CSplashWnd::HideSplashAfter(1);
    ExpectEndedAtTheStartOf(shown + 1, NowMs());
    EXPECT_TRUE(SplashWindows().empty());
}

TEST_F(SplashWindow, HideAfterCalledInTheDeadlineSecondWaitsOneMoreChangeOfSecond) {
    const std::int64_t shown = StartEarlyInASecond();
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    SleepUntil((shown + 1) * 1000 + 100);  // the deadline's own second
    CSplashWnd::HideSplashAfter(1);
    ExpectEndedAtTheStartOf(shown + 2, NowMs());
    EXPECT_TRUE(SplashWindows().empty());
}

TEST_F(SplashWindow, HideAfterReturnsAtOnceOnceTheDeadlineHasPassed) {
    const std::int64_t shown = StartEarlyInASecond();
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    SleepUntil((shown + 1) * 1000 + 100);
    const std::int64_t called = NowMs();
    CSplashWnd::HideSplashAfter(0);  // deadline: the second of showing, already past
    EXPECT_LT(NowMs() - called, kPromptlyMs);
    EXPECT_TRUE(SplashWindows().empty());
}

// The wait runs before the main dialog exists: it has to keep the thread's
// windows answering, without burning a processor while it waits.
TEST_F(SplashWindow, HideAfterWithoutSplashWaitsFromTheCallDispatchingMessagesWithoutSpinning) {
    const HWND pingWindow = CreatePingWindow();
    ASSERT_NE(pingWindow, nullptr);
    g_pingDispatchedAt = 0;
    std::atomic<std::int64_t> postedAt{0};

    const std::int64_t called = StartEarlyInASecond();
    const std::int64_t calledMs = NowMs();
    const std::int64_t cpuBefore = ProcessCpuMs();
    std::thread poster([&] {
        ::Sleep(400);
        postedAt = NowMs();
        ::PostMessageW(pingWindow, kPing, 0, 0);
    });
    CSplashWnd::HideSplashAfter(1);
    const std::int64_t ended = NowMs();
    const std::int64_t cpu = ProcessCpuMs() - cpuBefore;
    poster.join();
    ::DestroyWindow(pingWindow);

    ExpectEndedAtTheStartOf(called + 1, ended);
    EXPECT_LT(cpu * 5, ended - calledMs) << cpu << " ms of processor time in " << ended - calledMs << " ms";
    ASSERT_NE(g_pingDispatchedAt.load(), 0) << "the posted message was not dispatched during the wait";
    EXPECT_GE(g_pingDispatchedAt.load(), postedAt.load());
    EXPECT_LT(g_pingDispatchedAt.load() - postedAt.load(), kPromptlyMs) << "dispatched late";
}
