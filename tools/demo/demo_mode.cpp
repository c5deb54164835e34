// VornixDemo.exe: Vornix Utility in a demo installation (scripts/demo.sh).
//
//   --install-demo [PAGE]
//                     the demo installation in the current Wine prefix, with
//                     its programs older than the update the local update
//                     page names and the web check due, so the utility's
//                     next start offers the update; PAGE, when given, is
//                     written as the installation's update page address
//   --demo OUTDIR     runs the utility of that installation on a Wine virtual
//                     desktop, answers the update offer with No, opens its
//                     menus, the About box and the help, and saves a .bmp
//                     picture of each window it passes into OUTDIR, listed
//                     in OUTDIR\pictures.txt, with a report in OUTDIR\demo.txt;
//                     then the controls gallery, with a hovered flat button,
//                     a pressed one, a checked checkbox button, an open popup
//                     menu, a tooltip, a hovered hyperlink label, the folder
//                     browser and the file dialog with its folder filter.
//                     The utility fetches the page that --install-demo
//                     wrote as the installation's update page. Last, the
//                     gallery once more at 200 % display scale.
//
// --demo starts a copy of this program on the virtual desktop with
// --demo-on-desktop OUTDIR, which does the walking and picturing, then one
// on a larger desktop with --gallery-at-200 OUTDIR.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwctype>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "afx/file_find.h"
#include "afx/file_time.h"
#include "afx/handles.h"
#include "child_process.h"
#include "demo_installation.h"
#include "paths.h"
#include "picture_file.h"
#include "process_windows.h"
#include "screen_reader.h"
#include "user_input.h"
#include "utf8.h"
#include "utility_launch.h"
#include "waiting.h"
#include "gallery/gallery_resource.h"

namespace demo {
namespace {

constexpr wchar_t kInstallDemoOption[] = L"--install-demo";
constexpr wchar_t kDemoOption[] = L"--demo";
constexpr wchar_t kDemoOnDesktopOption[] = L"--demo-on-desktop";
constexpr wchar_t kGalleryAt200Option[] = L"--gallery-at-200";

// A desktop of its own gives the windows Wine-drawn captions in the pictures.
constexpr wchar_t kVirtualDesktop[] = L"Vornix,1024x768";
// The gallery at 200 % is larger than that (scripts/demo.sh makes the
// screen large enough for it).
constexpr wchar_t kLargeVirtualDesktop[] = L"Vornix200,1200x1240";
// The display scale the user sets, read by programs as they start.
constexpr wchar_t kDesktopSettingsKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixelsValue[] = L"LogPixels";
constexpr DWORD kDpiAt200 = 192;
constexpr std::chrono::milliseconds kDesktopStartTimeout = 30s;
constexpr std::chrono::milliseconds kDemoTimeout = 180s;
constexpr std::chrono::milliseconds kMenuTimeout = 3s;
constexpr std::chrono::milliseconds kBoxTimeout = 5s;
constexpr std::chrono::milliseconds kHelpTimeout = 15s;
// The splash is on screen for less than a second: looked for this often,
// and pictured once it has had this long to reach the screen.
constexpr std::chrono::milliseconds kSplashPoll = 5ms;
constexpr std::chrono::milliseconds kSplashSettleTime = 100ms;
// Starts later in a second than this leave the splash too little of it.
constexpr std::int64_t kEarlyInSecondMs = 100;
constexpr WORD kAboutCommand = 32773;
constexpr WORD kHelpCommand = 32774;
constexpr wchar_t kHelpViewerClass[] = L"HH Parent";
constexpr wchar_t kGalleryCaption[] = L"Vornix Controls Gallery";
constexpr wchar_t kTooltipClass[] = L"tooltips_class32";
// The tooltip shows after the pointer rests a moment.
constexpr std::chrono::milliseconds kTooltipTimeout = 5s;
// The shell's dialogs fill their trees and lists a moment after they show.
constexpr std::chrono::milliseconds kDialogFillTime = 1500ms;
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
    WriteFileBytes(path, Utf8(line + L"\n"), WriteMode::Append);
}

// The splash stays until the clock's second changes after it appeared; the
// utility shows it a few tenths of a second after its start, so a start in
// the first tenth of a second leaves it most of that second on screen.
void WaitForStartOfSecond() {
    const std::int64_t intoSecond = afx::UnixMillisecondsNow() % 1000;
    if (intoSecond > kEarlyInSecondMs) Sleep(static_cast<DWORD>(1000 - intoSecond));
}

// Runs the utility on the virtual desktop and pictures each window it passes.
// What it has to say goes into a report file, since the part outside the
// desktop is the one with the console.
class DesktopDemo {
public:
    explicit DesktopDemo(std::wstring outFolder) : m_out(WithTrailingBackslash(std::move(outFolder))) {}

    int Run() {
        DeleteFileW((m_out + kReportName).c_str());
        WaitForStartOfSecond();
        std::wstring error;
        const std::optional<ChildProcess> utility = LaunchUtility({}, error);
        if (!utility) return Fail(L"could not start the utility: " + error);
        const DWORD processId = utility->id();

        SaveSplash(processId);
        SaveStartUpMessage(processId);
        AnswerUpdateOffer(processId);
        const HWND dialog = WaitFor(kWindowTimeout, [&] { return FindMainDialog(processId); });
        if (dialog == nullptr) {
            SaveScreen(L"error-no-main-dialog.bmp", L"the screen without the main dialog");
            return Fail(L"the main dialog did not appear");
        }
        SetForegroundWindow(dialog);  // pictured as a person sees it: active
        Settle();
        SaveScreen(L"4-main-dialog.bmp", L"the main dialog");
        SaveMenu(dialog, processId, 'F', L"5-file-menu.bmp", L"the File menu");
        SaveMenu(dialog, processId, 'H', L"6-help-menu.bmp", L"the Help menu");
        SaveAboutBox(dialog, processId);
        SaveHelp(dialog, processId);

        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (!utility->WaitForExit(kExitTimeout)) return Fail(L"the utility did not end after OK");
        Tell(L"closed the utility with OK");
        WalkGallery();
        for (const std::wstring& name : m_pictures) AppendLine(m_out + kPictureListName, name);
        return m_failed ? 1 : 0;
    }

    // The gallery started with the display scale at 200 %, pictured; the
    // scale is put back afterwards.
    int SaveGalleryAt200() {
        DWORD previous = 0, size = sizeof(previous);
        const bool had = RegGetValueW(HKEY_CURRENT_USER, kDesktopSettingsKey, kLogPixelsValue, RRF_RT_REG_DWORD,
                                      nullptr, &previous, &size) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopSettingsKey, kLogPixelsValue, REG_DWORD, &kDpiAt200,
                        sizeof(kDpiAt200));
        const std::optional<ChildProcess> gallery = ChildProcess::Start(L"\"" + GalleryPath() + L"\"");
        const HWND dialog = !gallery ? nullptr : WaitForWindow(gallery->id(), kWindowTimeout, [](HWND window) {
            return TextOf(window) == kGalleryCaption;
        });
        if (dialog != nullptr) {
            SetForegroundWindow(dialog);
            PointAt(dialog, IDC_GALLERY_STATUS);
            Settle();
            SaveWindow(dialog, L"9j-gallery-200.bmp", L"the controls gallery at 200 %");
            PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            gallery->WaitForExit(kExitTimeout);
        } else {
            Saved({}, false, L"the controls gallery at 200 %: it did not show");
        }
        if (had) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kDesktopSettingsKey, kLogPixelsValue, REG_DWORD, &previous,
                            sizeof(previous));
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktopSettingsKey, kLogPixelsValue);
        }
        for (const std::wstring& name : m_pictures) AppendLine(m_out + kPictureListName, name);
        return m_failed ? 1 : 0;
    }

private:
    void Tell(const std::wstring& line) const { AppendLine(m_out + kReportName, line); }

    int Fail(const std::wstring& why) {
        Tell(L"FAILED: " + why);
        return 1;
    }

    void Saved(const std::wstring& name, bool ok, const std::wstring& what) {
        if (ok) {
            m_pictures.push_back(name);
            Tell(L"picture " + m_out + name + L" (" + what + L")");
        } else {
            m_failed = true;
            Tell(L"FAILED: no picture of " + what);
        }
    }

    void SaveScreen(const std::wstring& name, const std::wstring& what) {
        Saved(name, SaveScreenPicture((m_out + name).c_str()), what);
    }

    // The window alone, as the screen shows it, if it is still there after
    // the picture was taken (else the picture may show what came after it).
    void SaveWindow(HWND window, const std::wstring& name, const std::wstring& what) {
        RECT frame{};
        const bool taken = GetWindowRect(window, &frame) && SaveScreenArea(frame, (m_out + name).c_str());
        if (taken && !IsWindowVisible(window)) {
            DeleteFileW((m_out + name).c_str());
            Saved(name, false, what + L": it went before it could be pictured");
            return;
        }
        Saved(name, taken, what);
    }

    void SaveSplash(DWORD processId) {
        const HWND splash = WaitFor(
            kWindowTimeout, [&] { return FindSplash(processId); }, kSplashPoll);
        if (splash == nullptr) {
            Saved({}, false, L"the splash: no splash window was shown");
            return;
        }
        Settle(kSplashSettleTime);
        SaveWindow(splash, L"0-splash.bmp", L"the splash");
    }

    // The companion library's message is up while the main dialog
    // initialises, which includes the update check: scripts/demo.sh has the
    // update page answer after two seconds, so it is alone on screen that long.
    void SaveStartUpMessage(DWORD processId) {
        const HWND message = WaitFor(kWindowTimeout, [&] { return FindWindowShowingText(processId, kStartUpText); });
        if (message == nullptr) {
            Saved({}, false, L"the start-up message: no window showed it");
            return;
        }
        Settle();
        if (FindMessageBox(processId) != nullptr) {
            Saved({}, false, L"the start-up message: a message box came over it at once");
            return;
        }
        SaveWindow(message, L"1-startup-message.bmp", L"the start-up message");
    }

    // Opens a drop-down menu the way a person does, with Alt and its letter;
    // should the keys not reach the program, with the system command they
    // would have made.
    void SaveMenu(HWND dialog, DWORD processId, WORD letter, const std::wstring& name, const std::wstring& what) {
        SetForegroundWindow(dialog);
        SendKeys({{VK_MENU, true}, {letter, true}, {letter, false}, {VK_MENU, false}});
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
        Settle();
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
        Settle();
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
        Settle();
        SaveScreen(L"3-update-reminder.bmp", L"the reminder: " + OneLine(MessageBoxText(reminder)));
        PostMessageW(GetDlgItem(reminder, IDOK), BM_CLICK, 0, 0);
    }

    // A visible top-level window of the process that the predicate accepts.
    template <typename Predicate>
    static HWND WaitForWindow(DWORD processId, std::chrono::milliseconds timeout, Predicate accepts) {
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
        Settle();
        SaveScreen(L"7-about-box.bmp", L"the About box");
        PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitFor(kBoxTimeout, [&] { return !IsWindowVisible(box); });
    }

    // The viewer shows its frame first and fills its contents tree a moment
    // later. Its pages need Wine's HTML engine, which the demo leaves out
    // (WINEDLLOVERRIDES mshtml=), so the page itself stays empty.
    void SaveHelp(HWND dialog, DWORD processId) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
        const HWND viewer =
            WaitForWindow(processId, kHelpTimeout, [](HWND window) { return ClassNameOf(window) == kHelpViewerClass; });
        if (viewer == nullptr) {
            Saved({}, false, L"the help: no \"HH Parent\" window opened");
            return;
        }
        SetForegroundWindow(viewer);
        WaitFor(kHelpTimeout, [&] {
            for (const HWND child : ChildWindowsOf(viewer)) {
                if (ClassNameOf(child) == kHelpContentsClass && IsWindowVisible(child) &&
                    SendWithTimeout(child, TVM_GETCOUNT) > 0)
                    return true;
            }
            return false;
        });
        Settle();
        SaveScreen(L"8-help.bmp", L"the help: " + TextOf(viewer));
        PostMessageW(viewer, WM_CLOSE, 0, 0);
        WaitFor(kBoxTimeout, [&] { return !IsWindow(viewer); });
    }

    // The pointer rests on the centre of the dialog's control.
    static void PointAt(HWND dialog, int controlId) { SendPointerTo(CentreOf(GetDlgItem(dialog, controlId))); }

    // Presses the gallery's button that opens a dialog, pictures the dialog
    // and cancels it.
    void SaveGalleryDialog(DWORD processId, HWND gallery, int buttonId, const std::wstring& name,
                           const std::wstring& what) {
        PostMessageW(GetDlgItem(gallery, buttonId), BM_CLICK, 0, 0);
        const HWND opened = WaitForWindow(processId, kBoxTimeout, [&](HWND window) {
            return window != gallery && ClassNameOf(window) == kDialogClass;
        });
        if (opened == nullptr) {
            Saved({}, false, what + L": it did not open");
            return;
        }
        Settle(kDialogFillTime);
        SaveScreen(name, what);
        PostMessageW(opened, WM_COMMAND, IDCANCEL, 0);
        WaitFor(kBoxTimeout, [&] { return !IsWindow(opened); });
    }

    // What a screen reader hears of the gallery's kinds of control, in the report.
    void TellWhatAScreenReaderHears(HWND dialog) const {
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        for (const int id : {IDC_BUTTON_STANDARD, IDC_BUTTON_ICON_ONLY, IDC_BUTTON_CHECKBOX, IDC_BUTTON_MENU,
                             IDC_BUTTON_LINK, IDC_LINK_WEB})
            Tell(L"a screen reader hears control " + std::to_wstring(id) + L": " +
                 Describe(Hear(GetDlgItem(dialog, id))));
        if (SUCCEEDED(com)) CoUninitialize();
    }

    // The controls gallery after the utility: the dialog, then the owner-drawn
    // buttons in the states a person sees only while using them.
    void WalkGallery() {
        const std::optional<ChildProcess> gallery = ChildProcess::Start(L"\"" + GalleryPath() + L"\"");
        if (!gallery) {
            Saved({}, false, L"the controls gallery: it did not start");
            return;
        }
        const HWND dialog =
            WaitForWindow(gallery->id(), kWindowTimeout, [](HWND window) { return TextOf(window) == kGalleryCaption; });
        if (dialog == nullptr) {
            Saved({}, false, L"the controls gallery: its dialog did not appear");
            return;
        }
        SetForegroundWindow(dialog);
        PointAt(dialog, IDC_GALLERY_STATUS);
        Settle();
        SaveWindow(dialog, L"9a-gallery.bmp", L"the controls gallery");
        TellWhatAScreenReaderHears(dialog);

        PointAt(dialog, IDC_BUTTON_FLAT);
        Settle();
        SaveWindow(dialog, L"9b-gallery-hovered.bmp", L"a hovered flat button");

        PointAt(dialog, IDC_THEMED_STANDARD);
        Settle();
        SaveWindow(dialog, L"9k-gallery-themed-hovered.bmp", L"a hovered button in the system's look");

        PointAt(dialog, IDC_GALLERY_STATUS);
        SendWithTimeout(GetDlgItem(dialog, IDC_BUTTON_ICON_BESIDE), BM_SETSTATE, TRUE);
        Settle();
        SaveWindow(dialog, L"9c-gallery-pressed.bmp", L"a pressed button");
        SendWithTimeout(GetDlgItem(dialog, IDC_BUTTON_ICON_BESIDE), BM_SETSTATE, FALSE);

        PostMessageW(GetDlgItem(dialog, IDC_BUTTON_CHECKBOX), BM_CLICK, 0, 0);
        Settle();
        SaveWindow(dialog, L"9d-gallery-checked.bmp", L"a checked checkbox button");

        PostMessageW(GetDlgItem(dialog, IDC_BUTTON_MENU), BM_CLICK, 0, 0);
        if (WaitFor(kMenuTimeout, [&] { return FindOpenMenu(gallery->id()); }) == nullptr) {
            Saved({}, false, L"the menu button's popup menu: it did not open");
        } else {
            Settle();
            SaveScreen(L"9e-gallery-menu.bmp", L"the menu button's popup menu");
            // The menu's own loop takes the key and closes the menu.
            PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitFor(kMenuTimeout, [&] { return FindOpenMenu(gallery->id()) == nullptr; });
        }

        // Rested on, and moved on a pixel as a person would should the tip
        // not come (the first move may reach the button before the closed
        // menu's loop has let the pointer go).
        HWND tip = nullptr;
        for (LONG nudge = 0; nudge < 3 && tip == nullptr; ++nudge) {
            const POINT centre = CentreOf(GetDlgItem(dialog, IDC_BUTTON_TOOLTIP));
            SendPointerTo({centre.x + nudge, centre.y});
            tip = WaitForWindow(gallery->id(), kTooltipTimeout,
                                [](HWND window) { return ClassNameOf(window) == kTooltipClass; });
        }
        Settle();
        if (tip == nullptr) {
            Saved({}, false, L"the tooltip: it did not show");
        } else {
            SaveScreen(L"9f-gallery-tooltip.bmp", L"the tooltip button's tip");
        }

        PointAt(dialog, IDC_LINK_WEB);
        Settle();
        SaveWindow(dialog, L"9g-gallery-link-hovered.bmp", L"a hovered hyperlink label");
        PointAt(dialog, IDC_GALLERY_STATUS);

        SaveGalleryDialog(gallery->id(), dialog, IDC_BROWSE_FOLDER, L"9h-folder-browser.bmp",
                          L"the folder browser at its start folder");
        SaveGalleryDialog(gallery->id(), dialog, IDC_FILE_OPEN_FILES_ONLY, L"9i-file-dialog-files-only.bmp",
                          L"the file dialog with the folder filter on");

        PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (gallery->WaitForExit(kExitTimeout)) {
            Tell(L"closed the gallery with Close");
        } else {
            Saved({}, false, L"the gallery's end: it did not end after Close");
        }
    }

    std::wstring m_out;
    std::vector<std::wstring> m_pictures;
    bool m_failed = false;
};

// The demo's programs and add-ins date from before the update the local
// update page names (Vornix_2023_Update2023_06_30.exe).
FILETIME DemoFilesDate() { return UtcFileTime(2023, 3, 15, 12); }

// A date long past: the web check is due at the next start.
constexpr wchar_t kDueDate[] = L"2023-01-01 00:00:00";

int InstallDemo(const wchar_t* updatePage) {
    std::vector<Step> steps = InstallSuite();
    if (updatePage != nullptr) steps.push_back(WriteUpdatePageAddress(updatePage));
    steps.push_back(WriteProductUpdate(L"1"));
    steps.push_back(PlaceHelpFile());
    for (Step& step : InstallSuiteFiles(DemoFilesDate())) steps.push_back(std::move(step));
    steps.push_back(ForgetSchedule());
    steps.push_back(WriteScheduleDate(kDueDate));
    const std::wstring commonFiles = PlatformCommonFilesFolder();
    if (commonFiles.empty())
        steps.push_back({false, L"CommonFilesDir is not set in the registry"});
    else
        steps.push_back(PlaceCompanionLibrary(commonFiles));
    Print(L"Demo installation:");
    for (const Step& step : steps) Print((step.ok ? L"  " : L"  FAILED: ") + step.description);
    return AllSucceeded(steps) ? 0 : 1;
}

// Runs a copy of this program with option on a virtual desktop of its own
// and waits for it; its report goes on in the output folder.
int RunOnDesktop(const wchar_t* virtualDesktop, const wchar_t* option, const std::wstring& out) {
    const std::wstring driver = DriverPath();
    const std::optional<ChildProcess> desktop =
        ChildProcess::Start(std::wstring(L"explorer.exe /desktop=") + virtualDesktop + L" \"" + driver + L"\" " +
                            option + L" \"" + out + L"\"");
    if (!desktop) {
        Print(L"cannot start explorer.exe, error " + std::to_wstring(GetLastError()));
        return 1;
    }
    // explorer.exe is only the desktop: the demo is the copy of this program it starts.
    const std::wstring driverName = driver.substr(driver.find_last_of(L'\\') + 1);
    const DWORD demoId = WaitFor(kDesktopStartTimeout, [&]() -> DWORD {
        const std::vector<DWORD> found = ChildProcessesNamed(desktop->id(), driverName);
        return found.empty() ? 0 : found.front();
    });
    const afx::unique_handle walker{
        demoId == 0 ? nullptr : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, demoId)};
    if (!walker) {
        Print(L"the demo did not start on the virtual desktop");
        return 1;
    }
    DWORD exitCode = 1;
    if (WaitForSingleObject(walker.get(), static_cast<DWORD>(kDemoTimeout.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(walker.get(), &exitCode)) {
        TerminateProcess(walker.get(), 1);
        Print(L"the demo did not end in time");
    }
    desktop->WaitForExit(kExitTimeout);  // else ended with its owner
    return static_cast<int>(exitCode);
}

int RunDemo(const std::wstring& outFolder) {
    const std::wstring out = WithoutTrailingBackslash(WindowsFullPath(outFolder));
    if (!CreateFolderTree(out)) {
        Print(L"cannot create " + out);
        return 1;
    }
    const std::wstring companion = MakerFolderIn(PlatformCommonFilesFolder()) + kCompanionName;
    if (!AfxFileExists(companion)) {
        Print(L"no demo installation here (" + companion + L" is missing): run --install-demo first");
        return 1;
    }
    DeleteFilesIn(out, L"*.bmp");
    DeleteFileW((out + L"\\" + kPictureListName).c_str());

    const int walked = RunOnDesktop(kVirtualDesktop, kDemoOnDesktopOption, out);
    const int at200 = RunOnDesktop(kLargeVirtualDesktop, kGalleryAt200Option, out);
    std::printf("%ls", FromUtf8(FileBytes(out + L"\\" + kReportName)).c_str());
    return walked != 0 ? walked : at200;
}

int Usage() {
    Print(L"usage: VornixDemo.exe --install-demo [PAGE] | --demo OUTDIR");
    return 2;
}

}  // namespace
}  // namespace demo

int wmain(int argc, wchar_t** argv) {
    const std::wstring_view mode = argc >= 2 ? argv[1] : L"";
    if ((argc == 2 || argc == 3) && mode == demo::kInstallDemoOption)
        return demo::InstallDemo(argc == 3 ? argv[2] : nullptr);
    if (argc == 3 && mode == demo::kDemoOption) return demo::RunDemo(argv[2]);
    if (argc == 3 && mode == demo::kDemoOnDesktopOption) return demo::DesktopDemo(argv[2]).Run();
    if (argc == 3 && mode == demo::kGalleryAt200Option) return demo::DesktopDemo(argv[2]).SaveGalleryAt200();
    return demo::Usage();
}
