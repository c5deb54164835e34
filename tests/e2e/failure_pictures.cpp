#include "failure_pictures.h"

#include <cstdio>

#include "paths.h"
#include "picture_file.h"

namespace e2e {

std::wstring FileNameOf(const testing::TestInfo& test) {
  const std::string name = std::string(test.test_suite_name()) + "." + test.name();
  return FileNameSafe(std::wstring(name.begin(), name.end()));  // test names are ASCII
}

void FailurePictures::OnTestStart(const testing::TestInfo& test) {
  testName_ = FileNameOf(test);
  taken_ = false;
}

void FailurePictures::OnTestPartResult(const testing::TestPartResult& result) {
  if (!result.failed() || taken_ || testName_.empty()) return;
  taken_ = true;
  const std::wstring folder = DriverFolder() + L"..\\test-screens\\";
  const std::wstring path = folder + testName_ + L".bmp";
  if (CreateFolderTree(folder) && SaveScreenPicture(path.c_str()))
    std::printf("Screen at the failure: %ls\n", path.c_str());
  else
    std::printf("Could not save the screen to %ls\n", path.c_str());
}

}  // namespace e2e
