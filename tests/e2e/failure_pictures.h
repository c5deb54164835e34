// A picture of the screen for every failing UI test, taken the moment its
// first check fails (while the program is still on screen), into
// <driver folder>\..\test-screens\<suite>.<test>.bmp.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// "<suite>.<test>" as a file name.
std::wstring FileNameOf(const testing::TestInfo& test);

class FailurePictures : public testing::EmptyTestEventListener {
 public:
  void OnTestStart(const testing::TestInfo& test) override;
  void OnTestPartResult(const testing::TestPartResult& result) override;

 private:
  std::wstring testName_;
  bool taken_ = false;
};

}  // namespace e2e
