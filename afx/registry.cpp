#include "afx/registry.h"

#include "afx/handles.h"

namespace {

afx::unique_hkey CreateForWriting(HKEY root, const wchar_t* key) {
    afx::unique_hkey created;
    if (::RegCreateKeyExW(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, created.put(), nullptr) !=
        ERROR_SUCCESS)
        created.reset();
    return created;
}

}  // namespace

std::wstring ReadRegistryString(HKEY root, const wchar_t* key, const wchar_t* valueName, REGSAM access) {
    afx::unique_hkey opened;
    if (::RegOpenKeyExW(root, key, 0, access, opened.put()) != ERROR_SUCCESS) return {};
    wchar_t buffer[kRegistryTextBufferBytes / sizeof(wchar_t)] = {};
    DWORD bytes = sizeof(buffer);
    if (::RegQueryValueExW(opened.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) !=
        ERROR_SUCCESS)
        return {};
    // The data need not be terminated; an odd last byte is no character.
    const std::size_t units = bytes / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && buffer[length] != L'\0') ++length;
    return std::wstring(buffer, length);
}

bool WriteRegistryString(HKEY root, const wchar_t* key, const wchar_t* valueName, const std::wstring& text) {
    const afx::unique_hkey created = CreateForWriting(root, key);
    return created && ::RegSetValueExW(created.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::optional<DWORD> ReadRegistryDword(HKEY root, const wchar_t* key, const wchar_t* valueName) {
    afx::unique_hkey opened;
    if (::RegOpenKeyExW(root, key, 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return std::nullopt;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (::RegQueryValueExW(opened.get(), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool WriteRegistryDword(HKEY root, const wchar_t* key, const wchar_t* valueName, DWORD value) {
    const afx::unique_hkey created = CreateForWriting(root, key);
    return created && ::RegSetValueExW(created.get(), valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                       sizeof(value)) == ERROR_SUCCESS;
}
