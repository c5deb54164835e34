// Every way of closing the main dialog ends the program; system commands
// other than the About item leave it alone (the About box itself:
// about_help_splash_test.cpp).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "utility_test.h"

namespace e2e {
namespace {

enum class CloseWay { OkButton, FileExit, EscapeKey, CloseBox };

std::string NameOf(CloseWay way) {
  switch (way) {
    case CloseWay::OkButton: return "OkButton";
    case CloseWay::FileExit: return "FileExit";
    case CloseWay::EscapeKey: return "EscapeKey";
    case CloseWay::CloseBox: return "CloseBox";
  }
  return "Unknown";
}

void PrintTo(CloseWay way, std::ostream* out) { *out << NameOf(way); }

// The control that has the keyboard focus in the thread, else the OK button.
HWND KeyboardTarget(HWND dialog, DWORD threadId) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(threadId, &info) && info.hwndFocus != nullptr) return info.hwndFocus;
  return GetDlgItem(dialog, IDOK);
}

// Posted, not sent: the program's own modal loop picks each request up, and
// a key goes through its dialog-message handling as a typed key would.
void AskToClose(HWND dialog, DWORD threadId, CloseWay way) {
  switch (way) {
    case CloseWay::OkButton:
      PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
      break;
    case CloseWay::FileExit:
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileExitCommand, 0), 0);
      break;
    case CloseWay::EscapeKey: {
      const HWND target = KeyboardTarget(dialog, threadId);
      PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001));
      break;
    }
    case CloseWay::CloseBox:
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
}

class ClosingTest : public UtilityTest, public testing::WithParamInterface<CloseWay> {};

TEST_P(ClosingTest, EndsTheProgramWithExitCodeZero) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  AskToClose(dialog, process().mainThreadId(), GetParam());

  ASSERT_TRUE(process().WaitForExit(kExitTimeout))
      << "still running " << kExitTimeout.count() << " ms after " << NameOf(GetParam());
  EXPECT_EQ(process().ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(EveryWay, ClosingTest,
                         testing::Values(CloseWay::OkButton, CloseWay::FileExit,
                                         CloseWay::EscapeKey, CloseWay::CloseBox),
                         [](const testing::TestParamInfo<CloseWay>& way) {
                           return NameOf(way.param);
                         });

// Only the exact identifier 16 is the About item; the platform keeps the low
// four bits of system commands for itself, so a program that masks them off
// would open the About box for these.
TEST_F(UtilityTest, SystemCommandsNearTheAboutItemChangeNothing) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));
  const std::vector<HWND> before = VisibleTopLevelWindowsOf(process().id());

  for (const WPARAM command : {0x11, 0x12, 0x17, 0x1F}) {
    SCOPED_TRACE(testing::Message() << "system command 0x" << std::hex << command);
    PostMessageW(dialog, WM_SYSCOMMAND, command, 0);
    const bool changed = WaitFor(kQuietPeriod, [&] {
      return VisibleTopLevelWindowsOf(process().id()) != before || !IsWindowEnabled(dialog);
    });
    EXPECT_FALSE(changed) << "a window appeared or the dialog was disabled";
    ASSERT_TRUE(process().IsRunning());
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(Responds(dialog));
  }
}

}  // namespace
}  // namespace e2e
