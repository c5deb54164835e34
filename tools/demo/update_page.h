// The local update page (tools/update_page/update_page_server.py) as a
// driver sees it through Wine's Z: drive: its addresses from the ready.json
// it wrote into its state folder, and what it serves chosen by rewriting the
// mode file there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace demo {

class UpdatePage {
public:
    // The server of that state folder (a Unix or a Windows path); nothing
    // when its ready.json cannot be read.
    static std::optional<UpdatePage> FromStateFolder(const std::wstring& folder);

    [[nodiscard]] const std::wstring& url() const { return m_url; }
    // The same page behind a certificate nobody trusts.
    [[nodiscard]] const std::wstring& untrustedUrl() const { return m_untrustedUrl; }

    // A mode of update_page_server.py ("marker", "hang", "redirect-http", ...)
    // from the next connection on. The file is replaced at once, so no
    // connection reads half a mode.
    [[nodiscard]] bool SetMode(const std::wstring& mode) const;

    // How many requests the server's plain-http page has had.
    [[nodiscard]] std::size_t PlainRequests() const;

private:
    UpdatePage() = default;

    std::wstring m_state, m_url, m_untrustedUrl;
};

// The text of "key" in a JSON object written with json.dumps's default
// separators, for flat objects of strings like ready.json.
std::string JsonText(std::string_view json, std::string_view key);

}  // namespace demo
