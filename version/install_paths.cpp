#include "version/install_paths.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "afx/registry.h"
#include "version/path_text.h"

namespace {

constexpr wchar_t kWindowsCurrentVersionKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";
constexpr wchar_t kCommonFilesDirValue[] = L"CommonFilesDir";
constexpr wchar_t kCommonProgramFilesVariable[] = L"CommonProgramFiles";

std::wstring ReadInstallFolder(const wchar_t* key, const wchar_t* valueName) {
    return AddTrailingBackslash(ReadRegistryString(HKEY_LOCAL_MACHINE, key, valueName, KEY_QUERY_VALUE));
}

std::wstring MakerFolderUnder(const std::wstring& commonFiles) {
    if (commonFiles.empty()) return {};
    return AddTrailingBackslash(commonFiles) + kMakerFolder;
}

}  // namespace

std::wstring GetLocalAppPath() { return ReadInstallFolder(kSuiteKey, kLocalAppPathValue); }

std::wstring GetNetworkAppPath() { return ReadInstallFolder(kSuiteKey, kNetworkAppPathValue); }

std::wstring GetCommonFilesFolder() {
    return MakerFolderUnder(
        ReadRegistryString(HKEY_LOCAL_MACHINE, kWindowsCurrentVersionKey, kCommonFilesDirValue, KEY_QUERY_VALUE));
}

std::wstring GetCommonProgramFilesFolder() {
    std::size_t needed = 0;
    // Asking for the size alone reports 0 on Windows and ERANGE on some
    // runtimes; only the size it gives matters (0: the variable is not set).
    _wgetenv_s(&needed, nullptr, 0, kCommonProgramFilesVariable);
    if (needed == 0) return {};
    std::vector<wchar_t> buffer(needed, L'\0');
    if (_wgetenv_s(&needed, buffer.data(), buffer.size(), kCommonProgramFilesVariable) != 0) return {};
    return MakerFolderUnder(std::wstring(buffer.data()));
}
