// vornix_startup_bench.exe: what the web update check costs the start-up
// (scripts/bench-startup.sh; figures in docs/PERFORMANCE.md).
//
//   vornix_startup_bench.exe RUNS UPDATE_PAGE_STATE_DIR
//
// Starts the utility of a demo installation RUNS times in each of four
// situations (web check not due; due, with a quick page; due, with a server
// that never answers; due, with a server that answers a byte at a time) and
// prints the milliseconds from CreateProcess to its first window and to the
// main dialog on screen, with the medians and the slowest start (the
// promise is the main dialog within 10 s of the start, every time). The
// update page is the local one (tools/update_page/update_page_server.py)
// whose state folder is given: its address comes from its ready.json, and
// the situation picks its mode.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "demo_installation.h"
#include "median.h"
#include "process_windows.h"
#include "update_page.h"
#include "utility_launch.h"
#include "waiting.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Situation {
    const wchar_t* name;
    const wchar_t* scheduleDate;
    const wchar_t* pageMode;
};

constexpr Situation kSituations[] = {
    {L"not due", L"2090-01-01 00:00:00", L"marker"},
    {L"due, quick page", L"2020-01-01 00:00:00", L"marker"},
    {L"due, server never answers", L"2020-01-01 00:00:00", L"hang"},
    {L"due, server drips", L"2020-01-01 00:00:00", L"drip"},
};
constexpr std::chrono::milliseconds kPoll = 5ms;

// Newer than the update the page names (2023-06-30), so a due check runs
// whole (fetch, page, file scan) and offers nothing.
FILETIME InstalledFilesDate() { return demo::UtcFileTime(2023, 7, 1); }

bool Prepare() {
    std::vector<demo::Step> steps = demo::InstallSuite();
    for (demo::Step& step : demo::InstallSuiteFiles(InstalledFilesDate())) steps.push_back(std::move(step));
    steps.push_back(demo::PlaceCompanionLibrary(demo::PlatformCommonFilesFolder()));
    for (const demo::Step& step : steps) {
        if (!step.ok) std::printf("preparing: %ls\n", step.description.c_str());
    }
    return demo::AllSucceeded(steps);
}

struct StartTimes {
    double firstWindow = 0;  // the splash, as a rule
    double mainDialog = 0;
};

// One start: milliseconds from CreateProcess to the first window of the
// utility and to its main dialog on screen.
std::optional<StartTimes> TimeOneStart(const Situation& situation, const demo::UpdatePage& page) {
    if (!demo::ForgetSchedule().ok || !demo::WriteScheduleDate(situation.scheduleDate).ok ||
        !page.SetMode(situation.pageMode))
        return std::nullopt;
    demo::UtilityLaunch launch;
    launch.updatePage = page.url();
    std::wstring error;
    const Clock::time_point start = Clock::now();
    const std::optional<demo::ChildProcess> utility = demo::LaunchUtility(launch, error);
    if (!utility) {
        std::printf("%ls\n", error.c_str());
        return std::nullopt;
    }
    const auto since = [&] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    StartTimes times;
    HWND dialog = nullptr;
    while ((dialog = demo::FindMainDialog(utility->id())) == nullptr && Clock::now() < start + demo::kWindowTimeout) {
        if (times.firstWindow == 0 && !demo::VisibleTopLevelWindowsOf(utility->id()).empty())
            times.firstWindow = since();
        Sleep(static_cast<DWORD>(kPoll.count()));
    }
    times.mainDialog = since();
    if (times.firstWindow == 0) times.firstWindow = times.mainDialog;
    if (dialog == nullptr) return std::nullopt;
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    utility->WaitForExit(demo::kExitTimeout);
    return times;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::printf("usage: vornix_startup_bench.exe RUNS UPDATE_PAGE_STATE_DIR\n");
        return 2;
    }
    const int runs = std::max(1, static_cast<int>(std::wcstol(argv[1], nullptr, 10)));
    const std::optional<demo::UpdatePage> page = demo::UpdatePage::FromStateFolder(argv[2]);
    if (!page) {
        std::printf("no update page server with its ready.json in %ls\n", argv[2]);
        return 2;
    }
    if (!Prepare()) return 1;
    // The first start of a program in a session loads more than the others.
    TimeOneStart(kSituations[0], *page);

    std::printf("%-27s %12s %12s %12s   %s\n", "situation", "first window", "main dialog", "slowest",
                "runs: main dialog (first window), ms from CreateProcess");
    bool complete = true;
    for (const Situation& situation : kSituations) {
        std::vector<double> firstWindows, mainDialogs;
        std::wstring list;
        for (int run = 0; run < runs; ++run) {
            // The splash stays until the clock's second changes: starts spread
            // over the second keep the loop from always meeting it at one phase.
            Sleep(static_cast<DWORD>((run * 379) % 1000));
            const std::optional<StartTimes> times = TimeOneStart(situation, *page);
            complete = complete && times.has_value();
            if (!times) {
                list += L"failed ";
                continue;
            }
            firstWindows.push_back(times->firstWindow);
            mainDialogs.push_back(times->mainDialog);
            list += std::to_wstring(std::lround(times->mainDialog)) + L" (" +
                    std::to_wstring(std::lround(times->firstWindow)) + L") ";
        }
        const double slowest = mainDialogs.empty() ? 0 : *std::max_element(mainDialogs.begin(), mainDialogs.end());
        std::printf("%-27ls %12ld %12ld %12ld   %ls\n", situation.name, std::lround(Median(firstWindows)),
                    std::lround(Median(mainDialogs)), std::lround(slowest), list.c_str());
    }
    demo::ForgetSchedule();
    return complete ? 0 : 1;
}
