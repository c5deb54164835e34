// A demo installation of the Vornix 2023 suite, reduced to what the utility
// reads: the suite's registry values, its application folder with the Help
// folder, the installed programs and add-ins whose dates the update check
// compares, the update check's reminder schedule, and the companion dialog
// library in a common-files folder. VornixDemo.exe --install-demo sets it up
// once for the demo, the start-up benchmark before its runs, and the UI
// checks of the program before each of theirs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace demo {

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

// "LocalAppPath" and "NetworkAppPath" as given: the update check runs only
// when the two name the same folder.
std::vector<Step> WriteSuitePaths(const std::wstring& localAppPath, const std::wstring& networkAppPath);

// The suite's update level ("ProductUpdate"), which the About box shows.
Step WriteProductUpdate(const std::wstring& level);

// The update page the utility reads and offers instead of the maker's
// ("UpdatePageAddress"), as an administrator sets it for staging.
Step WriteUpdatePageAddress(const std::wstring& address);

// Copies the built help file, VornixUtility.chm, into appFolder's Help\.
Step PlaceHelpFile(const std::wstring& appFolder = kAppFolder);

// A moment in UTC, as file times are stored.
FILETIME UtcFileTime(int year, int month, int day, int hour = 0);

// One installed program or add-in in each folder the update check scans
// (Applications\, Designer\Common\, Designer\Common\R23\ and the modules'
// R23\ folders), every one last modified at `modified`. Other files in those
// folders are deleted first. The paths made are added to `made` when given.
std::vector<Step> InstallSuiteFiles(const FILETIME& modified, const std::wstring& appFolder = kAppFolder,
                                    std::vector<std::wstring>* made = nullptr);

// Sets a file's or a folder's last modification time.
Step SetLastWriteTime(const std::wstring& path, const FILETIME& modified);

// Deletes the schedule's key: the next start counts as the first one.
Step ForgetSchedule();
Step WriteScheduleDate(const std::wstring& text);
Step WriteScheduleDays(DWORD days);

// The maker's folder under a common-files folder: <commonFiles>VELKOR\.
std::wstring MakerFolderIn(const std::wstring& commonFilesFolder);

// Copies the built companion library into MakerFolderIn(commonFilesFolder).
Step PlaceCompanionLibrary(const std::wstring& commonFilesFolder);

// Makes sure no companion library lies in MakerFolderIn(commonFilesFolder).
Step RemoveCompanionLibrary(const std::wstring& commonFilesFolder);

// The platform's common files folder as the registry names it
// ("CommonFilesDir"), with a trailing backslash; empty when unset.
std::wstring PlatformCommonFilesFolder();

}  // namespace demo
