// The About box, the three ways into the help file, the splash picture at
// start-up and the minimised main dialog, as a person meets them.
//
// Which page the help viewer shows cannot be read from another process
// (without Wine's HTML engine every page looks alike), so the help tests
// register html_help_recorder.dll (built from tests/win) as the HTML Help
// control: it notes each HtmlHelpW call and hands it on to the real control.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <winver.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "paths.h"
#include "utf8.h"
#include "utility_test.h"

namespace e2e {
namespace {

constexpr int kAboutTextId = 1011;
constexpr wchar_t kAboutCaption[] = L"About Vornix Utility";
// The framework names the application after the executable.
constexpr wchar_t kApplicationName[] = L"VornixUtility64";
constexpr wchar_t kProductUpdateValue[] = L"ProductUpdate";
constexpr wchar_t kHelpViewerClass[] = L"HH Parent";
constexpr wchar_t kMainDialogPage[] = L"main_window.html";
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
constexpr UINT kDisplayToc = 1;    // HH_DISPLAY_TOC
constexpr wchar_t kHtmlHelpClassKey[] =
    L"Software\\Classes\\CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr wchar_t kHtmlHelpLogVariable[] = L"VORNIX_HTML_HELP_LOG";
constexpr WORD kSplashBitmapId = 157;
constexpr std::chrono::milliseconds kBoxTimeout = 5s;
// The viewer loads the help file and the browser control first.
constexpr std::chrono::milliseconds kHelpTimeout = 10s;

std::wstring HelpFilePath() { return std::wstring(demo::kAppFolder) + L"Help\\VornixUtility.chm"; }

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH]{};
  GetTempPathW(MAX_PATH, folder);
  return folder + std::wstring(name);
}

HWND VisibleWindowOfClass(DWORD processId, const wchar_t* className) {
  for (const HWND window : VisibleTopLevelWindowsOf(processId))
    if (ClassNameOf(window) == className) return window;
  return nullptr;
}

void ExpectGoesAway(HWND window) {
  EXPECT_TRUE(WaitFor(kBoxTimeout, [&] { return !IsWindow(window); }));
}

// A value under HKEY_LOCAL_MACHINE set (or deleted, given nothing) for one
// test; what was there before comes back afterwards.
class ScopedMachineValue {
 public:
  ScopedMachineValue(std::wstring key, std::wstring name, const std::optional<std::wstring>& text)
      : key_(std::move(key)), name_(std::move(name)) {
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                     &oldType_, nullptr, &bytes) == ERROR_SUCCESS) {
      old_.emplace(bytes, '\0');
      RegGetValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                   &oldType_, old_->data(), &bytes);
    }
    if (text) {
      Write(REG_SZ, text->c_str(), static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t)));
    } else {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str());
    }
  }
  ~ScopedMachineValue() {
    if (old_) {
      Write(oldType_, old_->data(), static_cast<DWORD>(old_->size()));
    } else {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str());
    }
  }
  ScopedMachineValue(const ScopedMachineValue&) = delete;
  ScopedMachineValue& operator=(const ScopedMachineValue&) = delete;

 private:
  void Write(DWORD type, const void* data, DWORD bytes) const {
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, key_.c_str(), name_.c_str(), type, data, bytes);
  }

  std::wstring key_;
  std::wstring name_;
  DWORD oldType_ = 0;
  std::optional<std::string> old_;
};

// Every test starts the utility as on its first run: the update check then
// only plans itself, and no update box comes in the way.
class QuietStart : public UtilityTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(UtilityTest::SetUp());
    ASSERT_TRUE(Succeeded({demo::ForgetSchedule()}));
  }
};

// --- The About box ---------------------------------------------------------

// The version strings of the utility's executable that the About box shows.
struct ProgramVersion {
  std::wstring description;
  std::wstring fileVersion;
  std::wstring productVersion;
  std::wstring copyright;
};

// Versions as the About box writes them: the resource compiler's
// "2023, 0, 1, 0" dotted, without trailing zero parts but with one dot left.
std::wstring Dotted(std::wstring version) {
  if (version.find(L", ") != std::wstring::npos) {
    std::erase(version, L' ');
    for (wchar_t& c : version)
      if (c == L',') c = L'.';
  }
  while (version.ends_with(L".0") && version.find(L'.') != version.size() - 2)
    version.resize(version.size() - 2);
  return version;
}

// Read with the platform's own reader. The driver links no version
// library, so the reader is loaded by name.
ProgramVersion ReadProgramVersion() {
  const Module library{LoadLibraryW(L"version.dll")};
  const auto proc = [&](const char* name) {
    return reinterpret_cast<void (*)()>(GetProcAddress(library.get(), name));
  };
  const auto size =
      reinterpret_cast<decltype(&GetFileVersionInfoSizeW)>(proc("GetFileVersionInfoSizeW"));
  const auto read = reinterpret_cast<decltype(&GetFileVersionInfoW)>(proc("GetFileVersionInfoW"));
  const auto query = reinterpret_cast<decltype(&VerQueryValueW)>(proc("VerQueryValueW"));
  if (size == nullptr || read == nullptr || query == nullptr) return {};
  const std::wstring path = UtilityPath();
  DWORD ignored = 0;
  std::vector<BYTE> block(size(path.c_str(), &ignored));
  if (block.empty() || !read(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
    return {};

  void* value = nullptr;
  UINT length = 0;
  if (!query(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return {};
  const auto* translation = static_cast<const WORD*>(value);
  wchar_t prefix[32]{};
  swprintf(prefix, 32, L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
  const auto text = [&](const wchar_t* key) -> std::wstring {
    return query(block.data(), (prefix + std::wstring(key)).c_str(), &value, &length) &&
                   value != nullptr
               ? static_cast<const wchar_t*>(value)
               : L"";
  };
  return {text(L"FileDescription"), Dotted(text(L"FileVersion")), Dotted(text(L"ProductVersion")),
          text(L"LegalCopyright")};
}

std::wstring AboutText(const ProgramVersion& version, const std::wstring& updateSuffix) {
  return version.description + L" Version " + version.fileVersion + L"\n\nVELKOR 2D Version " +
         version.productVersion + updateSuffix + L"\n\n" + version.copyright;
}

enum class AboutEntry { SystemMenu, HelpMenu };

std::string NameOf(AboutEntry entry) {
  return entry == AboutEntry::SystemMenu ? "SystemMenu" : "HelpMenu";
}

void PrintTo(AboutEntry entry, std::ostream* out) { *out << NameOf(entry); }

// Chooses the About item and returns the dialog box that then appears beside
// the main dialog, or nullptr when none does.
HWND OpenAboutBox(DWORD processId, HWND dialog, AboutEntry entry) {
  if (entry == AboutEntry::SystemMenu)
    PostMessageW(dialog, WM_SYSCOMMAND, kAboutSystemCommand, 0);
  else
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kHelpAboutCommand, 0), 0);
  return WaitFor(kBoxTimeout, [&]() -> HWND {
    for (const HWND window : VisibleTopLevelWindowsOf(processId))
      if (window != dialog && ClassNameOf(window) == kDialogClass) return window;
    return nullptr;
  });
}

class AboutBox : public QuietStart {};
class AboutBoxEntry : public AboutBox, public testing::WithParamInterface<AboutEntry> {};

TEST_P(AboutBoxEntry, ShowsTheProgramsVersionModallyOverTheMainDialog) {
  const ScopedMachineValue noUpdate(demo::kSuiteKey, kProductUpdateValue, std::nullopt);
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  const HWND box = OpenAboutBox(process().id(), dialog, GetParam());
  ASSERT_NE(box, nullptr) << "no About box within " << kBoxTimeout.count() << " ms";
  EXPECT_EQ(TextOf(box), kAboutCaption);
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
  EXPECT_FALSE(IsWindowEnabled(dialog)) << "the About box is modal";
  const ProgramVersion version = ReadProgramVersion();
  ASSERT_FALSE(version.fileVersion.empty()) << "the test could not read the executable's version";
  EXPECT_EQ(TextOf(GetDlgItem(box, kAboutTextId)), AboutText(version, L""));

  PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
  ExpectGoesAway(box);
  EXPECT_TRUE(WaitFor(kBoxTimeout, [&] { return IsWindowEnabled(dialog) != FALSE; }));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(process().IsRunning());
}

INSTANTIATE_TEST_SUITE_P(BothEntries, AboutBoxEntry,
                         testing::Values(AboutEntry::SystemMenu, AboutEntry::HelpMenu),
                         [](const testing::TestParamInfo<AboutEntry>& entry) {
                           return NameOf(entry.param);
                         });

TEST_F(AboutBox, NamesTheSuitesUpdateLevel) {
  const ScopedMachineValue update(demo::kSuiteKey, kProductUpdateValue, L"2");
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  const HWND box = OpenAboutBox(process().id(), dialog, AboutEntry::HelpMenu);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(GetDlgItem(box, kAboutTextId)),
            AboutText(ReadProgramVersion(), L"    Update 2"));
}

// --- Help --------------------------------------------------------------------

struct HelpCall {
  UINT command = 0;
  HWND caller = nullptr;
  std::wstring fileOrTopic;
  friend bool operator==(const HelpCall&, const HelpCall&) = default;
  friend void PrintTo(const HelpCall& call, std::ostream* out) {
    *out << "{command " << call.command << ", caller " << call.caller << ", \""
         << Utf8(call.fileOrTopic) << "\"}";
  }
};

std::wstring HtmlHelpRecorderPath() { return DriverFolder() + L"html_help_recorder.dll"; }

// html_help_recorder.dll registered as the HTML Help control for the
// utility started while this object lives.
class RecordedHtmlHelp {
 public:
  RecordedHtmlHelp()
      : registration_(kHtmlHelpClassKey, L"", HtmlHelpRecorderPath()),
        log_(TempPath(L"vornix-html-help.log")) {
    Forget();
    SetEnvironmentVariableW(kHtmlHelpLogVariable, log_.c_str());
  }
  ~RecordedHtmlHelp() { SetEnvironmentVariableW(kHtmlHelpLogVariable, nullptr); }
  RecordedHtmlHelp(const RecordedHtmlHelp&) = delete;
  RecordedHtmlHelp& operator=(const RecordedHtmlHelp&) = delete;

  [[nodiscard]] std::vector<HelpCall> Calls() const {
    std::vector<HelpCall> calls;
    const std::wstring text = FromUtf8(FileBytes(log_));
    size_t end = 0;
    for (size_t start = 0; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
      if (std::optional<HelpCall> call = Parsed(text.substr(start, end - start)))
        calls.push_back(std::move(*call));
    }
    return calls;
  }
  void Forget() const { DeleteFileW(log_.c_str()); }

 private:
  // "<command> TAB <caller as a decimal number> TAB <file or topic>"
  static std::optional<HelpCall> Parsed(const std::wstring& line) {
    const size_t first = line.find(L'\t');
    const size_t second = first == std::wstring::npos ? first : line.find(L'\t', first + 1);
    if (second == std::wstring::npos) return std::nullopt;
    const auto caller = static_cast<UINT_PTR>(std::wcstoull(line.c_str() + first + 1, nullptr, 10));
    return HelpCall{static_cast<UINT>(std::wcstoul(line.c_str(), nullptr, 10)),
                    reinterpret_cast<HWND>(caller), line.substr(second + 1)};
  }

  ScopedMachineValue registration_;
  std::wstring log_;
};

enum class HelpWay { F1Key, HelpMenu, HelpButton };
constexpr HelpWay kEveryHelpWay[] = {HelpWay::F1Key, HelpWay::HelpMenu, HelpWay::HelpButton};

const char* NameOf(HelpWay way) {
  switch (way) {
    case HelpWay::F1Key: return "F1 key";
    case HelpWay::HelpMenu: return "Help menu item";
    case HelpWay::HelpButton: return "Help button";
  }
  return "?";
}

// F1 as typed: Wine turns only real input into WM_HELP, not a posted key.
void PressF1(HWND dialog) {
  SetForegroundWindow(dialog);
  WaitFor(kBoxTimeout, [&] { return GetForegroundWindow() == dialog; });
  INPUT keys[2]{};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = VK_F1;
  }
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

void AskForHelp(HWND dialog, HelpWay way) {
  switch (way) {
    case HelpWay::F1Key: PressF1(dialog); break;
    case HelpWay::HelpMenu:
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kHelpContentsCommand, 0), 0);
      break;
    case HelpWay::HelpButton:
      PostMessageW(GetDlgItem(dialog, kHelpButtonId), BM_CLICK, 0, 0);
      break;
  }
}

class HelpTest : public QuietStart {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(QuietStart::SetUp());
    ASSERT_TRUE(FileExists(HtmlHelpRecorderPath()))
        << "html_help_recorder.dll (tests/win) is not built";
  }
};

TEST_F(HelpTest, EachWayOpensTheHelpViewerOnItsPage) {
  ASSERT_TRUE(Succeeded({demo::PlaceHelpFile()}));
  const RecordedHtmlHelp help;
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  for (const HelpWay way : kEveryHelpWay) {
    SCOPED_TRACE(NameOf(way));
    help.Forget();
    AskForHelp(dialog, way);
    const HWND viewer = WaitFor(
        kHelpTimeout, [&] { return VisibleWindowOfClass(process().id(), kHelpViewerClass); });
    ASSERT_NE(viewer, nullptr) << "no help viewer within " << kHelpTimeout.count() << " ms";
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), dialog);
    // F1 and the menu item open the contents, the button the main dialog's page.
    const HelpCall expected =
        way == HelpWay::HelpButton
            ? HelpCall{kDisplayTopic, dialog, HelpFilePath() + L"::/" + kMainDialogPage}
            : HelpCall{kDisplayToc, dialog, HelpFilePath()};
    EXPECT_EQ(help.Calls(), std::vector<HelpCall>{expected});
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    ExpectGoesAway(viewer);
  }
}

// F1 is the application's command and reports with no owner under the
// platform's caption; the dialog's menu item and button report over the
// dialog under the application's name.
TEST_F(HelpTest, AMissingHelpFileIsReportedByEachWayAndNothingOpens) {
  DeleteFileW(HelpFilePath().c_str());
  ASSERT_FALSE(FileExists(HelpFilePath()));
  const RecordedHtmlHelp help;
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  for (const HelpWay way : kEveryHelpWay) {
    SCOPED_TRACE(NameOf(way));
    AskForHelp(dialog, way);
    const HWND box = WaitFor(kBoxTimeout, [&] { return FindMessageBox(process().id()); });
    ASSERT_NE(box, nullptr) << "no message box within " << kBoxTimeout.count() << " ms";
    EXPECT_EQ(MessageBoxText(box), L"Couldn't find help file: \n" + HelpFilePath() +
                                       L"\n\nPlease check software installation.");
    const bool fromTheApplication = way == HelpWay::F1Key;
    EXPECT_EQ(GetWindow(box, GW_OWNER), fromTheApplication ? nullptr : dialog);
    EXPECT_EQ(TextOf(box), fromTheApplication ? L"Error" : kApplicationName);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ExpectGoesAway(box);
  }
  EXPECT_TRUE(help.Calls().empty()) << "the HTML Help control was called";
  EXPECT_EQ(VisibleWindowOfClass(process().id(), kHelpViewerClass), nullptr);
}

// --- Start-up and the minimised dialog ---------------------------------------

// Width and height of a bitmap resource of the utility's executable.
std::optional<std::pair<LONG, LONG>> BitmapSizeInUtility(WORD id) {
  const Module module{LoadLibraryExW(UtilityPath().c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)};
  const HRSRC found =
      FindResourceW(module.get(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2));  // RT_BITMAP
  const HGLOBAL loaded = found != nullptr ? LoadResource(module.get(), found) : nullptr;
  const auto* header =
      static_cast<const BITMAPINFOHEADER*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  if (header == nullptr) return std::nullopt;
  return std::pair{header->biWidth, std::abs(header->biHeight)};
}

// Width and height of a .bmp file the spy wrote.
std::optional<std::pair<LONG, LONG>> PictureSize(const std::wstring& path) {
  const std::string bytes = FileBytes(path);
  if (bytes.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER header{};
  std::memcpy(&header, bytes.data() + sizeof(BITMAPFILEHEADER), sizeof header);
  return std::pair{header.biWidth, std::abs(header.biHeight)};
}

class StartUp : public QuietStart {};

// The splash lives only until the next change of second, too briefly to be
// sure of catching it from outside; the spy records it, with a picture of it.
TEST_F(StartUp, SplashPictureShowsBeforeTheMainDialogAndGoesFirst) {
  ASSERT_TRUE(Succeeded({demo::PlaceCompanionLibrary(demo::PlatformCommonFilesFolder())}));
  const std::wstring folder = TempPath(L"vornix-splash\\");
  ASSERT_TRUE(CreateFolderTree(folder));
  DeleteFilesIn(folder);
  UtilityLaunch launch;
  launch.spyLog = folder + L"spy.log";
  launch.spyPictures = folder;
  std::wstring error;
  const std::optional<RunningUtility> utility = RunningUtility::Launch(launch, error);
  ASSERT_TRUE(utility.has_value()) << Utf8(error);
  const HWND dialog =
      WaitFor(kWindowTimeout, [&] { return FindMainDialog(utility->process().id()); });
  ASSERT_NE(dialog, nullptr);

  std::vector<SpyEvent> events;
  WaitFor(kSpyTimeout, [&] {
    events = ReadSpyLog(launch.spyLog);
    return FirstIndex(events, L"show", dialog) < events.size();
  });
  const size_t splashShown = FirstSplashShown(events);
  ASSERT_LT(splashShown, events.size()) << "no splash window was shown";
  const HWND splash = events[splashShown].window;
  EXPECT_LT(splashShown, FirstIndex(events, L"create", dialog))
      << "the splash comes before the main dialog";
  EXPECT_LT(FirstIndex(events, L"destroy", splash), FirstIndex(events, L"show", dialog))
      << "the splash is gone before the main dialog shows";
  EXPECT_FALSE(IsWindow(splash));

  const auto bitmap = BitmapSizeInUtility(kSplashBitmapId);
  ASSERT_TRUE(bitmap.has_value()) << "bitmap 157 is missing";
  EXPECT_EQ(PictureSize(folder + SpyPictureName(splash)), bitmap)
      << "the splash window is the picture's size";
}

// Minimising goes to the platform's default handling like every system
// command other than the About item. The icon the minimised dialog gives for
// dragging is not checked: under Wine a WM_QUERYDRAGICON sent from another
// process fails (SendMessageTimeout returns 0).
TEST_F(QuietStart, MainDialogMinimisesAndComesBack) {
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAndWaitForMainDialog(dialog));

  PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitFor(kBoxTimeout, [&] { return IsIconic(dialog) != FALSE; }));
  PostMessageW(dialog, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(WaitFor(kBoxTimeout, [&] { return IsIconic(dialog) == FALSE; }));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_TRUE(Responds(dialog));
}

}  // namespace
}  // namespace e2e
