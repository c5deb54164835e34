// The fixture of the UI tests: a fresh demo installation for every test and
// the utility started in it, ended when the test ends whatever happened.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "demo_installation.h"
#include "process_windows.h"
#include "spy_log.h"
#include "utility_launch.h"
#include "waiting.h"

namespace e2e {

inline constexpr WORD kFileExitCommand = 32772;
inline constexpr WORD kHelpAboutCommand = 32773;
inline constexpr WORD kHelpContentsCommand = 32774;
inline constexpr WPARAM kAboutSystemCommand = 0x0010;

testing::AssertionResult Succeeded(const std::vector<demo::Step>& steps);

class UtilityTest : public testing::Test {
 protected:
  enum class Companion { Installed, Missing };
  enum class Spy { Off, On };

  void SetUp() override;
  void TearDown() override;

  // Starts the utility; a fatal failure when it cannot be started.
  void StartUtility(Companion companion = Companion::Installed, Spy spy = Spy::Off);
  // The main dialog once it is on screen, or nullptr after kWindowTimeout.
  [[nodiscard]] HWND WaitForMainDialog() const;
  // Starts the utility and waits for its main dialog; fatal failure without one.
  void StartAndWaitForMainDialog(HWND& dialog, Spy spy = Spy::Off);

  [[nodiscard]] const ChildProcess& process() const { return utility_->process(); }
  // What window_spy.dll has recorded so far.
  [[nodiscard]] std::vector<SpyEvent> SpyEvents() const;
  // The first event of that kind for the window, once recorded (the spy
  // writes after the window has acted, so a little after the driver sees it).
  [[nodiscard]] std::optional<SpyEvent> WaitForSpyEvent(std::wstring_view kind, HWND window) const;

 private:
  // Where the utility looks for its companion library: under Wine both the
  // environment's CommonProgramFiles and the registry's CommonFilesDir.
  std::wstring commonFiles_;
  std::wstring testFolder_;  // C:\VornixE2E\<test>\, emptied for every test
  std::optional<RunningUtility> utility_;
};

}  // namespace e2e
