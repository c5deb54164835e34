#include "utility_run.h"

#include <cstdlib>

#include "afx/registry.h"
#include "demo_installation.h"
#include "paths.h"
#include "process_windows.h"
#include "utf8.h"
#include "utility_launch.h"
#include "waiting.h"

namespace {

std::wstring Variable(const wchar_t* name) {
    const wchar_t* value = _wgetenv(name);
    return value != nullptr ? value : L"";
}

testing::AssertionResult Succeeded(const std::vector<demo::Step>& steps) {
    for (const demo::Step& step : steps) {
        if (!step.ok) return testing::AssertionFailure() << "demo installation: " << demo::Utf8(step.description);
    }
    return testing::AssertionSuccess();
}

// Wine's winebrowser runs the first command of this value with the address
// appended: a Unix command line.
constexpr wchar_t kWineBrowserKey[] = L"Software\\Wine\\WineBrowser";

}  // namespace

void UtilityRun::SetUp() {
    const std::wstring state = Variable(L"VORNIX_TEST_SERVER_STATE");
    m_page = demo::UpdatePage::FromStateFolder(state);
    if (!m_page) GTEST_SKIP() << "No update page: run the tests through tests/run-windows-tests.sh.";
    ASSERT_TRUE(m_page->SetMode(L"marker"));

    const std::wstring unixLog = state + L"/browser.log";
    m_browserLog = demo::WindowsFullPath(unixLog);
    DeleteFileW(m_browserLog.c_str());
    const std::wstring browser = L"\"" + Variable(L"VORNIX_TEST_BROWSER") + L"\" --log \"" + unixLog + L"\"";
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kWineBrowserKey, L"Browsers", browser));

    std::vector<demo::Step> steps = demo::InstallSuite();
    // Older than the page's Vornix_2023_Update2023_06_30.exe.
    for (demo::Step& step : demo::InstallSuiteFiles(demo::UtcFileTime(2023, 3, 15, 12))) steps.push_back(step);
    ASSERT_TRUE(Succeeded(steps));
}

void UtilityRun::TearDown() {
    m_utility.reset();  // ends the program if a test left it running
}

void UtilityRun::Start(Companion companion, Schedule schedule, const std::wstring& program) {
    const std::wstring commonFiles = demo::PlatformCommonFilesFolder();
    ASSERT_FALSE(commonFiles.empty()) << "CommonFilesDir is not set in the registry";
    ASSERT_TRUE(Succeeded({companion == Companion::Installed ? demo::PlaceCompanionLibrary(commonFiles)
                                                             : demo::RemoveCompanionLibrary(commonFiles),
                           demo::ForgetSchedule()}));
    // A date long past: the check is due at this start.
    if (schedule == Schedule::Due) {
        ASSERT_TRUE(Succeeded({demo::WriteScheduleDate(L"2023-01-01 00:00:00")}));
    }

    demo::UtilityLaunch launch;
    launch.program = program;
    launch.updatePage = m_page->url();
    std::wstring error;
    m_utility = demo::LaunchUtility(launch, error);
    ASSERT_TRUE(m_utility.has_value()) << demo::Utf8(error);
}

HWND UtilityRun::WaitForMainDialog(std::chrono::milliseconds timeout) const {
    return demo::WaitFor(timeout, [&] { return demo::FindMainDialog(m_utility->id()); });
}

void UtilityRun::ExpectEndsAfterOk(HWND dialog) const {
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(m_utility->WaitForExit(demo::kExitTimeout)) << "still running after OK";
    EXPECT_EQ(m_utility->ExitCode(), 0u);
}

std::string UtilityRun::BrowserLog() const {
    // The shell hands the address on after ShellExecuteW has returned.
    demo::WaitFor(demo::kExitTimeout, [&] { return !demo::FileBytes(m_browserLog).empty(); });
    return demo::FileBytes(m_browserLog);
}
