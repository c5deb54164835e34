#include "app/help_path.h"

std::wstring HelpFileName(std::wstring_view defaultHelpPath) {
    std::wstring_view name = defaultHelpPath;
    if (const std::size_t slash = name.rfind(L'\\'); slash != std::wstring_view::npos) name.remove_prefix(slash + 1);
    if (const std::size_t dot = name.rfind(L'.'); dot != std::wstring_view::npos) name = name.substr(0, dot);
    if (name.ends_with(L"32") || name.ends_with(L"64")) name.remove_suffix(2);
    return std::wstring(name) + L".chm";
}

std::wstring HelpTopicAddress(const std::wstring& helpFilePath, std::wstring_view page) {
    return helpFilePath + L"::/" + std::wstring(page);
}
