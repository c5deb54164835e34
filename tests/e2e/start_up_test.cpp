// What needs the real process: the order of the start-up windows, an offer
// answered with the browser opened, the companion library missing, and the
// program's end with exit code 0 once its dialog is closed (each way of
// closing gives its result in-process). A page that never comes and a
// certificate nobody trusts are read in-process, with the deadline given
// rather than waited for (tests/win/update_check_test.cpp).
#include <functional>

#include "paths.h"
#include "process_windows.h"
#include "utf8.h"
#include "utility_run.h"
#include "waiting.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace std::chrono_literals;

// What the process shows at one moment, as another process sees it.
struct Screen {
    HWND splash, startUpMessage, box, mainDialog;
};

// When each window was first and last seen, from the moment watching began.
struct Seen {
    std::optional<milliseconds> first, last;
    void At(bool shown, milliseconds now) {
        if (shown) first = first.value_or(now), last = now;
    }
};

struct Timeline {
    Seen splash, startUpMessage, box, mainDialog;
};

// Looks at the process's windows every 20 ms until onScreen says stop or
// the timeout has passed.
Timeline Watch(DWORD processId, milliseconds timeout, const std::function<bool(const Screen&)>& onScreen) {
    Timeline timeline;
    const Clock::time_point start = Clock::now();
    for (;;) {
        const Screen screen{demo::FindSplash(processId), demo::FindWindowShowingText(processId, demo::kStartUpText),
                            demo::FindMessageBox(processId), demo::FindMainDialog(processId)};
        const auto now = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        timeline.splash.At(screen.splash != nullptr, now);
        timeline.startUpMessage.At(screen.startUpMessage != nullptr, now);
        timeline.box.At(screen.box != nullptr, now);
        timeline.mainDialog.At(screen.mainDialog != nullptr, now);
        if (onScreen(screen) || now >= timeout) return timeline;
        Sleep(20);
    }
}

constexpr wchar_t kOfferStart[] = L"A newer version of Vornix 2023 is available.";

class StartUpTest : public UtilityRun {};

TEST_F(StartUpTest, SplashThenStartUpMessageWithTheOfferThenMainDialog) {
    ASSERT_NO_FATAL_FAILURE(Start(Companion::Installed, Schedule::Due));
    std::wstring offer;
    const Timeline seen = Watch(process().id(), demo::kWindowTimeout, [&](const Screen& screen) {
        if (screen.box != nullptr && offer.empty()) {
            offer = demo::MessageBoxText(screen.box);
            PostMessageW(GetDlgItem(screen.box, IDYES), BM_CLICK, 0, 0);
        }
        return screen.mainDialog != nullptr;
    });

    ASSERT_TRUE(seen.splash.first && seen.startUpMessage.first && seen.box.first && seen.mainDialog.first)
        << "splash, start-up message, offer and main dialog must all appear";
    // How long the splash stays (until a change of second) is tested in-process.
    EXPECT_LE(*seen.splash.last, *seen.startUpMessage.first) << "the splash goes before the dialog initialises";
    EXPECT_LE(*seen.startUpMessage.first, *seen.box.first) << "the start-up message shows during the check";
    EXPECT_GE(*seen.startUpMessage.last, *seen.box.first) << "...and stays while the offer is open";
    EXPECT_LT(*seen.box.last, *seen.mainDialog.first);
    EXPECT_EQ(offer.rfind(kOfferStart, 0), 0u) << demo::Utf8(offer);
    EXPECT_EQ(demo::FindWindowShowingText(process().id(), demo::kStartUpText), nullptr)
        << "the start-up message is gone once the main dialog shows";

    EXPECT_EQ(BrowserLog(), demo::Utf8(page().url()) + "\n") << "Yes opens exactly the update page, once";
    HWND dialog = WaitForMainDialog(0ms);
    ASSERT_NO_FATAL_FAILURE(ExpectEndsAfterOk(dialog));
}

TEST_F(StartUpTest, MissingCompanionLibraryIsReportedBeforeTheSplash) {
    ASSERT_NO_FATAL_FAILURE(Start(Companion::Missing, Schedule::FirstStart));
    std::wstring text;
    const Timeline seen = Watch(process().id(), demo::kWindowTimeout, [&](const Screen& screen) {
        if (screen.box != nullptr && text.empty()) {
            text = demo::MessageBoxText(screen.box);
            PostMessageW(GetDlgItem(screen.box, IDOK), BM_CLICK, 0, 0);
        }
        return screen.mainDialog != nullptr;
    });

    EXPECT_EQ(text, std::wstring(L"Couldn't find dll file: \n") + demo::kCompanionName +
                        L"\n\nPlease check software installation.");
    ASSERT_TRUE(seen.box.first && seen.splash.first && seen.mainDialog.first);
    EXPECT_LT(*seen.box.first, *seen.splash.first) << "the box comes before the splash";
    EXPECT_FALSE(seen.startUpMessage.first) << "no start-up message without the library";
    ASSERT_NO_FATAL_FAILURE(ExpectEndsAfterOk(WaitForMainDialog(0ms)));
}

}  // namespace
