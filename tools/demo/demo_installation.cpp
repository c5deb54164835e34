#include "demo_installation.h"

#include <windows.h>

#include <algorithm>

#include "afx/file_find.h"
#include "afx/handles.h"
#include "afx/registry.h"
#include "paths.h"
#include "version/install_paths.h"
#include "version/update_page_reader.h"
#include "version/web_update_check.h"

namespace demo {
namespace {

Step Failed(const std::wstring& what) { return {false, what + L" (error " + std::to_wstring(GetLastError()) + L")"}; }

// The registry writes report success only; their steps name the value.
Step Written(bool ok, const wchar_t* root, const wchar_t* key, const wchar_t* name, const std::wstring& shown) {
    const std::wstring value = std::wstring(root) + L"\\" + key + L" " + name;
    return ok ? Step{true, value + L" = " + shown} : Step{false, L"could not write " + value};
}

Step WriteSuiteValue(const wchar_t* name, const std::wstring& value) {
    return Written(WriteRegistryString(HKEY_LOCAL_MACHINE, kSuiteKey, name, value), L"HKLM", kSuiteKey, name, value);
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
    const afx::unique_hfile file{
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) return Failed(L"could not create " + path);
    if (!SetFileTime(file.get(), nullptr, nullptr, &modified)) return Failed(L"could not date " + path);
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
    if (AfxFileExists(DriverFolder() + L"VornixUtility.chm")) steps.push_back(PlaceHelpFile(folder));
    return steps;
}

std::vector<Step> WriteSuitePaths(const std::wstring& localAppPath, const std::wstring& networkAppPath) {
    return {WriteSuiteValue(L"LocalAppPath", localAppPath), WriteSuiteValue(L"NetworkAppPath", networkAppPath)};
}

Step WriteProductUpdate(const std::wstring& level) { return WriteSuiteValue(L"ProductUpdate", level); }

Step WriteUpdatePageAddress(const std::wstring& address) { return WriteSuiteValue(kUpdatePageAddressValue, address); }

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
    // Folders open only with backup semantics.
    const afx::unique_hfile file{CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
    if (!file || !SetFileTime(file.get(), nullptr, nullptr, &modified)) return Failed(L"could not date " + path);
    return {true, L"dated " + path};
}

Step ForgetSchedule() {
    const std::wstring scheduleKey = ScheduleKey();
    const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, scheduleKey.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        SetLastError(static_cast<DWORD>(status));
        return Failed(std::wstring(L"could not delete HKCU\\") + scheduleKey);
    }
    return {true, std::wstring(L"no HKCU\\") + scheduleKey};
}

Step WriteScheduleDate(const std::wstring& text) {
    const std::wstring scheduleKey = ScheduleKey();
    return Written(WriteRegistryString(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDateValue, text),
                   L"HKCU", scheduleKey.c_str(), kCheckWebVersionDateValue, text);
}

Step WriteScheduleDays(DWORD days) {
    const std::wstring scheduleKey = ScheduleKey();
    return Written(WriteRegistryDword(HKEY_CURRENT_USER, scheduleKey.c_str(), kCheckWebVersionDaysValue, days), L"HKCU",
                   scheduleKey.c_str(), kCheckWebVersionDaysValue, std::to_wstring(days));
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
    if (AfxFileExists(path) && !DeleteFileW(path.c_str())) return Failed(L"could not delete " + path);
    return {true, L"no library at " + path};
}

std::wstring PlatformCommonFilesFolder() {
    return WithTrailingBackslash(
        ReadRegistryString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"CommonFilesDir"));
}

}  // namespace demo
