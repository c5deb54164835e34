#include "utility_test.h"

#include "failure_pictures.h"
#include "paths.h"

namespace e2e {

testing::AssertionResult Succeeded(const std::vector<demo::Step>& steps) {
  for (const demo::Step& step : steps) {
    if (!step.ok) return testing::AssertionFailure() << "demo installation: " << step.description;
  }
  return testing::AssertionSuccess();
}

void UtilityTest::SetUp() {
  ASSERT_TRUE(FileExists(UtilityPath())) << "VornixUtility64.exe is not built next to the driver";
  ASSERT_TRUE(FileExists(CompanionPath())) << "QLDXDialogsOEM64.dll is not built next to the driver";
  ASSERT_TRUE(Succeeded(demo::InstallSuite()));
  commonFiles_ = demo::PlatformCommonFilesFolder();
  ASSERT_FALSE(commonFiles_.empty()) << "CommonFilesDir is not set in the registry";
  testFolder_ = L"C:\\VornixE2E\\" +
                FileNameOf(*testing::UnitTest::GetInstance()->current_test_info()) + L"\\";
  ASSERT_TRUE(CreateFolderTree(testFolder_));
  DeleteFilesIn(testFolder_);
}

void UtilityTest::TearDown() { utility_.reset(); }

void UtilityTest::StartUtility(Companion companion, Spy spy) {
  ASSERT_TRUE(Succeeded({companion == Companion::Installed
                             ? demo::PlaceCompanionLibrary(commonFiles_)
                             : demo::RemoveCompanionLibrary(commonFiles_)}));
  UtilityLaunch launch;
  if (spy == Spy::On) launch.spyLog = testFolder_ + L"spy.log";
  launch.currentFolder = testFolder_;
  std::wstring error;
  utility_ = RunningUtility::Launch(launch, error);
  ASSERT_TRUE(utility_.has_value()) << error;
}

HWND UtilityTest::WaitForMainDialog() const {
  return WaitFor(kWindowTimeout, [&] { return FindMainDialog(process().id()); });
}

void UtilityTest::StartAndWaitForMainDialog(HWND& dialog, Spy spy) {
  ASSERT_NO_FATAL_FAILURE(StartUtility(Companion::Installed, spy));
  dialog = WaitForMainDialog();
  ASSERT_NE(dialog, nullptr) << "no main dialog on screen within " << kWindowTimeout.count()
                             << " ms";
}

std::vector<SpyEvent> UtilityTest::SpyEvents() const {
  return ReadSpyLog(testFolder_ + L"spy.log");
}

std::optional<SpyEvent> UtilityTest::WaitForSpyEvent(std::wstring_view kind, HWND window) const {
  return WaitFor(kSpyTimeout, [&]() -> std::optional<SpyEvent> {
    const std::vector<SpyEvent> events = SpyEvents();
    const size_t at = FirstIndex(events, kind, window);
    if (at == events.size()) return std::nullopt;
    return events[at];
  });
}

}  // namespace e2e
