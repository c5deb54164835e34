#include "paths.h"

#include <windows.h>

#include <algorithm>

#include "afx/file_find.h"
#include "afx/handles.h"

namespace demo {

std::wstring DriverPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path;
}

std::wstring DriverFolder() {
    const std::wstring path = DriverPath();
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring UtilityPath() { return DriverFolder() + kUtilityName; }

std::wstring GalleryPath() { return DriverFolder() + kGalleryName; }
std::wstring CompanionPath() { return DriverFolder() + kCompanionName; }

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    const afx::unique_hfile file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    char chunk[4096];
    DWORD read = 0;
    while (file && ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, std::string_view bytes, WriteMode mode) {
    const bool append = mode == WriteMode::Append;
    const afx::unique_hfile file{CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ,
                                             nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                             nullptr)};
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring WithTrailingBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::wstring WithoutTrailingBackslash(std::wstring folder) {
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

bool CreateFolderTree(const std::wstring& folder) {
    const std::wstring trimmed = WithoutTrailingBackslash(folder);
    const DWORD attributes = GetFileAttributesW(trimmed.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const size_t parentEnd = trimmed.find_last_of(L'\\');
    if (parentEnd != std::wstring::npos && parentEnd > 2 && !CreateFolderTree(trimmed.substr(0, parentEnd)))
        return false;
    return CreateDirectoryW(trimmed.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void DeleteFilesIn(const std::wstring& folder, const wchar_t* pattern) {
    const std::wstring prefix = WithTrailingBackslash(folder);
    CFileFind find;
    for (bool more = find.FindFile(prefix + pattern); more;) {
        more = find.FindNextFile();
        if (!find.IsDirectory()) DeleteFileW((prefix + find.GetFileName()).c_str());
    }
}

std::wstring WindowsFullPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') path.insert(0, L"Z:");
    std::replace(path.begin(), path.end(), L'/', L'\\');
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

std::wstring FileNameSafe(std::wstring text) {
    for (wchar_t& c : text) {
        if (c < L' ' || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos) c = L'_';
    }
    return text;
}

}  // namespace demo
