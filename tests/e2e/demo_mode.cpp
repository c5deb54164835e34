#include "demo_mode.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <optional>
#include <utility>
#include <vector>

#include "child_process.h"
#include "demo_installation.h"
#include "paths.h"
#include "picture_file.h"
#include "process_windows.h"
#include "spy_log.h"
#include "utf8.h"
#include "utility_launch.h"
#include "waiting.h"

namespace e2e {
namespace {

// A desktop of its own gives the windows Wine-drawn captions in the pictures.
constexpr wchar_t kVirtualDesktop[] = L"Vornix,1024x768";
constexpr std::chrono::milliseconds kDesktopStartTimeout = 30s;
constexpr std::chrono::milliseconds kDemoTimeout = 180s;
constexpr std::chrono::milliseconds kMenuTimeout = 3s;
constexpr std::chrono::milliseconds kPaintTimeout = 5s;
// Wine copies what a window painted to the screen shortly after, not at once.
constexpr std::chrono::milliseconds kSettleTime = 300ms;
constexpr wchar_t kReportName[] = L"demo.txt";
constexpr wchar_t kPictureListName[] = L"pictures.txt";

void Print(const std::wstring& line) { std::printf("%ls\n", line.c_str()); }

void AppendLine(const std::wstring& path, const std::wstring& line) {
  const FileHandle file{CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  const std::string bytes = Utf8(line + L"\n");
  DWORD written = 0;
  if (file) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void PressKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (const auto& [key, down] : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Runs the utility on the virtual desktop and pictures each window it passes.
// What it has to say goes into a report file, since the part outside the
// desktop is the one with the console.
class DesktopDemo {
 public:
  explicit DesktopDemo(std::wstring outFolder)
      : out_(WithTrailingBackslash(std::move(outFolder))), spyFolder_(SpyFolder()) {}

  int Run() {
    DeleteFileW((out_ + kReportName).c_str());
    CreateFolderTree(spyFolder_);
    DeleteFilesIn(spyFolder_);
    UtilityLaunch launch;
    launch.spyLog = spyFolder_ + L"spy.log";
    launch.spyPictures = spyFolder_;
    std::wstring error;
    std::optional<RunningUtility> utility = RunningUtility::Launch(launch, error);
    if (!utility) return Fail(L"could not start the utility: " + error);
    const ChildProcess& process = utility->process();

    const HWND dialog = WaitFor(kWindowTimeout, [&] { return FindMainDialog(process.id()); });
    if (dialog == nullptr) {
      SaveScreen(L"error-no-main-dialog.bmp", L"the screen without the main dialog");
      return Fail(L"the main dialog did not appear");
    }
    KeepStartUpMessage();
    SetForegroundWindow(dialog);  // pictured as a person sees it: active
    WaitUntilPainted(dialog);
    SaveScreen(L"2-main-dialog.bmp", L"the main dialog");
    SaveMenu(dialog, process.id(), 'F', L"3-file-menu.bmp", L"the File menu");
    SaveMenu(dialog, process.id(), 'H', L"4-help-menu.bmp", L"the Help menu");

    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (!process.WaitForExit(kExitTimeout)) return Fail(L"the utility did not end after OK");
    Tell(L"closed the utility with OK");
    for (const std::wstring& name : pictures_) AppendLine(out_ + kPictureListName, name);
    return failed_ ? 1 : 0;
  }

 private:
  static std::wstring SpyFolder() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    return WithTrailingBackslash(temp) + L"VornixDemoSpy\\";
  }

  void Tell(const std::wstring& line) const { AppendLine(out_ + kReportName, line); }

  int Fail(const std::wstring& why) {
    Tell(L"FAILED: " + why);
    return 1;
  }

  void Saved(const std::wstring& name, bool ok, const std::wstring& what) {
    if (ok) {
      pictures_.push_back(name);
      Tell(L"picture " + out_ + name + L" (" + what + L")");
    } else {
      failed_ = true;
      Tell(L"FAILED: no picture of " + what);
    }
  }

  void SaveScreen(const std::wstring& name, const std::wstring& what) {
    Saved(name, SaveScreenPicture((out_ + name).c_str()), what);
  }

  // The start-up message lives only milliseconds: its picture was taken by
  // the spy inside the utility, when it had painted.
  void KeepStartUpMessage() {
    const HWND message = WindowShowingText(ReadSpyLog(spyFolder_ + L"spy.log"), kStartUpText);
    if (message == nullptr) {
      Saved({}, false, L"the start-up message: no window showed it");
      return;
    }
    const std::wstring name = L"1-startup-message.bmp";
    Saved(name,
          CopyFileW((spyFolder_ + SpyPictureName(message)).c_str(), (out_ + name).c_str(),
                    FALSE) != FALSE,
          L"the start-up message");
  }

  void WaitUntilPainted(HWND window) const {
    WaitFor(kPaintTimeout, [&] {
      for (const SpyEvent& event : ReadSpyLog(spyFolder_ + L"spy.log")) {
        if (event.kind == L"paint" && event.root == window) return true;
      }
      return false;
    });
    Sleep(static_cast<DWORD>(kSettleTime.count()));
  }

  // Opens a drop-down menu the way a person does, with Alt and its letter;
  // should the keys not reach the program, with the system command they
  // would have made.
  void SaveMenu(HWND dialog, DWORD processId, WORD letter, const std::wstring& name,
                const std::wstring& what) {
    SetForegroundWindow(dialog);
    PressKeys({{VK_MENU, true}, {letter, true}, {letter, false}, {VK_MENU, false}});
    HWND menu = WaitFor(kMenuTimeout, [&] { return FindOpenMenu(processId); });
    if (menu == nullptr) {
      Tell(L"Alt+" + std::wstring(1, static_cast<wchar_t>(letter)) +
           L" did not open a menu: using the system command instead");
      PostMessageW(dialog, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(towlower(letter)));
      menu = WaitFor(kMenuTimeout, [&] { return FindOpenMenu(processId); });
    }
    if (menu == nullptr) {
      Saved(name, false, what + L": it did not open");
      return;
    }
    WaitUntilPainted(menu);
    SaveScreen(name, what);
    // Alt ends menu mode at once, whatever is open.
    PostMessageW(dialog, WM_KEYDOWN, VK_MENU, 0);
    WaitFor(kMenuTimeout, [&] { return FindOpenMenu(processId) == nullptr; });
  }

  std::wstring out_;
  std::wstring spyFolder_;
  std::vector<std::wstring> pictures_;
  bool failed_ = false;
};

}  // namespace

int InstallDemo() {
  std::vector<demo::Step> steps = demo::InstallSuite();
  const std::wstring commonFiles = demo::PlatformCommonFilesFolder();
  if (commonFiles.empty())
    steps.push_back({false, L"CommonFilesDir is not set in the registry"});
  else
    steps.push_back(demo::PlaceCompanionLibrary(commonFiles));
  Print(L"Demo installation:");
  for (const demo::Step& step : steps) Print((step.ok ? L"  " : L"  FAILED: ") + step.description);
  return demo::AllSucceeded(steps) ? 0 : 1;
}

int RunDemo(const std::wstring& outFolder) {
  const std::wstring out = WithoutTrailingBackslash(WindowsFullPath(outFolder));
  if (!CreateFolderTree(out)) {
    Print(L"cannot create " + out);
    return 1;
  }
  const std::wstring companion =
      demo::MakerFolderIn(demo::PlatformCommonFilesFolder()) + kCompanionName;
  if (!FileExists(companion)) {
    Print(L"no demo installation here (" + companion + L" is missing): run --install-demo first");
    return 1;
  }
  DeleteFilesIn(out, L"*.bmp");
  DeleteFileW((out + L"\\" + kPictureListName).c_str());

  const std::wstring driver = DriverPath();
  const std::optional<ChildProcess> desktop = ChildProcess::Start(
      std::wstring(L"explorer.exe /desktop=") + kVirtualDesktop + L" \"" + driver + L"\" " +
          kDemoOnDesktopOption + L" \"" + out + L"\"",
      {}, StartMode::Running);
  if (!desktop) {
    Print(L"cannot start explorer.exe, error " + std::to_wstring(GetLastError()));
    return 1;
  }
  // explorer.exe is only the desktop: the demo is the copy of this driver it starts.
  const std::wstring driverName = driver.substr(driver.find_last_of(L'\\') + 1);
  const DWORD demoId = WaitFor(kDesktopStartTimeout, [&]() -> DWORD {
    const std::vector<DWORD> found = ChildProcessesNamed(desktop->id(), driverName);
    return found.empty() ? 0 : found.front();
  });
  const KernelHandle demo{
      demoId == 0 ? nullptr
                  : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, demoId)};
  if (!demo) {
    Print(L"the demo did not start on the virtual desktop");
    return 1;
  }
  DWORD exitCode = 1;
  if (WaitForSingleObject(demo.get(), static_cast<DWORD>(kDemoTimeout.count())) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(demo.get(), &exitCode)) {
    TerminateProcess(demo.get(), 1);
    Print(L"the demo did not end in time");
  }
  std::printf("%ls", FromUtf8(FileBytes(out + L"\\" + kReportName)).c_str());
  desktop->WaitForExit(kExitTimeout);  // else ended with its owner
  return static_cast<int>(exitCode);
}

int RunDemoOnDesktop(const std::wstring& outFolder) { return DesktopDemo(outFolder).Run(); }

}  // namespace e2e
