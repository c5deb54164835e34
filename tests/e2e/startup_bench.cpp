#include "startup_bench.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "demo_installation.h"
#include "process_windows.h"
#include "test_update_server.h"
#include "utility_launch.h"
#include "waiting.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

struct Situation {
  const wchar_t* name;
  const wchar_t* scheduleDate;
  // The page: a date older than the installed files, so the whole check
  // runs (fetch, page, file scan) and nothing is offered.
  const wchar_t* serverMode;
};

constexpr Situation kSituations[] = {
    {L"not due", L"2090-01-01 00:00:00", L"marker"},
    {L"due, quick page", L"2020-01-01 00:00:00", L"update:2000_01_02"},
    {L"due, server never answers", L"2020-01-01 00:00:00", L"hang"},
};
constexpr std::chrono::milliseconds kPoll = 5ms;

FILETIME InstalledFilesDate() { return demo::UtcFileTime(2023, 6, 1); }

bool Prepare() {
  std::vector<demo::Step> steps = demo::InstallSuite();
  for (demo::Step& step : demo::InstallSuiteFiles(InstalledFilesDate()))
    steps.push_back(std::move(step));
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
std::optional<StartTimes> TimeOneStart(const Situation& situation, const TestUpdateServer& server) {
  if (!demo::ForgetSchedule().ok || !demo::WriteScheduleDate(situation.scheduleDate).ok ||
      !server.SetMode(situation.serverMode))
    return std::nullopt;
  std::wstring error;
  const Clock::time_point start = Clock::now();
  const std::optional<RunningUtility> utility = RunningUtility::Launch({}, error);
  if (!utility) return std::nullopt;
  const DWORD processId = utility->process().id();
  const auto since = [&] {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  StartTimes times;
  HWND dialog = nullptr;
  while ((dialog = FindMainDialog(processId)) == nullptr && Clock::now() < start + kWindowTimeout) {
    if (times.firstWindow == 0 && !VisibleTopLevelWindowsOf(processId).empty())
      times.firstWindow = since();
    Sleep(static_cast<DWORD>(kPoll.count()));
  }
  times.mainDialog = since();
  if (times.firstWindow == 0) times.firstWindow = times.mainDialog;
  if (dialog == nullptr) return std::nullopt;
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  utility->process().WaitForExit(kExitTimeout);
  return times;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int RunStartupBench(const std::wstring& runsText) {
  const int runs = std::max(1, static_cast<int>(std::wcstol(runsText.c_str(), nullptr, 10)));
  const std::optional<TestUpdateServer> server = TestUpdateServer::FromEnvironment();
  if (!server) {
    std::printf("no update server: run through tests/run-windows-tests.sh\n");
    return 2;
  }
  if (!Prepare()) return 1;
  const ScopedVariable updatePage(kUpdateUrlVariable, server->url());
  // The first start of a program in a session loads more than the others.
  TimeOneStart(kSituations[0], *server);

  std::printf("%-27s %12s %12s   %s\n", "situation", "first window", "main dialog",
              "runs: main dialog (first window), ms from CreateProcess");
  bool complete = true;
  for (const Situation& situation : kSituations) {
    std::vector<double> firstWindows, mainDialogs;
    std::wstring list;
    for (int run = 0; run < runs; ++run) {
      // The splash stays until the clock's second changes: starts spread
      // over the second keep the loop from always meeting it at one phase.
      Sleep(static_cast<DWORD>((run * 379) % 1000));
      const std::optional<StartTimes> times = TimeOneStart(situation, *server);
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
    std::printf("%-27ls %12ld %12ld   %ls\n", situation.name,
                std::lround(firstWindows.empty() ? 0.0 : Median(firstWindows)),
                std::lround(mainDialogs.empty() ? 0.0 : Median(mainDialogs)), list.c_str());
  }
  demo::ForgetSchedule();
  return complete ? 0 : 1;
}

}  // namespace e2e
