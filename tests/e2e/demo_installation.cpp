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

// The key opened for writing values, created when missing; empty on failure
// with the last-error value set.
RegistryKey CreateKey(HKEY root, const wchar_t* path) {
  HKEY created = nullptr;
  const LSTATUS status = RegCreateKeyExW(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) SetLastError(static_cast<DWORD>(status));
  return RegistryKey{status == ERROR_SUCCESS ? created : nullptr};
}

Step WriteScheduleValue(const wchar_t* name, DWORD type, const void* data, DWORD bytes,
                        const std::wstring& shown) {
  const RegistryKey key = CreateKey(HKEY_CURRENT_USER, kScheduleKey);
  if (!key) return Failed(std::wstring(L"could not create HKCU\\") + kScheduleKey);
  const LSTATUS status =
      RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
  if (status != ERROR_SUCCESS) {
    SetLastError(static_cast<DWORD>(status));
    return Failed(std::wstring(L"could not write ") + name);
  }
  return {true, std::wstring(L"HKCU\\") + kScheduleKey + L" " + name + L" = " + shown};
}

// Where the update check looks for the suite's programs and add-ins, with
// one file name for each.
struct InstalledFile {
  const wchar_t* folder;
  const wchar_t* name;
};
constexpr InstalledFile kInstalledFiles[] = {
    {L"Applications\\", L"Vornix.exe"},
    {L"Designer\\Common\\R23\\", L"VornixDesigner.arx"},
    {L"Designer\\Common\\", L"DesignerLauncher.exe"},
    {L"Designer\\Common\\R23\\", L"common.fas"},
    {L"Designer\\KORVEN\\R23\\", L"korven.fas"},
    {L"Designer\\DALMIR\\R23\\", L"dalmir.fas"},
    {L"Designer\\SOVATH\\R23\\", L"sovath.fas"},
    {L"Designer\\BRENIK\\R23\\", L"brenik.fas"},
};

Step EmptyFolder(const std::wstring& folder) {
  if (!CreateFolderTree(folder)) return Failed(L"could not create " + folder);
  DeleteFilesIn(folder);
  return {true, L"folder " + folder};
}

Step CreateInstalledFile(const std::wstring& path, const FILETIME& modified) {
  const FileHandle file{CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) return Failed(L"could not create " + path);
  if (!SetFileTime(file.get(), nullptr, nullptr, &modified))
    return Failed(L"could not date " + path);
  return {true, L"file " + path};
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
  std::vector<Step> steps = WriteSuitePaths(folder, folder);
  steps.push_back(CreateFolder(folder + L"Help\\"));
  // The help file the build compiles (named after the executable, without
  // its "64"), when it has been built.
  if (FileExists(DriverFolder() + L"VornixUtility.chm")) steps.push_back(PlaceHelpFile(folder));
  return steps;
}

std::vector<Step> WriteSuitePaths(const std::wstring& localAppPath,
                                  const std::wstring& networkAppPath) {
  const RegistryKey key = CreateKey(HKEY_LOCAL_MACHINE, kSuiteKey);
  if (!key) return {Failed(std::wstring(L"could not create HKLM\\") + kSuiteKey)};
  return {WriteSuiteValue(key.get(), L"LocalAppPath", localAppPath),
          WriteSuiteValue(key.get(), L"NetworkAppPath", networkAppPath)};
}

Step WriteProductUpdate(const std::wstring& level) {
  const RegistryKey key = CreateKey(HKEY_LOCAL_MACHINE, kSuiteKey);
  if (!key) return Failed(std::wstring(L"could not create HKLM\\") + kSuiteKey);
  return WriteSuiteValue(key.get(), L"ProductUpdate", level);
}

Step PlaceHelpFile(const std::wstring& appFolder) {
  const std::wstring folder = WithTrailingBackslash(appFolder) + L"Help\\";
  if (!CreateFolderTree(folder)) return Failed(L"could not create " + folder);
  return CopyInto(DriverFolder() + L"VornixUtility.chm", folder);
}

FILETIME UtcFileTime(int year, int month, int day, int hour) {
  SYSTEMTIME utc{};
  utc.wYear = static_cast<WORD>(year);
  utc.wMonth = static_cast<WORD>(month);
  utc.wDay = static_cast<WORD>(day);
  utc.wHour = static_cast<WORD>(hour);
  FILETIME time{};
  SystemTimeToFileTime(&utc, &time);
  return time;
}

std::vector<Step> InstallSuiteFiles(const FILETIME& modified, const std::wstring& appFolder,
                                    std::vector<std::wstring>* made) {
  const std::wstring root = WithTrailingBackslash(appFolder);
  std::vector<Step> steps;
  for (const InstalledFile& file : kInstalledFiles) steps.push_back(EmptyFolder(root + file.folder));
  for (const InstalledFile& file : kInstalledFiles) {
    const std::wstring path = root + file.folder + file.name;
    steps.push_back(CreateInstalledFile(path, modified));
    if (made != nullptr) made->push_back(path);
  }
  return steps;
}

Step SetLastWriteTime(const std::wstring& path, const FILETIME& modified) {
  const FileHandle file{CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file || !SetFileTime(file.get(), nullptr, nullptr, &modified))
    return Failed(L"could not date " + path);
  return {true, L"dated " + path};
}

Step ForgetSchedule() {
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, kScheduleKey);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
    SetLastError(static_cast<DWORD>(status));
    return Failed(std::wstring(L"could not delete HKCU\\") + kScheduleKey);
  }
  return {true, std::wstring(L"no HKCU\\") + kScheduleKey};
}

Step WriteScheduleDate(const std::wstring& text) {
  return WriteScheduleValue(kScheduleDateValue, REG_SZ, text.c_str(),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), text);
}

Step WriteScheduleDays(DWORD days) {
  return WriteScheduleValue(kScheduleDaysValue, REG_DWORD, &days, sizeof days,
                            std::to_wstring(days));
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
