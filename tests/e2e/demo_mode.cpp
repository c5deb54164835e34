#include "demo_mode.h"

#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <optional>
#include <string_view>
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
constexpr std::chrono::milliseconds kBoxTimeout = 5s;
constexpr std::chrono::milliseconds kHelpTimeout = 15s;
constexpr WORD kAboutCommand = 32773;
constexpr WORD kHelpCommand = 32774;
constexpr wchar_t kHelpViewerClass[] = L"HH Parent";
constexpr wchar_t kHelpContentsClass[] = L"SysTreeView32";
constexpr wchar_t kReportName[] = L"demo.txt";
constexpr wchar_t kPictureListName[] = L"pictures.txt";

void Print(const std::wstring& line) { std::printf("%ls\n", line.c_str()); }

// A message box's text on one line of the report.
std::wstring OneLine(std::wstring text) {
  std::erase(text, L'\r');
  for (size_t at = 0; (at = text.find(L'\n', at)) != std::wstring::npos;) {
    const size_t end = text.find_first_not_of(L'\n', at);
    text.replace(at, (end == std::wstring::npos ? text.size() : end) - at, L" ");
    ++at;
  }
  return text;
}

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

    AnswerUpdateOffer(process.id());
    const HWND dialog = WaitFor(kWindowTimeout, [&] { return FindMainDialog(process.id()); });
    if (dialog == nullptr) {
      SaveScreen(L"error-no-main-dialog.bmp", L"the screen without the main dialog");
      return Fail(L"the main dialog did not appear");
    }
    KeepSplash();
    KeepStartUpMessage();
    SetForegroundWindow(dialog);  // pictured as a person sees it: active
    WaitUntilPainted(dialog);
    SaveScreen(L"4-main-dialog.bmp", L"the main dialog");
    SaveMenu(dialog, process.id(), 'F', L"5-file-menu.bmp", L"the File menu");
    SaveMenu(dialog, process.id(), 'H', L"6-help-menu.bmp", L"the Help menu");
    SaveAboutBox(dialog, process.id());
    SaveHelp(dialog, process.id());

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

  // The splash goes at the next change of second: its picture, too, was
  // taken by the spy inside the utility.
  void KeepSplash() {
    const std::vector<SpyEvent> events = ReadSpyLog(spyFolder_ + L"spy.log");
    const size_t shown = FirstSplashShown(events);
    if (shown == events.size()) {
      Saved({}, false, L"the splash: no splash window was shown");
      return;
    }
    const std::wstring name = L"0-splash.bmp";
    Saved(name,
          CopyFileW((spyFolder_ + SpyPictureName(events[shown].window)).c_str(), (out_ + name).c_str(),
                    FALSE) != FALSE,
          L"the splash");
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

  // Until the window, or the part of it of that class, has painted.
  void WaitUntilPainted(HWND window, std::wstring_view partClass = {}) const {
    WaitFor(kPaintTimeout, [&] {
      for (const SpyEvent& event : ReadSpyLog(spyFolder_ + L"spy.log")) {
        if (event.kind == L"paint" && event.root == window &&
            (partClass.empty() || event.className == partClass))
          return true;
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

  // The demo installation makes the web check due and the local page names
  // a newer update: the offer comes over the start-up message, before the
  // main dialog. Answered with No, as a user who wants to be reminded.
  void AnswerUpdateOffer(DWORD processId) {
    const HWND offer = WaitFor(kWindowTimeout, [&] {
      const HWND box = FindMessageBox(processId);
      return box != nullptr ? box : FindMainDialog(processId);
    });
    if (offer == nullptr || !IsMessageBox(offer)) {
      Saved({}, false, L"the update offer: none came (is the update page served?)");
      return;
    }
    WaitUntilPainted(offer);
    SaveScreen(L"2-update-offer.bmp", L"the update offer: " + OneLine(MessageBoxText(offer)));
    PostMessageW(GetDlgItem(offer, IDNO), BM_CLICK, 0, 0);
    const HWND reminder = WaitFor(kBoxTimeout, [&]() -> HWND {
      const HWND box = FindMessageBox(processId);
      return box != offer ? box : nullptr;
    });
    if (reminder == nullptr) {
      Saved({}, false, L"the reminder after No: it did not appear");
      return;
    }
    WaitUntilPainted(reminder);
    SaveScreen(L"3-update-reminder.bmp", L"the reminder: " + OneLine(MessageBoxText(reminder)));
    PostMessageW(GetDlgItem(reminder, IDOK), BM_CLICK, 0, 0);
  }

  // A visible top-level window of the process that the predicate accepts.
  template <typename Predicate>
  static HWND WaitForWindow(DWORD processId, std::chrono::milliseconds timeout,
                            Predicate accepts) {
    return WaitFor(timeout, [&]() -> HWND {
      for (const HWND window : VisibleTopLevelWindowsOf(processId)) {
        if (accepts(window)) return window;
      }
      return nullptr;
    });
  }

  void SaveAboutBox(HWND dialog, DWORD processId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kAboutCommand, 0), 0);
    const HWND box = WaitForWindow(processId, kBoxTimeout, [&](HWND window) {
      return window != dialog && ClassNameOf(window) == kDialogClass;
    });
    if (box == nullptr) {
      Saved({}, false, L"the About box: it did not open");
      return;
    }
    WaitUntilPainted(box);
    SaveScreen(L"7-about-box.bmp", L"the About box");
    PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
    WaitFor(kBoxTimeout, [&] { return !IsWindowVisible(box); });
  }

  // The viewer paints its frame first and its contents tree a moment later.
  // Its pages need Wine's HTML engine, which the sessions leave out
  // (WINEDLLOVERRIDES mshtml=), so the page itself stays empty.
  void SaveHelp(HWND dialog, DWORD processId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
    const HWND viewer = WaitForWindow(processId, kHelpTimeout, [](HWND window) {
      return ClassNameOf(window) == kHelpViewerClass;
    });
    if (viewer == nullptr) {
      Saved({}, false, L"the help: no \"HH Parent\" window opened");
      return;
    }
    SetForegroundWindow(viewer);
    WaitUntilPainted(viewer, kHelpContentsClass);
    SaveScreen(L"8-help.bmp", L"the help: " + TextOf(viewer));
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    WaitFor(kBoxTimeout, [&] { return !IsWindow(viewer); });
  }

  std::wstring out_;
  std::wstring spyFolder_;
  std::vector<std::wstring> pictures_;
  bool failed_ = false;
};

// The demo's programs and add-ins date from before the update the local
// update page names (Vornix_2023_Update2023_06_30.exe).
FILETIME DemoFilesDate() { return demo::UtcFileTime(2023, 3, 15, 12); }

// A date long past: the web check is due at the next start.
constexpr wchar_t kDueDate[] = L"2023-01-01 00:00:00";

}  // namespace

int InstallDemo() {
  std::vector<demo::Step> steps = demo::InstallSuite();
  steps.push_back(demo::WriteProductUpdate(L"1"));
  steps.push_back(demo::PlaceHelpFile());
  for (demo::Step& step : demo::InstallSuiteFiles(DemoFilesDate())) steps.push_back(std::move(step));
  steps.push_back(demo::ForgetSchedule());
  steps.push_back(demo::WriteScheduleDate(kDueDate));
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
