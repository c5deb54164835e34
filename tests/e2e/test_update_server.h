// The local update page (tests/fixtures/update_server.py) as the driver sees
// it: tests/run-windows-tests.sh starts it and names it in the environment,
// the driver picks the page through its mode file and reads what it saw in
// its logs, through the Z: drive.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

// The environment variable that points the utility at another update page.
inline constexpr wchar_t kUpdateUrlVariable[] = L"VORNIX_UPDATE_URL";

// A variable of the driver's environment; empty when unset.
std::wstring EnvironmentValue(const wchar_t* name);

// Sets a variable of the driver's environment for as long as it lives: a
// child started meanwhile gets it in its environment block.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> previous_;
};

class TestUpdateServer {
 public:
  // The server named by VORNIX_TEST_UPDATE_URL, VORNIX_TEST_UNTRUSTED_URL,
  // VORNIX_TEST_SERVER_STATE and VORNIX_TEST_BROWSER; nothing when one is unset.
  static std::optional<TestUpdateServer> FromEnvironment();

  [[nodiscard]] const std::wstring& url() const { return url_; }
  // The same page behind a certificate nobody trusts.
  [[nodiscard]] const std::wstring& untrustedUrl() const { return untrustedUrl_; }
  // A file of the server's state folder, as Windows and as Unix name it.
  [[nodiscard]] std::wstring WindowsPath(const std::wstring& name) const { return state_ + name; }
  [[nodiscard]] std::wstring UnixPath(const std::wstring& name) const {
    return unixState_ + L"/" + name;
  }
  // tests/fixtures/record-browser.sh (Unix path).
  [[nodiscard]] const std::wstring& browserScript() const { return browser_; }

  // Replaces the mode file at once, so no request sees half a mode.
  [[nodiscard]] bool SetMode(const std::wstring& mode) const;

 private:
  TestUpdateServer() = default;

  std::wstring url_, untrustedUrl_, unixState_, state_, browser_;
};

// A log of the server (one JSON object per line), read from where it ended
// when the tail was made.
class LogTail {
 public:
  explicit LogTail(std::wstring path);
  [[nodiscard]] std::vector<std::string> Lines() const;

 private:
  std::wstring path_;
  size_t start_;
};

// The text of "key" in such a line: the server writes json.dumps's default
// separators, and the names asked for are not nested more than once.
std::string JsonText(const std::string& line, std::string_view key);

}  // namespace e2e
