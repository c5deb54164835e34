#include "demo_installation.h"

#include <windows.h>

#include <algorithm>

#include "paths.h"
#include "win_handles.h"

namespace e2e::demo {
namespace {

Step Failed(const std::wstring& what) {
  return {false, what + L" (error " + std::to_wstring(GetLastError()) + L")"};
}

Step WriteSuiteValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  const LSTATUS status = RegSetValueExW(key, name, 0, REG_SZ,
                                        reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return Failed(std::wstring(L"could not write ") + name);
  }
  return {true, std::wstring(L"HKLM\\") + kSuiteKey + L" " + name + L" = " + value};
}

std::vector<Step> WriteSuitePaths(const std::wstring& appFolder) {
  HKEY created = nullptr;
  const LSTATUS status =
      RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSuiteKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE, nullptr, &created, nullptr);
  const RegistryKey key{created};
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return {Failed(std::wstring(L"could not create HKLM\\") + kSuiteKey)};
  }
  return {WriteSuiteValue(key.get(), L"LocalAppPath", appFolder),
          WriteSuiteValue(key.get(), L"NetworkAppPath", appFolder)};
}

Step CreateFolder(const std::wstring& folder) {
  if (!CreateFolderTree(folder)) return Failed(L"could not create " + folder);
  return {true, L"folder " + folder};
}

Step CopyInto(const std::wstring& source, const std::wstring& folder) {
  const std::wstring target = folder + source.substr(source.find_last_of(L'\\') + 1);
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE))
    return Failed(L"could not copy " + source + L" to " + target);
  return {true, L"copied " + source + L" to " + target};
}

}  // namespace

bool AllSucceeded(const std::vector<Step>& steps) {
  return std::all_of(steps.begin(), steps.end(), [](const Step& step) { return step.ok; });
}

std::vector<Step> InstallSuite(const std::wstring& appFolder) {
  const std::wstring folder = WithTrailingBackslash(appFolder);
  std::vector<Step> steps = WriteSuitePaths(folder);
  steps.push_back(CreateFolder(folder + L"Help\\"));
  // The help file is named after the executable; it exists once the build makes it.
  const std::wstring helpFile = DriverFolder() + L"VornixUtility64.chm";
  if (FileExists(helpFile)) steps.push_back(CopyInto(helpFile, folder + L"Help\\"));
  return steps;
}

std::wstring MakerFolderIn(const std::wstring& commonFilesFolder) {
  return WithTrailingBackslash(commonFilesFolder) + L"VELKOR\\";
}

Step PlaceCompanionLibrary(const std::wstring& commonFilesFolder) {
  const std::wstring folder = MakerFolderIn(commonFilesFolder);
  if (!CreateFolderTree(folder)) return Failed(L"could not create " + folder);
  return CopyInto(CompanionPath(), folder);
}

Step RemoveCompanionLibrary(const std::wstring& commonFilesFolder) {
  const std::wstring path = MakerFolderIn(commonFilesFolder) + kCompanionName;
  if (FileExists(path) && !DeleteFileW(path.c_str())) return Failed(L"could not delete " + path);
  return {true, L"no library at " + path};
}

std::wstring PlatformCommonFilesFolder() {
  wchar_t value[1024]{};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion",
                   L"CommonFilesDir", RRF_RT_REG_SZ, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return {};
  return WithTrailingBackslash(value);
}

}  // namespace e2e::demo
