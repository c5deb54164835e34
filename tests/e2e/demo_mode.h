// The driver's modes for the demo (scripts/demo.sh):
//   --install-demo    the demo installation in the current Wine prefix, with
//                     its programs older than the update the local update
//                     page names and the web check due, so the utility's
//                     next start offers the update
//   --demo OUTDIR     runs the utility of that installation on a Wine virtual
//                     desktop, answers the update offer with No, opens the
//                     About box and the help, and saves a .bmp picture of
//                     each window it passes into OUTDIR, listed in
//                     OUTDIR\pictures.txt. The utility fetches the page that
//                     VORNIX_UPDATE_URL names in the driver's environment.
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
