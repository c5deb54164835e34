// Files a driver of the utility works with: its own folder, which the build
// shares with the utility, and small file-system helpers.
#pragma once

#include <string>
#include <string_view>

namespace demo {

// The running executable, and its folder with a trailing backslash.
std::wstring DriverPath();
std::wstring DriverFolder();

std::wstring UtilityPath();    // VornixUtility64.exe
std::wstring GalleryPath();    // ControlsGallery64.exe
std::wstring CompanionPath();  // QLDXDialogsOEM64.dll as built

// The build's names: "64" in the 64-bit files' names, no number in the
// 32-bit ones'. A driver drives the programs of its own architecture.
#ifdef _WIN64
inline constexpr wchar_t kCompanionName[] = L"QLDXDialogsOEM64.dll";
inline constexpr wchar_t kUtilityName[] = L"VornixUtility64.exe";
inline constexpr wchar_t kGalleryName[] = L"ControlsGallery64.exe";
#else
inline constexpr wchar_t kCompanionName[] = L"QLDXDialogsOEM.dll";
inline constexpr wchar_t kUtilityName[] = L"VornixUtility.exe";
inline constexpr wchar_t kGalleryName[] = L"ControlsGallery.exe";
#endif

// The whole content of a file another process may still be writing; empty
// when it cannot be read.
std::string FileBytes(const std::wstring& path);

enum class WriteMode { Replace, Append };

// Writes bytes into the file, creating it when missing; true when all were
// written.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes, WriteMode mode = WriteMode::Replace);

// Folder paths end in a backslash so names are joined by concatenation;
// an empty path stays empty.
std::wstring WithTrailingBackslash(std::wstring folder);
// The form the environment and command lines use: no trailing backslash.
std::wstring WithoutTrailingBackslash(std::wstring folder);

// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolderTree(const std::wstring& folder);

// Deletes the files directly inside folder (not sub-folders) that match
// the wildcard pattern.
void DeleteFilesIn(const std::wstring& folder, const wchar_t* pattern = L"*");

// The full Windows path of a path given on the command line. A Unix path
// ("/work/x") names the same place through drive Z:, which Wine maps to the
// root of the host's file system; a relative path is taken from the current
// folder.
std::wstring WindowsFullPath(std::wstring path);

// A text usable as one file name: characters Windows forbids become '_'.
std::wstring FileNameSafe(std::wstring text);

}  // namespace demo
