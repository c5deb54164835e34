#include "version/version_text.h"

namespace {
constexpr wchar_t kSuiteVersionWhenUnknown[] = L"2023";
constexpr wchar_t kUpdatePrefix[] = L"    Update ";
}  // namespace

void TidyVersionString(std::wstring& text) {
    if (text.find(L", ") != std::wstring::npos) {
        for (wchar_t& c : text)
            if (c == L',') c = L'.';
        std::erase(text, L' ');
    }
    if (text.find(L'.') == std::wstring::npos) return;
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, L".0") == 0) text.erase(text.rfind(L'.'));
    if (text.find(L'.') == std::wstring::npos) text += L".0";
}

std::wstring ComposeAboutText(const std::wstring& description, const std::wstring& fileVersion,
                              std::wstring productVersion, const std::wstring& updateLevel,
                              const std::wstring& copyright) {
    if (productVersion.empty()) productVersion = kSuiteVersionWhenUnknown;
    const std::wstring update = updateLevel.empty() ? std::wstring() : kUpdatePrefix + updateLevel;
    return description + L" Version " + fileVersion + L"\n\nVELKOR 2D Version " + productVersion + update + L"\n\n" +
           copyright;
}
