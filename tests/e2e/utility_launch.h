// Starting VornixUtility64.exe the way the tests and the demo need it.
#pragma once

#include <optional>
#include <string>

#include "child_process.h"
#include "spy_log.h"

namespace e2e {

// The utility finds its companion library through CommonProgramFiles and
// then the registry's CommonFilesDir. Wine sets CommonProgramFiles from
// CommonFilesDir in every new process, whatever the parent passes, so the
// library's place is chosen by where it is copied, not by the environment.
struct UtilityLaunch {
  // Where window_spy.dll records the utility's windows; no spy when empty.
  std::wstring spyLog;
  // Where the spy keeps pictures of top-level windows; none when empty.
  std::wstring spyPictures;
  // The utility's current folder; the driver's when empty.
  std::wstring currentFolder;
};

class RunningUtility {
 public:
  // Starts the utility (suspended while the spy is attached). On failure
  // returns nothing and says why in error.
  static std::optional<RunningUtility> Launch(const UtilityLaunch& launch, std::wstring& error);

  [[nodiscard]] const ChildProcess& process() const noexcept { return process_; }

 private:
  RunningUtility(ChildProcess process, WindowSpy spy) noexcept;

  // Declared first so the hooks go only after the process has been ended.
  WindowSpy spy_;
  ChildProcess process_;
};

}  // namespace e2e
