#include "version/file_version.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "afx/system_library.h"
#include "version/version_text.h"

namespace {

constexpr WORD kLanguageWhenUntranslated = 0x0000;
constexpr WORD kCodePageWhenUntranslated = 1252;

struct VersionKey {
    const wchar_t* name;
    std::wstring FileVersionStrings::*field;
};

constexpr VersionKey kKeys[] = {
    {L"Comments", &FileVersionStrings::Comments},
    {L"CompanyName", &FileVersionStrings::CompanyName},
    {L"FileDescription", &FileVersionStrings::FileDescription},
    {L"FileVersion", &FileVersionStrings::FileVersion},
    {L"InternalName", &FileVersionStrings::InternalName},
    {L"LegalCopyright", &FileVersionStrings::LegalCopyright},
    {L"LegalTrademarks", &FileVersionStrings::LegalTrademarks},
    {L"OriginalFilename", &FileVersionStrings::OriginalFilename},
    {L"PrivateBuild", &FileVersionStrings::PrivateBuild},
    {L"ProductName", &FileVersionStrings::ProductName},
    {L"ProductVersion", &FileVersionStrings::ProductVersion},
    {L"SpecialBuild", &FileVersionStrings::SpecialBuild},
};

constinit const afx::SystemFunction<decltype(&::GetFileVersionInfoSizeW)> kGetFileVersionInfoSize{
    L"version.dll", "GetFileVersionInfoSizeW"};
constinit const afx::SystemFunction<decltype(&::GetFileVersionInfoW)> kGetFileVersionInfo{L"version.dll",
                                                                                          "GetFileVersionInfoW"};
constinit const afx::SystemFunction<decltype(&::VerQueryValueW)> kVerQueryValue{L"version.dll", "VerQueryValueW"};

}  // namespace

void ReadFileVersionStrings(FileVersionStrings& record, const std::wstring& path, const std::wstring& extension) {
    const auto infoSize = kGetFileVersionInfoSize.get();
    const auto info = kGetFileVersionInfo.get();
    const auto queryValue = kVerQueryValue.get();
    // Without the system's version library no file has a version to read.
    if (infoSize == nullptr || info == nullptr || queryValue == nullptr) return;
    const std::wstring file = path + extension;
    DWORD ignored = 0;
    const DWORD size = infoSize(file.c_str(), &ignored);
    if (size == 0) return;
    std::vector<BYTE> block(size);
    if (!info(file.c_str(), 0, size, block.data())) return;

    void* value = nullptr;
    UINT length = 0;
    if (!queryValue(block.data(), L"\\", &value, &length) || value == nullptr) return;

    WORD language = kLanguageWhenUntranslated;
    WORD codePage = kCodePageWhenUntranslated;
    if (queryValue(block.data(), L"\\VarFileInfo\\Translation", &value, &length) && value != nullptr && length >= 4) {
        const auto* translation = static_cast<const WORD*>(value);
        language = translation[0];
        codePage = translation[1];
    }
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", language, codePage);

    for (const VersionKey& key : kKeys) {
        const std::wstring keyPath = std::wstring(prefix) + key.name;
        if (!queryValue(block.data(), keyPath.c_str(), &value, &length) || value == nullptr) continue;
        // Up to the terminating zero, and never past the block.
        const auto* text = static_cast<const wchar_t*>(value);
        const auto* end = reinterpret_cast<const wchar_t*>(block.data() + block.size());
        if (text < reinterpret_cast<const wchar_t*>(block.data()) || text >= end) continue;
        record.*key.field = std::wstring(text, ::wcsnlen(text, static_cast<std::size_t>(end - text)));
    }
    TidyVersionString(record.FileVersion);
    TidyVersionString(record.ProductVersion);
}
