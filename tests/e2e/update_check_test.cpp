// The web update check as a user meets it at start-up: the reminder
// schedule in the registry, the offer of a newer update and the answers to
// it, and a start-up that neither a bad stored date nor a bad, slow or huge
// update page can stop.
//
// The utility fetches the local test page (tests/fixtures/update_server.py)
// that tests/run-windows-tests.sh starts and names in the environment; the
// page's mode is switched per test through the server's mode file, and what
// the server saw is read from its logs. Without the server the tests skip.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "failure_pictures.h"
#include "paths.h"
#include "standard_icon.h"
#include "test_update_server.h"
#include "utf8.h"
#include "utility_test.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;
using Seconds = __time64_t;

constexpr wchar_t kSuiteCaption[] = L"Vornix 2023";
constexpr wchar_t kOfferText[] =
    L"A newer version of Vornix 2023 is available.\n\nDo you want to download it from the "
    L"website?\n\nIf you Cancel, you will not be prompted again.";
constexpr wchar_t kNoMoreRemindersText[] = L"You will not be reminded of any new updates.";
// The framework reports an error the program does not catch under the
// executable's name.
constexpr wchar_t kFrameworkCaption[] = L"VornixUtility64";
constexpr DWORD kUnspecifiedFailure = 0x80004005;

constexpr int kDefaultIntervalDays = 7;
constexpr int kCancelPostponementDays = 365;
// The test page in mode "marker" names Vornix_2023_Update2023_06_30.exe.
constexpr int kPublished[] = {2023, 6, 30};
// The installed files are older than that unless a test says otherwise.
constexpr int kInstalled[] = {2023, 6, 1};

// The update page may take 10 s; the splash's second and the process start
// come on top.
constexpr std::chrono::milliseconds kStartUpWithHungServer = 12s;
// Reading the first MiB of a huge page, with the splash's second.
constexpr std::chrono::milliseconds kStartUpWithHugePage = 6s;
constexpr std::chrono::milliseconds kBoxTimeout = 5s;
constexpr std::chrono::milliseconds kCursorSettle = 300ms;
constexpr SIZE_T kMiB = 1u << 20;
// Wine's own share is about 30 MiB; the whole page as text would be 200.
constexpr SIZE_T kPeakWorkingSetLimit = 64 * kMiB;

// --- local calendar times, computed as the program computes them ---

Seconds LocalTime(int year, int month, int day) {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_isdst = -1;
  return _mktime64(&parts);
}

Seconds Today() {
  const Seconds now = _time64(nullptr);
  std::tm parts{};
  _localtime64_s(&parts, &now);
  return LocalTime(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

// The schedule's stored form of today + days × 86400 s.
std::wstring DaysFromToday(int days) {
  const Seconds time = Today() + Seconds{days} * 86400;
  std::tm parts{};
  _localtime64_s(&parts, &time);
  wchar_t text[128]{};
  std::wcsftime(text, 128, L"%Y-%m-%d %H:%M:%S", &parts);
  return text;
}

FILETIME FileTimeOf(Seconds time) {
  const auto units = static_cast<std::uint64_t>(time) * 10000000u + 116444736000000000u;
  return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

FILETIME LocalMidnight(const int (&date)[3]) {
  return FileTimeOf(LocalTime(date[0], date[1], date[2]));
}

// --- the schedule as the registry holds it ---

std::optional<std::wstring> StoredDate() {
  wchar_t text[256]{};
  DWORD bytes = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, demo::kScheduleKey, demo::kScheduleDateValue, RRF_RT_REG_SZ,
                   nullptr, text, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return text;
}

// Only a REG_DWORD counts.
std::optional<DWORD> StoredDays() {
  DWORD days = 0;
  DWORD bytes = sizeof days;
  if (RegGetValueW(HKEY_CURRENT_USER, demo::kScheduleKey, demo::kScheduleDaysValue,
                   RRF_RT_REG_DWORD, nullptr, &days, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  return days;
}

// --- windows ---

HWND IconOf(HWND box) {
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) == L"Static" &&
        (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child))
      return child;
  }
  return nullptr;
}

// The standard icon the box shows, once the screen shows the expected one
// (it does shortly after the box appears) or the wait is over.
std::optional<StandardIcon> IconShownIn(HWND box, StandardIcon expected) {
  const HWND icon = IconOf(box);
  if (icon == nullptr) return std::nullopt;
  std::optional<StandardIcon> shown;
  WaitFor(kScreenTimeout, [&] {
    shown = StandardIconShownBy(icon);
    return shown == expected;
  });
  return shown;
}

// The standard buttons a message box has.
std::vector<int> ButtonsOf(HWND box) {
  std::vector<int> buttons;
  for (const int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    if (const HWND button = GetDlgItem(box, id); button != nullptr && IsWindowVisible(button))
      buttons.push_back(id);
  }
  return buttons;
}

bool IsMessageBoxCreation(const SpyEvent& event) {
  return event.kind == L"create" && IsStatic(event) && event.controlId == kMessageBoxTextId;
}

std::wstring SystemText(DWORD status) {
  wchar_t text[512]{};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                status, 0, text, 512, nullptr);
  while (length > 0 &&
         (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' '))
    --length;
  return {text, length};
}

// The cursor the utility shows with the mouse resting on one of its windows.
// Wine lets no other process read a cursor's picture (GetIconInfo and
// CopyCursor fail on it), but handles of one process can be compared: the
// arrow is one shared handle, the hourglass another.
HCURSOR CursorOver(HWND window) {
  RECT area{};
  if (!GetWindowRect(window, &area)) return nullptr;
  SetForegroundWindow(window);
  SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  // The window's thread sets its cursor when it handles the move.
  Sleep(static_cast<DWORD>(kCursorSettle.count()));
  CURSORINFO info{};
  info.cbSize = sizeof info;
  return GetCursorInfo(&info) ? info.hCursor : nullptr;
}

// A check the platform gives no means for: said, not failed.
void SkipCheck(const char* what) {
  std::printf("[ SKIPPED  ] check of %s\n", what);
  testing::Test::RecordProperty("SkippedCheck", what);
}

// Wine 8's MessageBox makes only system-modal boxes top-most and ignores
// MB_TOPMOST; whether the platform honours it is found out once, with a box
// of the driver's own.
DWORD WINAPI ShowTopMostProbe(void* caption) noexcept {
  MessageBoxW(nullptr, L"Top-most probe", static_cast<const wchar_t*>(caption), MB_OK | MB_TOPMOST);
  return 0;
}

bool PlatformMarksTopMostBoxes() {
  static const bool marked = [] {
    static constexpr wchar_t kCaption[] = L"Vornix e2e top-most probe";
    const KernelHandle thread{
        CreateThread(nullptr, 0, ShowTopMostProbe, const_cast<wchar_t*>(kCaption), 0, nullptr)};
    if (!thread) return false;
    const HWND box = WaitFor(kBoxTimeout, [] { return FindWindowW(kDialogClass, kCaption); });
    const bool topMost =
        box != nullptr && (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
    WaitForSingleObject(thread.get(), static_cast<DWORD>(kBoxTimeout.count()));
    return topMost;
  }();
  return marked;
}

// Milliseconds from the process's creation to now.
std::optional<std::chrono::milliseconds> SinceCreationOf(DWORD processId) {
  const KernelHandle process{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)};
  FILETIME created{}, exited{}, kernel{}, user{}, now{};
  if (!process || !GetProcessTimes(process.get(), &created, &exited, &kernel, &user))
    return std::nullopt;
  GetSystemTimeAsFileTime(&now);
  const auto units = [](const FILETIME& time) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) |
                                     time.dwLowDateTime);
  };
  return std::chrono::milliseconds((units(now) - units(created)) / 10000);
}

std::optional<SIZE_T> PeakWorkingSet(DWORD processId) {
  const KernelHandle process{
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)};
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!process || !K32GetProcessMemoryInfo(process.get(), &counters, sizeof counters) ||
      counters.PeakWorkingSetSize == 0)
    return std::nullopt;
  return counters.PeakWorkingSetSize;
}

// Every test starts from a fresh schedule, with the demo installation's
// programs and add-ins older than the update the page names, the page in
// mode "marker", and a web browser that only writes down what it is asked
// to open.
class UpdateCheckTest : public UtilityTest {
 protected:
  void SetUp() override {
    UtilityTest::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    server_ = TestUpdateServer::FromEnvironment();
    if (!server_) {
      GTEST_SKIP() << "No update server: run the tests through tests/run-windows-tests.sh.";
    }
    PlatformMarksTopMostBoxes();  // found out before the utility's windows are up
    ASSERT_TRUE(server_->SetMode(L"marker"));
    ASSERT_TRUE(Succeeded({demo::ForgetSchedule()}));
    ASSERT_TRUE(Succeeded(
        demo::InstallSuiteFiles(LocalMidnight(kInstalled), demo::kAppFolder, &installedFiles_)));
    ASSERT_NO_FATAL_FAILURE(RecordBrowser());
    requests_.emplace(server_->WindowsPath(L"requests.log"));
    connections_.emplace(server_->WindowsPath(L"connections.log"));
  }

  // Later tests of the driver start the utility without a test page: a
  // first start only sets the schedule up and fetches nothing.
  void TearDown() override {
    UtilityTest::TearDown();
    demo::ForgetSchedule();
  }

  // Stores the next check's date, nextInDays from today (by default due
  // since yesterday), and the interval when one is given.
  static void StoreSchedule(std::optional<DWORD> days = std::nullopt, int nextInDays = -1) {
    ASSERT_TRUE(Succeeded({demo::WriteScheduleDate(DaysFromToday(nextInDays))}));
    if (days) {
      ASSERT_TRUE(Succeeded({demo::WriteScheduleDays(*days)}));
    }
  }

  // Starts the utility, with the spy, fetching from the address.
  void Start(const std::wstring& address) {
    const ScopedVariable updatePage(kUpdateUrlVariable, address);
    started_ = Clock::now();
    ASSERT_NO_FATAL_FAILURE(StartUtility(Companion::Installed, Spy::On));
  }
  void Start() { Start(server_->url()); }

  // From the process's start to the moment the main dialog was found.
  [[nodiscard]] std::chrono::milliseconds dialogAfter() const { return dialogAfter_; }

  // Whichever comes first: a message box or the main dialog.
  [[nodiscard]] HWND FirstWindow() const {
    return WaitFor(kWindowTimeout, [&] {
      const HWND box = FindMessageBox(process().id());
      return box != nullptr ? box : FindMainDialog(process().id());
    });
  }

  // The message box that follows `previous`, once that has gone.
  [[nodiscard]] HWND NextMessageBox(HWND previous) const {
    return WaitFor(kBoxTimeout, [&]() -> HWND {
      const HWND box = FindMessageBox(process().id());
      return box != previous ? box : nullptr;
    });
  }

  // The offer, once it is on screen; a fatal failure when something else
  // comes first.
  void WaitForOffer(HWND& offer) const {
    offer = FirstWindow();
    ASSERT_NE(offer, nullptr) << "neither the offer nor the main dialog appeared";
    ASSERT_TRUE(IsMessageBox(offer)) << "the main dialog appeared without an offer";
    ASSERT_EQ(MessageBoxText(offer), kOfferText);
  }

  // The main dialog after the check, with no box shown at any time.
  void ExpectMainDialogWithoutBox(HWND& dialog) {
    dialog = FirstWindow();
    dialogAfter_ = SinceCreationOf(process().id())
                       .value_or(std::chrono::duration_cast<std::chrono::milliseconds>(
                           Clock::now() - started_));
    ASSERT_NE(dialog, nullptr) << "no main dialog within " << kWindowTimeout.count() << " ms";
    ASSERT_FALSE(IsMessageBox(dialog)) << "a box appeared: " << Utf8(MessageBoxText(dialog));
    ASSERT_TRUE(WaitForSpyEvent(L"show", dialog).has_value()) << "the spy missed the dialog";
    const std::vector<SpyEvent> events = SpyEvents();
    EXPECT_EQ(FirstIndex(events, IsMessageBoxCreation), events.size()) << "a box came and went";
  }

  // A box of the check: its caption, text, buttons and icon, no owner, on top.
  static void ExpectSuiteBox(HWND box, const std::wstring& text, const std::vector<int>& buttons,
                             StandardIcon icon) {
    EXPECT_EQ(ClassNameOf(box), kDialogClass);
    EXPECT_EQ(TextOf(box), kSuiteCaption);
    EXPECT_EQ(MessageBoxText(box), text);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "the box has no owner window";
    if (PlatformMarksTopMostBoxes()) {
      EXPECT_NE(GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "the box stays on top";
    } else {
      SkipCheck("a top-most box: the platform's MessageBox ignores MB_TOPMOST");
    }
    EXPECT_EQ(ButtonsOf(box), buttons);
    EXPECT_EQ(IconShownIn(box, icon), icon);
  }

  // Answers the box and returns the next one.
  [[nodiscard]] HWND Answer(HWND box, int button) const {
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    return NextMessageBox(box);
  }

  // Answers the last box; the main dialog must follow.
  void ExpectMainDialogAfter(HWND box, int button) const {
    PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
    const HWND dialog = WaitForMainDialog();
    ASSERT_NE(dialog, nullptr) << "no main dialog after the box was answered";
    EXPECT_EQ(FindMessageBox(process().id()), nullptr) << "another box followed";
  }

  [[nodiscard]] std::vector<std::string> Requests() const { return requests_->Lines(); }
  [[nodiscard]] std::vector<std::string> Connections() const { return connections_->Lines(); }
  [[nodiscard]] const TestUpdateServer& server() const { return *server_; }
  [[nodiscard]] const std::vector<std::wstring>& installedFiles() const { return installedFiles_; }
  [[nodiscard]] std::wstring BrowserLog() const { return server_->WindowsPath(browserLogName_); }

 private:
  // Wine's winebrowser starts the first command of this value with the
  // address; a Unix command line, so the script writes where the driver reads.
  void RecordBrowser() {
    browserLogName_ =
        L"browser-" + FileNameOf(*testing::UnitTest::GetInstance()->current_test_info()) + L".log";
    DeleteFileW(BrowserLog().c_str());
    const std::wstring command = L"\"" + server_->browserScript() + L"\" --log \"" +
                                 server_->UnixPath(browserLogName_) + L"\"";
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    const RegistryKey key{created};
    ASSERT_EQ(RegSetValueExW(key.get(), L"Browsers", 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }

  std::optional<TestUpdateServer> server_;
  std::optional<LogTail> requests_;
  std::optional<LogTail> connections_;
  std::vector<std::wstring> installedFiles_;
  std::wstring browserLogName_;
  Clock::time_point started_;
  std::chrono::milliseconds dialogAfter_{};
};

TEST_F(UpdateCheckTest, FirstStartOnlySetsUpTheSchedule) {
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_EQ(StoredDays(), DWORD{kDefaultIntervalDays}) << "written back as a REG_DWORD";
  EXPECT_EQ(StoredDate(), DaysFromToday(kDefaultIntervalDays));
  EXPECT_TRUE(Requests().empty()) << "the first check comes an interval later";
}

TEST_F(UpdateCheckTest, NotDueFetchesNothing) {
  const std::wstring tomorrow = DaysFromToday(1);
  ASSERT_NO_FATAL_FAILURE(StoreSchedule(kDefaultIntervalDays, 1));
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(StoredDate(), tomorrow) << "the schedule stays";
}

// Due today: the page is fetched past every cache, the schedule moves on
// before the user answers, and the offer comes over the start-up message
// before the main dialog shows.
TEST_F(UpdateCheckTest, DueCheckOffersTheNewerUpdateDuringStartUp) {
  ASSERT_NO_FATAL_FAILURE(StoreSchedule(std::nullopt, 0));
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND offer = nullptr;
  ASSERT_NO_FATAL_FAILURE(WaitForOffer(offer));

  const HWND startUpMessage = WindowShowingText(SpyEvents(), kStartUpText);
  EXPECT_TRUE(startUpMessage != nullptr && IsWindowVisible(startUpMessage))
      << "the start-up message stays while the offer is up";
  EXPECT_EQ(FindMainDialog(process().id()), nullptr) << "the main dialog waits for the answer";
  EXPECT_EQ(StoredDate(), DaysFromToday(kDefaultIntervalDays)) << "moved on before the answer";
  EXPECT_EQ(StoredDays(), DWORD{kDefaultIntervalDays});
  ExpectSuiteBox(offer, kOfferText, {IDCANCEL, IDYES, IDNO}, StandardIcon::Question);

  const std::vector<std::string> requests = Requests();
  ASSERT_EQ(requests.size(), 1u) << "one fetch of the page";
  EXPECT_EQ(JsonText(requests[0], "method"), "GET");
  EXPECT_EQ(JsonText(requests[0], "path"), "/software-updates/");
  EXPECT_EQ(JsonText(requests[0], "pragma"), "no-cache") << "asked past every cache";
  EXPECT_EQ(JsonText(requests[0], "user-agent"), "VornixUtility64") << "the application's name";
}

class AnswerNoTest : public UpdateCheckTest, public testing::WithParamInterface<int> {};

TEST_P(AnswerNoTest, RemindsAfterTheInterval) {
  const int days = GetParam();
  ASSERT_NO_FATAL_FAILURE(StoreSchedule(days == kDefaultIntervalDays
                                               ? std::nullopt
                                               : std::optional<DWORD>(static_cast<DWORD>(days))));
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND offer = nullptr;
  ASSERT_NO_FATAL_FAILURE(WaitForOffer(offer));

  const HWND reminder = Answer(offer, IDNO);
  ASSERT_NE(reminder, nullptr) << "no box after No";
  ExpectSuiteBox(reminder,
                 L"You will be reminded in " + std::to_wstring(days) + L" days of a new update.",
                 {IDOK}, StandardIcon::Information);
  EXPECT_EQ(StoredDate(), DaysFromToday(days));
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogAfter(reminder, IDOK));
  EXPECT_TRUE(FileBytes(BrowserLog()).empty()) << "nothing opened";
}

INSTANTIATE_TEST_SUITE_P(Interval, AnswerNoTest, testing::Values(kDefaultIntervalDays, 3),
                         [](const testing::TestParamInfo<int>& days) {
                           return std::to_string(days.param) + "Days";
                         });

TEST_F(UpdateCheckTest, CancelStopsRemindingForAYear) {
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND offer = nullptr;
  ASSERT_NO_FATAL_FAILURE(WaitForOffer(offer));

  const HWND notice = Answer(offer, IDCANCEL);
  ASSERT_NE(notice, nullptr) << "no box after Cancel";
  ExpectSuiteBox(notice, kNoMoreRemindersText, {IDOK}, StandardIcon::Information);
  EXPECT_EQ(StoredDate(), DaysFromToday(kCancelPostponementDays));
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogAfter(notice, IDOK));
}

TEST_F(UpdateCheckTest, YesOpensTheUpdatePageInTheBrowser) {
  ASSERT_NO_FATAL_FAILURE(StoreSchedule(4));
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND offer = nullptr;
  ASSERT_NO_FATAL_FAILURE(WaitForOffer(offer));

  PostMessageW(GetDlgItem(offer, IDYES), BM_CLICK, 0, 0);
  const HWND dialog = WaitForMainDialog();
  ASSERT_NE(dialog, nullptr) << "no main dialog after Yes";
  EXPECT_EQ(FindMessageBox(process().id()), nullptr) << "Yes needs no further box";
  // The shell hands the address on after ShellExecuteW has returned.
  WaitFor(kBoxTimeout, [&] { return !FileBytes(BrowserLog()).empty(); });
  EXPECT_EQ(FileBytes(BrowserLog()), Utf8(server().url()) + "\n")
      << "exactly the update page, once";
  EXPECT_EQ(StoredDate(), DaysFromToday(4));
}

// The newest file sits in the last folder scanned; a page date equal to its
// time is no newer.
TEST_F(UpdateCheckTest, UpdateDatedLikeTheNewestFileIsNotOffered) {
  ASSERT_TRUE(
      Succeeded({demo::SetLastWriteTime(installedFiles().back(), LocalMidnight(kPublished))}));
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_EQ(Requests().size(), 1u) << "the check ran";
  EXPECT_EQ(StoredDate(), DaysFromToday(kDefaultIntervalDays));
}

TEST_F(UpdateCheckTest, PathsDifferingOnlyInCaseStillCheck) {
  ASSERT_TRUE(Succeeded(demo::WriteSuitePaths(L"C:\\VornixDemo\\", L"c:\\VORNIXDEMO\\")));
  ASSERT_TRUE(server().SetMode(L"page:<p>No updates at the moment.</p>"));
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_EQ(Requests().size(), 1u) << "the check ran";
  EXPECT_EQ(StoredDate(), DaysFromToday(kDefaultIntervalDays)) << "the schedule moved on";
}

TEST_F(UpdateCheckTest, DifferentPathsLeaveEverythingAlone) {
  ASSERT_TRUE(Succeeded(demo::WriteSuitePaths(L"C:\\VornixDemo\\", L"C:\\VornixShared\\")));
  const std::wstring yesterday = DaysFromToday(-1);
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_TRUE(Requests().empty());
  EXPECT_EQ(StoredDate(), yesterday) << "nothing written";
  EXPECT_EQ(StoredDays(), std::nullopt) << "nothing written";
}

// The stored month 13 raises an error that the main dialog's initialisation
// does not catch: the framework reports it, the start-up message and the
// hourglass go, and the main dialog then works as usual.
TEST_F(UpdateCheckTest, OutOfRangeStoredDateIsReportedAndStartUpGoesOn) {
  ASSERT_TRUE(Succeeded({demo::WriteScheduleDate(L"2023-13-01 00:00:00")}));
  ASSERT_NO_FATAL_FAILURE(Start());
  const HWND box = FirstWindow();
  ASSERT_NE(box, nullptr) << "neither a box nor the main dialog appeared";
  ASSERT_TRUE(IsMessageBox(box)) << "the main dialog appeared without the error box";

  EXPECT_EQ(TextOf(box), kFrameworkCaption);
  EXPECT_EQ(MessageBoxText(box), SystemText(kUnspecifiedFailure));
  EXPECT_EQ(ButtonsOf(box), std::vector<int>{IDOK});
  EXPECT_EQ(IconShownIn(box, StandardIcon::Warning), StandardIcon::Warning)
      << "the exclamation icon";
  const HWND startUpMessage = WindowShowingText(SpyEvents(), kStartUpText);
  ASSERT_NE(startUpMessage, nullptr) << "the start-up message never showed";
  EXPECT_TRUE(WaitFor(kScreenTimeout, [&] { return !IsWindowVisible(startUpMessage); }))
      << "the start-up message stays on screen with the error";
  EXPECT_TRUE(Requests().empty());
  // The cursor over the framework's box: the arrow of the dialog class.
  const HCURSOR arrow = CursorOver(box);

  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogAfter(box, IDOK));
  const HWND dialog = FindMainDialog(process().id());
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Responds(dialog));
  const HCURSOR overDialog = CursorOver(dialog);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(process().WaitForExit(kExitTimeout)) << "OK did not end the program";
  EXPECT_EQ(process().ExitCode(), 0u);
  if (arrow == nullptr || overDialog == nullptr) {
    SkipCheck("the hourglass is gone: the platform shows no cursor handle");
  } else {
    EXPECT_EQ(overDialog, arrow) << "the main dialog shows the arrow, not the hourglass";
  }
}

// A certificate nobody trusts: WinINet completes the handshake, refuses the
// certificate and never sends the request.
TEST_F(UpdateCheckTest, UntrustedCertificateIsRefusedSilently) {
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start(server().untrustedUrl()));
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_TRUE(Requests().empty()) << "the page was fetched despite the certificate";
  bool connected = false;
  for (const std::string& line : Connections()) connected |= JsonText(line, "role") == "untrusted";
  EXPECT_TRUE(connected) << "the program never tried the untrusted server";
  EXPECT_EQ(StoredDate(), DaysFromToday(kDefaultIntervalDays)) << "the schedule moved on";
}

// A server that takes the request and never answers, or answers a byte a
// second: start-up waits for the page at most its deadline, and the reading
// left behind does not keep the program from ending.
class SlowServerTest : public UpdateCheckTest,
                       public testing::WithParamInterface<const wchar_t*> {};

TEST_P(SlowServerTest, MainDialogStillAppearsInTime) {
  ASSERT_TRUE(server().SetMode(GetParam()));
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  const HWND startUpMessage = WaitFor(kWindowTimeout, [&]() -> HWND {
    const HWND message = WindowShowingText(SpyEvents(), kStartUpText);
    return message != nullptr && IsWindowVisible(message) ? message : nullptr;
  });
  ASSERT_NE(startUpMessage, nullptr) << "no start-up message while the page is awaited";
  const HCURSOR whileWaiting = CursorOver(startUpMessage);
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_LE(dialogAfter(), kStartUpWithHungServer) << "from process start to the main dialog";
  EXPECT_EQ(Requests().size(), 1u) << "the server got the request";
  const HCURSOR afterwards = CursorOver(dialog);
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(process().WaitForExit(kExitTimeout)) << "the unfinished fetch holds the program";
  EXPECT_EQ(process().ExitCode(), 0u);
  if (whileWaiting == nullptr || afterwards == nullptr) {
    SkipCheck("the hourglass while waiting: the platform shows no cursor handle");
  } else {
    EXPECT_NE(whileWaiting, afterwards) << "the hourglass while waiting, then the arrow";
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, SlowServerTest, testing::Values(L"hang", L"drip"),
                         [](const testing::TestParamInfo<const wchar_t*>& mode) {
                           return Utf8(mode.param) == "hang" ? "Hang" : "Drip";
                         });

// 100 MiB whose only update name lies at the end: the reading stops after
// the first MiB, so there is no offer, no wait and no memory growth.
TEST_F(UpdateCheckTest, HugePageIsCutOffQuickly) {
  ASSERT_TRUE(server().SetMode(L"big:100"));
  ASSERT_NO_FATAL_FAILURE(StoreSchedule());
  ASSERT_NO_FATAL_FAILURE(Start());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(ExpectMainDialogWithoutBox(dialog));

  EXPECT_LE(dialogAfter(), kStartUpWithHugePage) << "from process start to the main dialog";
  EXPECT_EQ(Requests().size(), 1u);
  const std::optional<SIZE_T> peak = PeakWorkingSet(process().id());
  if (!peak) {
    GTEST_SKIP() << "The platform reports no peak working set for another process.";
  }
  RecordProperty("PeakWorkingSetBytes", std::to_string(*peak));
  EXPECT_LT(*peak, kPeakWorkingSetLimit) << "peak working set in bytes";
}

}  // namespace
}  // namespace e2e
