// The web update check in-process, row by row: the schedule in the test
// prefix's registry, installed files with known dates, and the page, the
// clock and the shell replaced by the test (the real page over HTTPS is the
// end-to-end tests' business).
#include <gtest/gtest.h>

#include "afx/exception.h"
#include "afx/file_time.h"
#include "afx/registry.h"
#include "afx/shell.h"
#include "demo_installation.h"
#include "message_boxes.h"
#include "scoped_state.h"
#include "update_page.h"
#include "version/date_text.h"
#include "version/install_paths.h"
#include "version/local_clock.h"
#include "version/update_page_reader.h"
#include "version/web_update_check.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kOffer[] =
    L"A newer version of Vornix 2023 is available.\n\nDo you want to download it from the website?\n\n"
    L"If you Cancel, you will not be prompted again.";
constexpr wchar_t kRemindIn7[] = L"You will be reminded in 7 days of a new update.";
constexpr wchar_t kNoMore[] = L"You will not be reminded of any new updates.";
constexpr wchar_t kPage[] = L"<a href=\"Vornix_2023_Update2023_06_30.exe\">Update</a>";
constexpr wchar_t kMakerPage[] = L"https://www.velkor.com/software-updates/";

std::optional<std::wstring> g_page;  // what the page source serves
bool g_fetched = false;
std::wstring g_opened;  // what was handed to the shell: verb, file, show

std::wstring ServePage(const std::wstring&, StartClock::time_point) {
    g_fetched = true;
    return g_page.value_or(L"");
}

HINSTANCE WINAPI RecordShell(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*, INT show) {
    g_opened = std::wstring(verb) + L" " + file + L" " + std::to_wstring(show);
    return reinterpret_cast<HINSTANCE>(42);
}

// The installed folders as a network share that does not answer shows them:
// the scan waits until the test opens the gate.
HANDLE g_shareGate = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
void UnansweringShare(CalendarTime& newest, const std::wstring& pattern) {
    ::WaitForSingleObject(g_shareGate, 5000);  // an unbounded scan goes on to an offer
    UpdateNewestFileTime(newest, pattern);
}

std::int64_t NoonOfJuly10() { return MakeLocalTime(2023, 7, 10, 12, 0, 0); }

enum class Paths { Same, Differ, DifferInCase };

struct Row {
    const char* name;
    std::optional<DWORD> days = {};
    std::optional<std::wstring> date = {};
    std::optional<std::wstring> page = kPage;
    std::optional<CalendarTime> installed = MakeLocalTime(2023, 6, 1);  // the installed program's date
    int answer = IDNO;
    Paths paths = Paths::Same;
    std::chrono::milliseconds timeLeft = kStartPromise;  // until the page's deadline
    bool shareHangs = false;
    // What the check leaves behind.
    std::optional<DWORD> daysAfter = 7;
    std::optional<std::wstring> dateAfter = {};
    bool fetched = true;
    std::vector<std::wstring> boxes = {};
    std::wstring opened = {};
    std::int32_t raised = 0;
};

class WebUpdateCheck : public ::testing::Test {
protected:
    void SetUp() override {
        local_clock::SetNowSource(&NoonOfJuly10);
        SetUpdatePageSource(&ServePage);
        AfxSetShellExecute(&RecordShell);
    }
    void TearDown() override {
        local_clock::SetNowSource(nullptr);
        SetUpdatePageSource(nullptr);
        SetInstalledFolderReader(nullptr);
        AfxSetShellExecute(nullptr);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScheduleKey().c_str());
    }
};

}  // namespace

TEST_F(WebUpdateCheck, ScheduleOfferAndAnswers) {
    // clang-format off
    const Row rows[] = {
        {.name = "first start", .page = {}, .dateAfter = L"2023-07-17 00:00:00", .fetched = false},
        {.name = "waiting", .days = 7, .date = L"2023-07-11 00:00:00", .dateAfter = L"2023-07-11 00:00:00", .fetched = false},
        {.name = "due, No", .days = 7, .date = L"2023-07-10 00:00:00", .dateAfter = L"2023-07-17 00:00:00",
         .boxes = {kOffer, kRemindIn7}},
        {.name = "due, Cancel", .days = 7, .date = L"2023-07-01 00:00:00", .answer = IDCANCEL,
         .dateAfter = L"2024-07-09 00:00:00", .boxes = {kOffer, kNoMore}},
        {.name = "due, Yes", .days = 7, .date = L"2023-07-10 00:00:00", .answer = IDYES,
         .dateAfter = L"2023-07-17 00:00:00", .boxes = {kOffer}, .opened = std::wstring(L"open ") + kMakerPage + L" 5"},
        {.name = "installed as new as the update", .days = 7, .date = L"2023-07-10 00:00:00",
         .installed = MakeLocalTime(2023, 6, 30), .dateAfter = L"2023-07-17 00:00:00"},
        {.name = "nothing installed", .days = 7, .date = L"2023-07-10 00:00:00", .installed = {},
         .dateAfter = L"2023-07-17 00:00:00", .boxes = {kOffer, kRemindIn7}},
        {.name = "page without a date", .days = 7, .date = L"2023-07-10 00:00:00", .page = L"<p>no updates</p>",
         .dateAfter = L"2023-07-17 00:00:00"},
        {.name = "interval 0", .days = 0, .date = L"2023-07-09 00:00:00", .page = L"", .daysAfter = 0,
         .dateAfter = L"2023-07-10 00:00:00"},
        {.name = "interval -2", .days = 0xFFFFFFFE, .date = L"2023-07-09 00:00:00", .page = L"", .daysAfter = 0xFFFFFFFE,
         .dateAfter = L"2023-07-08 00:00:00"},
        {.name = "interval 0xFFFFFFFF", .days = 0xFFFFFFFF, .dateAfter = L"2023-07-17 00:00:00", .fetched = false},
        {.name = "stored month 13", .days = 7, .date = L"2023-13-01 00:00:00", .dateAfter = L"2023-13-01 00:00:00",
         .fetched = false, .raised = kStatusUnspecifiedFailure},
        {.name = "published year 0", .days = 7, .date = L"2023-07-10 00:00:00",
         .page = L"Vornix_2023_Update_2023_06_30.exe", .dateAfter = L"2023-07-17 00:00:00",
         .raised = kStatusUnspecifiedFailure},
        {.name = "due, but no time left for the page", .days = 7, .date = L"2023-07-10 00:00:00",
         .timeLeft = kLeastPageTime / 2, .dateAfter = L"2023-07-10 00:00:00", .fetched = false},
        {.name = "installed files on a share that does not answer", .days = 7, .date = L"2023-07-10 00:00:00",
         .timeLeft = kLeastPageTime + 100ms, .shareHangs = true, .dateAfter = L"2023-07-17 00:00:00"},
        {.name = "paths differ", .paths = Paths::Differ, .daysAfter = {}, .fetched = false},
        {.name = "paths differ in case only", .paths = Paths::DifferInCase, .dateAfter = L"2023-07-17 00:00:00",
         .fetched = false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder suite;
        suite.MakeFolder(L"Applications");
        if (row.installed) suite.WriteFile(L"Applications\\tool.exe", "x", *row.installed);
        std::wstring local = suite.Path();
        if (row.paths == Paths::Differ) local += L"Other\\";
        if (row.paths == Paths::DifferInCase) ::CharUpperBuffW(local.data(), static_cast<DWORD>(local.size()));
        ScopedRegistryValue localPath(HKEY_LOCAL_MACHINE, kSuiteKey, kLocalAppPathValue, local);
        ScopedRegistryValue networkPath(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, suite.Path());
        const std::wstring key = ScheduleKey();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        if (row.days) WriteRegistryDword(HKEY_CURRENT_USER, key.c_str(), kCheckWebVersionDaysValue, *row.days);
        if (row.date) WriteRegistryString(HKEY_CURRENT_USER, key.c_str(), kCheckWebVersionDateValue, *row.date);
        g_page = row.page;
        g_fetched = false;
        ::ResetEvent(g_shareGate);
        SetInstalledFolderReader(row.shareHangs ? &UnansweringShare : nullptr);
        g_opened.clear();

        std::int32_t raised = 0;
        std::vector<SeenMessageBox> boxes;
        {
            MessageBoxWatcher watcher({row.answer, IDOK});
            try {
                CheckWebVersion(StartClock::now() + row.timeLeft);
            } catch (const COleException& e) {
                raised = e.Status();
            }
            ::SetEvent(g_shareGate);  // the scan left waiting may end now
            boxes = watcher.Seen();
        }
        EXPECT_EQ(ReadRegistryDword(HKEY_CURRENT_USER, key.c_str(), kCheckWebVersionDaysValue), row.daysAfter);
        const std::wstring date = ReadRegistryString(HKEY_CURRENT_USER, key.c_str(), kCheckWebVersionDateValue);
        EXPECT_EQ(date, row.dateAfter.value_or(L""));
        EXPECT_EQ(g_fetched, row.fetched);
        EXPECT_EQ(g_opened, row.opened);
        EXPECT_EQ(raised, row.raised);
        ASSERT_EQ(boxes.size(), row.boxes.size());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const bool offer = i == 0;
            EXPECT_EQ(boxes[i].text, row.boxes[i]);
            EXPECT_EQ(boxes[i].caption, L"Vornix 2023");
            EXPECT_EQ(boxes[i].owner, nullptr);
            EXPECT_EQ(boxes[i].buttons, (offer ? std::vector<int>{IDCANCEL, IDYES, IDNO} : std::vector<int>{IDOK}));
            EXPECT_EQ(boxes[i].icon, offer ? L"question" : L"information");
        }
    }
}

// Only an administrator's https address replaces the maker's page: the
// environment, which any process of the user can set for every later start,
// does not count, nor does another scheme or a value of another type.
TEST(UpdatePageAddress, OnlyAnAdministratorsHttpsAddressReplacesTheMakersPage) {
    constexpr wchar_t kStaging[] = L"https://127.0.0.1:8443/software-updates/";
    const DWORD number = 443;
    const struct {
        std::optional<std::wstring> machineValue;  // HKLM ...\2023 "UpdatePageAddress"
        std::optional<std::wstring> variable;      // VORNIX_UPDATE_URL
        std::wstring address;
    } rows[] = {{std::nullopt, std::nullopt, kMakerPage},
                {std::nullopt, L"https://attacker.example/", kMakerPage},
                {kStaging, L"https://attacker.example/", kStaging},
                {L"HTTPS://staging.velkor.com/x", std::nullopt, L"HTTPS://staging.velkor.com/x"},
                {L"http://127.0.0.1/software-updates/", std::nullopt, kMakerPage},
                {L"file:///C:/page.html", std::nullopt, kMakerPage},
                {L"https:/missing-slash", std::nullopt, kMakerPage},
                {L"C:\\evil.exe", std::nullopt, kMakerPage}};
    for (const auto& row : rows) {
        ScopedRegistryValue value(HKEY_LOCAL_MACHINE, kSuiteKey, kUpdatePageAddressValue, row.machineValue);
        ScopedEnvironment variable(L"VORNIX_UPDATE_URL", row.variable);
        EXPECT_EQ(UpdatePageAddress(), row.address)
            << row.machineValue.value_or(L"(unset)") << " " << row.variable.value_or(L"(unset)");
    }
    ScopedRegistryValue dword(HKEY_LOCAL_MACHINE, kSuiteKey, kUpdatePageAddressValue, REG_DWORD, &number,
                              sizeof(number));
    EXPECT_EQ(UpdatePageAddress(), kMakerPage);
}

// The reading has the time its caller gives, however old the process or far the deadline; no
// page from a stranger, none over plain http however the server redirects, and no endless chain of redirects.
TEST(UpdatePageReading, EndsByTheCallersDeadlineAndFollowsRedirectsToHttpsOnly) {
    const auto server = demo::UpdatePage::FromStateFolder(_wgetenv(L"VORNIX_TEST_SERVER_STATE"));
    ASSERT_TRUE(server);
    // clang-format off
    const struct { const wchar_t* mode; bool trusted; std::chrono::milliseconds timeLeft; bool dated; } rows[] = {
        {L"marker", true, 5s, true}, {L"marker", false, 5s, false}, {L"hang", true, 300ms, false},
        {L"redirect-https", true, 5s, true}, {L"redirect-http", true, 5s, false}, {L"redirect-loop", true, 5s, false},
        {L"marker", true, std::chrono::milliseconds{0x100000001}, true},  // past a DWORD's 49.7 days
    };
    // clang-format on
    for (const auto& row : rows) {
        ASSERT_TRUE(server->SetMode(row.mode));
        const StartClock::time_point begun = StartClock::now();
        const std::wstring page =
            ReadUpdatePage(row.trusted ? server->url() : server->untrustedUrl(), begun + row.timeLeft);
        EXPECT_EQ(FindPublishedDate(page).has_value(), row.dated) << row.mode << " " << row.timeLeft.count();
        EXPECT_LT(StartClock::now() - begun, row.timeLeft + 300ms);
    }
    EXPECT_EQ(server->PlainRequests(), 0u);
    EXPECT_TRUE(server->SetMode(L"marker"));
}

TEST(NewestFileScan, TheLatestMatchingEntryFilesAndFoldersAlike) {
    TempFolder tree;
    tree.WriteFile(L"old.exe", "x", 1'600'000'000);
    tree.WriteFile(L"new.exe", "x", 1'650'000'000);
    tree.WriteFile(L"newest.dll", "x", 1'900'000'000);  // does not match
    demo::SetLastWriteTime(tree.MakeFolder(L"folder.exe"), afx::UnixSecondsToFileTime(1'660'000'000));
    const std::pair<std::wstring, CalendarTime> rows[] = {
        {L"*.exe", 1'660'000'000}, {L"*.fas", ReferenceDate()}, {L"missing\\*.exe", ReferenceDate()}};
    for (const auto& [pattern, newest] : rows) {
        CalendarTime running = ReferenceDate();
        UpdateNewestFileTime(running, tree.Path() + pattern);
        EXPECT_EQ(running, newest) << pattern;
    }
    CalendarTime later = 1'700'000'000;  // a later running time is kept
    UpdateNewestFileTime(later, tree.Path() + L"*.exe");
    EXPECT_EQ(later, 1'700'000'000);

    ScopedRegistryValue network(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, std::wstring(L"\\\\srv\\Suite"));
    EXPECT_EQ(GetCommonFolder(L"R23"), L"\\\\srv\\Suite\\Designer\\Common\\R23\\");
    EXPECT_EQ(GetModuleFolder(L"BRENIK", L""), L"\\\\srv\\Suite\\Designer\\BRENIK\\");
    ScopedRegistryValue none(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, std::nullopt);
    EXPECT_EQ(GetCommonFolder(L"R23"), L"");  // without a network path the patterns match in the current folder
    EXPECT_EQ(GetModuleFolder(L"KORVEN", L"R23"), L"");
}
