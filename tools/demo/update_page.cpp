#include "update_page.h"

#include <windows.h>

#include "paths.h"
#include "utf8.h"

namespace demo {

std::optional<UpdatePage> UpdatePage::FromStateFolder(const std::wstring& folder) {
    UpdatePage page;
    page.m_state = WithTrailingBackslash(WindowsFullPath(folder));
    const std::string ready = FileBytes(page.m_state + L"ready.json");
    page.m_url = FromUtf8(JsonText(ready, "url"));
    page.m_untrustedUrl = FromUtf8(JsonText(ready, "untrusted_url"));
    if (page.m_url.empty() || page.m_untrustedUrl.empty()) return std::nullopt;
    return page;
}

bool UpdatePage::SetMode(const std::wstring& mode) const {
    const std::wstring next = m_state + L"mode.tmp";
    return WriteFileBytes(next, Utf8(mode + L"\n")) &&
           MoveFileExW(next.c_str(), (m_state + L"mode").c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

std::size_t UpdatePage::PlainRequests() const {
    const std::string log = FileBytes(m_state + L"plain-requests");
    std::size_t lines = 0;
    for (const char c : log) lines += c == '\n' ? 1 : 0;
    return lines;
}

std::string JsonText(std::string_view json, std::string_view key) {
    std::string tag = "\"";
    tag.append(key).append("\": \"");
    size_t at = json.find(tag);
    if (at == std::string_view::npos) return {};
    std::string text;
    for (at += tag.size(); at < json.size() && json[at] != '"'; ++at) {
        if (json[at] == '\\' && at + 1 < json.size()) ++at;
        text += json[at];
    }
    return text;
}

}  // namespace demo
