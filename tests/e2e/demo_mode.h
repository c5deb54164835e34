// The driver's modes for the demo (scripts/demo.sh):
//   --install-demo    the demo installation in the current Wine prefix
//   --demo OUTDIR     runs the utility of that installation on a Wine virtual
//                     desktop and saves a .bmp picture of each window it
//                     passes into OUTDIR, listed in OUTDIR\pictures.txt
#pragma once

#include <string>

namespace e2e {

int InstallDemo();
int RunDemo(const std::wstring& outFolder);
// The part of --demo that runs on the virtual desktop, started by RunDemo.
int RunDemoOnDesktop(const std::wstring& outFolder);

inline constexpr wchar_t kInstallDemoOption[] = L"--install-demo";
inline constexpr wchar_t kDemoOption[] = L"--demo";
inline constexpr wchar_t kDemoOnDesktopOption[] = L"--demo-on-desktop";

}  // namespace e2e
