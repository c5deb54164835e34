#include "test_environment.h"

#include <cstdlib>
#include <cwchar>

#include "afx/handles.h"

std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry{};
    afx::unique_hfind find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + L"\\");
            } else {
                ::SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW((folder + name).c_str());
            }
        } while (::FindNextFileW(find.get(), &entry));
    }
    find.reset();
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t name[64];
    std::swprintf(name, 64, L"vornix-test-%lu-%d\\", ::GetCurrentProcessId(), ++counter);
    path_ = std::wstring(temp) + name;
    ::CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring TempFolder::MakeFolder(const std::wstring& relative) const {
    std::wstring folder = path_;
    std::size_t start = 0;
    while (start < relative.size()) {
        std::size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        folder += relative.substr(start, end - start) + L"\\";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        start = end + 1;
    }
    return folder;
}

void TempFolder::WriteFile(const std::wstring& relative, const std::string& bytes) const {
    afx::unique_handle file(::CreateFileW((path_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    DWORD written = 0;
    ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, DWORD type,
                                         const void* data, DWORD bytes)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    Save();
    afx::unique_hkey opened;
    ::RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(), nullptr);
    ::RegSetValueExW(opened.get(), name_.c_str(), 0, type, static_cast<const BYTE*>(data), bytes);
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name,
                                         const std::optional<std::wstring>& text)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    Save();
    afx::unique_hkey opened;
    ::RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(), nullptr);
    if (text) {
        ::RegSetValueExW(opened.get(), name_.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text->c_str()),
                         static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t)));
    } else {
        ::RegDeleteValueW(opened.get(), name_.c_str());
    }
}

void ScopedRegistryValue::Save() {
    afx::unique_hkey opened;
    if (::RegOpenKeyExW(root_, key_.c_str(), 0, KEY_QUERY_VALUE, opened.put()) != ERROR_SUCCESS) return;
    DWORD bytes = 0;
    if (::RegQueryValueExW(opened.get(), name_.c_str(), nullptr, &oldType_, nullptr, &bytes) != ERROR_SUCCESS) return;
    oldData_.resize(bytes);
    if (::RegQueryValueExW(opened.get(), name_.c_str(), nullptr, &oldType_, reinterpret_cast<BYTE*>(oldData_.data()),
                           &bytes) == ERROR_SUCCESS)
        existed_ = true;
}

ScopedRegistryValue::~ScopedRegistryValue() {
    afx::unique_hkey opened;
    if (::RegOpenKeyExW(root_, key_.c_str(), 0, KEY_SET_VALUE, opened.put()) != ERROR_SUCCESS) return;
    if (existed_) {
        ::RegSetValueExW(opened.get(), name_.c_str(), 0, oldType_, reinterpret_cast<const BYTE*>(oldData_.data()),
                         static_cast<DWORD>(oldData_.size()));
    } else {
        ::RegDeleteValueW(opened.get(), name_.c_str());
    }
}

ScopedEnvironment::ScopedEnvironment(std::wstring name, const std::optional<std::wstring>& value)
    : name_(std::move(name)) {
    if (const wchar_t* old = _wgetenv(name_.c_str())) old_ = old;
    _wputenv_s(name_.c_str(), value ? value->c_str() : L"");
}

ScopedEnvironment::~ScopedEnvironment() { _wputenv_s(name_.c_str(), old_ ? old_->c_str() : L""); }

void DeleteRegistryTree(HKEY root, const std::wstring& key) { ::RegDeleteTreeW(root, key.c_str()); }
