#include "afx/system_library.h"

#include <string>

namespace afx {

namespace {

using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

// The library by its full path in the system folder, its dependencies looked
// for in that folder first: for a system whose loader knows no search flags.
HMODULE LoadFromSystemFolderPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

bool RestrictDllSearchToSystemFolder() {
    // kernel32 is loaded in every process; the function is looked up because
    // Windows 7 has it only with its loader update.
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(kernel != nullptr ? ::GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr));
    return setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

HMODULE LoadLibraryFromItsFolder(const wchar_t* path) {
    if (const HMODULE loaded =
            ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32))
        return loaded;
    // Without the loader update: its own folder first, then the default.
    if (::GetLastError() == ERROR_INVALID_PARAMETER)
        return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    return nullptr;
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (const HMODULE loaded = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return loaded;
    // The flag itself is refused without the loader update.
    if (::GetLastError() == ERROR_INVALID_PARAMETER) return LoadFromSystemFolderPath(name);
    return nullptr;
}

}  // namespace afx
