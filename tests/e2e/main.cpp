// vornix_e2e_tests.exe: the end-to-end UI tests of VornixUtility64.exe, the
// demo's modes (see demo_mode.h) and the start-up benchmark (startup_bench.h),
// chosen before GoogleTest sees the command line.
#include <gtest/gtest.h>

#include <string>

#include "demo_mode.h"
#include "failure_pictures.h"
#include "startup_bench.h"

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc >= 2 ? argv[1] : L"";
  if (argc == 2 && mode == e2e::kInstallDemoOption) return e2e::InstallDemo();
  if (argc == 3 && mode == e2e::kDemoOption) return e2e::RunDemo(argv[2]);
  if (argc == 3 && mode == e2e::kDemoOnDesktopOption) return e2e::RunDemoOnDesktop(argv[2]);
  if (argc == 3 && mode == e2e::kBenchStartupOption) return e2e::RunStartupBench(argv[2]);

  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new e2e::FailurePictures);
  return RUN_ALL_TESTS();
}
