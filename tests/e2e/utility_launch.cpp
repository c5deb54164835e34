#include "utility_launch.h"

#include <utility>

#include "paths.h"

namespace e2e {
namespace {

std::wstring LastErrorText(const wchar_t* what) {
  return std::wstring(what) + L" failed with error " + std::to_wstring(GetLastError());
}

EnvironmentOverrides EnvironmentFor(const UtilityLaunch& launch) {
  EnvironmentOverrides environment;
  if (!launch.spyLog.empty()) environment.emplace_back(kSpyLogVariable, launch.spyLog);
  if (!launch.spyPictures.empty())
    environment.emplace_back(kSpyPicturesVariable, launch.spyPictures);
  return environment;
}

}  // namespace

RunningUtility::RunningUtility(ChildProcess process, WindowSpy spy) noexcept
    : spy_(std::move(spy)), process_(std::move(process)) {}

std::optional<RunningUtility> RunningUtility::Launch(const UtilityLaunch& launch,
                                                     std::wstring& error) {
  const bool spying = !launch.spyLog.empty();
  std::optional<ChildProcess> process =
      ChildProcess::Start(L"\"" + UtilityPath() + L"\"", EnvironmentFor(launch),
                          spying ? StartMode::Suspended : StartMode::Running, launch.currentFolder);
  if (!process) {
    error = LastErrorText(L"CreateProcessW");
    return std::nullopt;
  }
  WindowSpy spy;
  if (spying && !spy.Attach(process->mainThreadId())) {
    error = LastErrorText(L"Attaching window_spy.dll");
    return std::nullopt;  // the process ends with its owner
  }
  if (spying && !process->Resume()) {
    error = LastErrorText(L"ResumeThread");
    return std::nullopt;
  }
  return RunningUtility(std::move(*process), std::move(spy));
}

}  // namespace e2e
