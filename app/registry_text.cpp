#include "app/registry_text.h"

#include "afx/handles.h"

std::wstring ReadRegistryText(HKEY root, const wchar_t* key, const wchar_t* valueName, REGSAM access) {
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
