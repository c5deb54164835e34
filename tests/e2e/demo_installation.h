// A demo installation of the Vornix 2023 suite, reduced to what the utility
// reads: the suite's registry values, its application folder with the Help
// folder, and the companion dialog library in a common-files folder. The UI
// tests set it up before every test, --install-demo once for the demo.
#pragma once

#include <string>
#include <vector>

namespace e2e::demo {

inline constexpr wchar_t kSuiteKey[] = L"Software\\VELKOR\\Vornix\\2023";
inline constexpr wchar_t kAppFolder[] = L"C:\\VornixDemo\\";

// One thing done (or not): what a person reading the output needs to know.
struct Step {
  bool ok = false;
  std::wstring description;
};

bool AllSucceeded(const std::vector<Step>& steps);

// "LocalAppPath" and "NetworkAppPath" naming appFolder, and appFolder with
// its Help\ folder (the help file is copied there when the build has one).
std::vector<Step> InstallSuite(const std::wstring& appFolder = kAppFolder);

// The maker's folder under a common-files folder: <commonFiles>VELKOR\.
std::wstring MakerFolderIn(const std::wstring& commonFilesFolder);

// Copies the built companion library into MakerFolderIn(commonFilesFolder).
Step PlaceCompanionLibrary(const std::wstring& commonFilesFolder);

// Makes sure no companion library lies in MakerFolderIn(commonFilesFolder).
Step RemoveCompanionLibrary(const std::wstring& commonFilesFolder);

// The platform's common files folder as the registry names it
// ("CommonFilesDir"), with a trailing backslash; empty when unset.
std::wstring PlatformCommonFilesFolder();

}  // namespace e2e::demo
