// The splash window on the test program's own 500 x 300 picture (bitmap 600
// in test_resources.rc: a one-pixel red frame around blue).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "afx/file_time.h"
#include "controls/splash_wnd.h"
#include "process_windows.h"
#include "real_input.h"

namespace {

constexpr std::uint16_t kSplashBitmap = 600;
constexpr std::uint16_t kNoSuchBitmap = 601;
// How soon after its deadline a wait counts as ended "at" it.
constexpr std::int64_t kPromptlyMs = 50;

using afx::UnixMillisecondsNow;

// Sleeps, if need be, into the first fifth of a second, so the steps that
// follow happen in one second of the clock; returns that second.
std::int64_t StartEarlyInASecond() {
    for (std::int64_t now = UnixMillisecondsNow();; now = UnixMillisecondsNow()) {
        if (now % 1000 < 200) return now / 1000;
        ::Sleep(static_cast<DWORD>(1000 - now % 1000 + 10));
    }
}

std::int64_t ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    return (afx::FileTimeUnits(kernel) + afx::FileTimeUnits(user)) / 10000;
}

// Set by a thread timer the wait must dispatch.
bool g_pinged = false;
void CALLBACK Ping(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    ::KillTimer(nullptr, timer);
    g_pinged = true;
}

class SplashWindow : public ::testing::Test {
protected:
    void TearDown() override {
        CSplashWnd::HideSplash();
        DispatchPending();
    }
    // The one window a ShowSplash added to the thread, or null.
    HWND TheSplash() const {
        std::vector<HWND> windows = demo::VisibleTopLevelWindowsOf(::GetCurrentProcessId());
        std::erase_if(windows,
                      [&](HWND w) { return std::find(m_before.begin(), m_before.end(), w) != m_before.end(); });
        return windows.size() == 1 ? windows.front() : nullptr;
    }

    const std::vector<HWND> m_before = demo::VisibleTopLevelWindowsOf(::GetCurrentProcessId());
};

}  // namespace

TEST_F(SplashWindow, ShowsTheBitmapUnscaledCentredWithoutAFrameOneAtATime) {
    EXPECT_FALSE(CSplashWnd::ShowSplash(kNoSuchBitmap));
    EXPECT_EQ(TheSplash(), nullptr);
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap)) << "a failed attempt leaves no splash behind";
    const HWND splash = TheSplash();
    ASSERT_NE(splash, nullptr);
    EXPECT_FALSE(CSplashWnd::ShowSplash(kSplashBitmap));
    EXPECT_EQ(TheSplash(), splash);

    RECT frame{}, area{};
    ::GetWindowRect(splash, &frame);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(frame.right - frame.left, 500);
    EXPECT_EQ(frame.bottom - frame.top, 300);
    EXPECT_LE(std::abs((frame.left + frame.right) - (area.left + area.right)), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) - (area.top + area.bottom)), 1);
    EXPECT_EQ(::GetWindowLongPtrW(splash, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_POPUP), WS_POPUP);
    EXPECT_EQ(::GetWindowTextLengthW(splash), 0);
    {
        const auto dc = afx::GetDC(splash);  // painted at once, pixel for pixel
        EXPECT_EQ(::GetPixel(dc.get().dc, 0, 0), RGB(255, 0, 0));
        EXPECT_EQ(::GetPixel(dc.get().dc, 1, 1), RGB(0, 0, 255));
        EXPECT_EQ(::GetPixel(dc.get().dc, 499, 299), RGB(255, 0, 0));
    }

    // Clicks and keys leave it; any timer on its window ends it.
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_KEYDOWN, WM_CHAR})
        ::SendMessageW(splash, message, 0, 0);
    DispatchPending();
    ASSERT_TRUE(::IsWindow(splash));
    ::SetTimer(splash, 7, 1, nullptr);
    for (int i = 0; i < 200 && ::IsWindow(splash); ++i) {
        DispatchPending();
        ::Sleep(5);
    }
    EXPECT_FALSE(::IsWindow(splash));

    // Gone by any way, it can be shown again.
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    ::DestroyWindow(TheSplash());
    ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
    CSplashWnd::HideSplash();
    EXPECT_EQ(TheSplash(), nullptr);
    EXPECT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
}

// The wait ends on a change of second: at the second after showing plus
// the seconds, or one later when it is called in that very second.
TEST_F(SplashWindow, HideAfterEndsAtTheRightChangeOfSecondWhileDispatchingWithoutSpinning) {
    struct Row {
        bool show;
        std::int64_t callAtMs;  // into the wait, counted from the start of the second of showing
        int seconds;
        std::int64_t endSecond;  // counted from the second of showing
    };
    const Row rows[] = {
        {true, 0, 1, 1},     // called in the second of showing
        {true, 1100, 1, 2},  // called in the deadline's own second: one more change
        {true, 1100, 0, 1},  // the deadline has passed: at once
        {false, 0, 1, 1},    // no splash: counted from the call
    };
    for (const Row& row : rows) {
        g_pinged = false;
        const std::int64_t second = StartEarlyInASecond();
        if (row.show) {
            ASSERT_TRUE(CSplashWnd::ShowSplash(kSplashBitmap));
        }
        while (UnixMillisecondsNow() < second * 1000 + row.callAtMs) ::Sleep(5);
        // A message that comes during the wait is dispatched during the wait.
        ::SetTimer(nullptr, 0, 300, &Ping);
        const std::int64_t calledMs = UnixMillisecondsNow();
        const std::int64_t cpuBefore = ProcessCpuMs();
        CSplashWnd::HideSplashAfter(row.seconds);
        const std::int64_t ended = UnixMillisecondsNow();
        const std::int64_t cpu = ProcessCpuMs() - cpuBefore;
        const bool dispatchedDuringTheWait = g_pinged;
        DispatchPending();

        const std::int64_t expected = (second + row.endSecond) * 1000;
        EXPECT_GE(ended, std::max(expected, calledMs)) << row.callAtMs << " ms, " << row.seconds << " s";
        EXPECT_LT(ended, std::max(expected, calledMs) + kPromptlyMs) << row.callAtMs << " ms, " << row.seconds << " s";
        EXPECT_EQ(TheSplash(), nullptr);
        if (ended - calledMs > 500) {
            EXPECT_LT(cpu * 5, ended - calledMs) << cpu << " ms of processor time in " << ended - calledMs << " ms";
            EXPECT_TRUE(dispatchedDuringTheWait);
        }
    }
}
