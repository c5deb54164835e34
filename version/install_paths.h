// Where the suite is installed, as its installer recorded it in the
// registry and as the platform names its shared folders. Every lookup is
// read-only, silent and uncached: a missing value gives an empty path.
// Folder results are empty or end in a backslash.
#pragma once

#include <string>

// The suite's key under HKEY_LOCAL_MACHINE. Under HKEY_CURRENT_USER the
// same key holds the framework's per-user settings of the program, whose
// application registry key is therefore the part after "Software\".
inline constexpr wchar_t kSuiteKey[] = L"Software\\VELKOR\\Vornix\\2023";
inline constexpr const wchar_t* kAppRegistryKey = kSuiteKey + std::char_traits<wchar_t>::length(L"Software\\");
inline constexpr wchar_t kLocalAppPathValue[] = L"LocalAppPath";
inline constexpr wchar_t kNetworkAppPathValue[] = L"NetworkAppPath";
inline constexpr wchar_t kProductUpdateValue[] = L"ProductUpdate";
// The maker's folder under the platform's common files folder.
inline constexpr wchar_t kMakerFolder[] = L"VELKOR\\";

// Folder of the suite's locally installed programs.
std::wstring GetLocalAppPath();
// Folder of the suite's shared installation.
std::wstring GetNetworkAppPath();
// The maker's folder under the common files folder named by the registry
// (HKLM ...\CurrentVersion "CommonFilesDir").
std::wstring GetCommonFilesFolder();
// The maker's folder under the common files folder named by the
// environment ("CommonProgramFiles").
std::wstring GetCommonProgramFilesFolder();
