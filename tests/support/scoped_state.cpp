#include "scoped_state.h"

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <system_error>

#include "afx/file_time.h"
#include "afx/handles.h"
#include "demo_installation.h"
#include "paths.h"

namespace {

void SetValue(HKEY root, const std::wstring& key, const std::wstring& name, std::optional<DWORD> type, const void* data,
              DWORD bytes) {
    afx::unique_hkey opened;
    ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, opened.put(), nullptr);
    if (type) {
        ::RegSetValueExW(opened.get(), name.c_str(), 0, *type, static_cast<const BYTE*>(data), bytes);
    } else {
        ::RegDeleteValueW(opened.get(), name.c_str());
    }
}

}  // namespace

std::wstring ProgramFolder() { return demo::DriverFolder(); }

TempFolder::TempFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    wchar_t name[64];
    std::swprintf(name, 64, L"vornix-test-%lu-%d\\", ::GetCurrentProcessId(), ++counter);
    m_path = std::wstring(temp) + name;
    ::CreateDirectoryW(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    std::error_code ignored;  // what cannot be removed stays behind
    std::filesystem::remove_all(m_path, ignored);
}

std::wstring TempFolder::MakeFolder(const std::wstring& relative) const {
    const std::wstring folder = demo::WithTrailingBackslash(m_path + relative);
    demo::CreateFolderTree(folder);
    return folder;
}

std::wstring TempFolder::WriteFile(const std::wstring& relative, const std::string& bytes,
                                   std::optional<std::int64_t> modifiedUnixSeconds) const {
    const std::wstring path = m_path + relative;
    demo::WriteFileBytes(path, bytes);
    if (modifiedUnixSeconds) demo::SetLastWriteTime(path, afx::UnixSecondsToFileTime(*modifiedUnixSeconds));
    return path;
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name, DWORD type, const void* data,
                                         DWORD bytes)
    : m_root(root), m_key(std::move(key)), m_name(std::move(name)) {
    afx::unique_hkey opened;
    DWORD oldBytes = 0;
    DWORD oldType = 0;
    if (::RegOpenKeyExW(m_root, m_key.c_str(), 0, KEY_QUERY_VALUE, opened.put()) == ERROR_SUCCESS &&
        ::RegQueryValueExW(opened.get(), m_name.c_str(), nullptr, &oldType, nullptr, &oldBytes) == ERROR_SUCCESS) {
        m_oldData.resize(oldBytes);
        ::RegQueryValueExW(opened.get(), m_name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(m_oldData.data()),
                           &oldBytes);
        m_oldType = oldType;
    }
    SetValue(m_root, m_key, m_name, type, data, bytes);
}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, std::wstring key, std::wstring name,
                                         const std::optional<std::wstring>& text)
    : ScopedRegistryValue(root, std::move(key), std::move(name), REG_SZ, text ? text->c_str() : nullptr,
                          text ? static_cast<DWORD>((text->size() + 1) * sizeof(wchar_t)) : 0) {
    if (!text) SetValue(m_root, m_key, m_name, std::nullopt, nullptr, 0);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    SetValue(m_root, m_key, m_name, m_oldType, m_oldData.data(), static_cast<DWORD>(m_oldData.size()));
}

ScopedEnvironment::ScopedEnvironment(std::wstring name, const std::optional<std::wstring>& value)
    : m_name(std::move(name)) {
    if (const wchar_t* old = _wgetenv(m_name.c_str())) m_old = old;
    _wputenv_s(m_name.c_str(), value ? value->c_str() : L"");
}

ScopedEnvironment::~ScopedEnvironment() { _wputenv_s(m_name.c_str(), m_old ? m_old->c_str() : L""); }
