#include "test_update_server.h"

#include <windows.h>

#include <utility>

#include "paths.h"
#include "utf8.h"
#include "win_handles.h"

namespace e2e {

std::wstring EnvironmentValue(const wchar_t* name) {
  const DWORD length = GetEnvironmentVariableW(name, nullptr, 0);
  if (length == 0) return {};
  std::wstring value(length, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), length));
  return value;
}

ScopedVariable::ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
  if (GetEnvironmentVariableW(name, nullptr, 0) != 0) previous_ = EnvironmentValue(name);
  SetEnvironmentVariableW(name, value.c_str());
}

ScopedVariable::~ScopedVariable() {
  SetEnvironmentVariableW(name_, previous_ ? previous_->c_str() : nullptr);
}

std::optional<TestUpdateServer> TestUpdateServer::FromEnvironment() {
  TestUpdateServer server;
  server.url_ = EnvironmentValue(L"VORNIX_TEST_UPDATE_URL");
  server.untrustedUrl_ = EnvironmentValue(L"VORNIX_TEST_UNTRUSTED_URL");
  server.unixState_ = EnvironmentValue(L"VORNIX_TEST_SERVER_STATE");
  server.browser_ = EnvironmentValue(L"VORNIX_TEST_BROWSER");
  if (server.url_.empty() || server.untrustedUrl_.empty() || server.unixState_.empty() ||
      server.browser_.empty())
    return std::nullopt;
  server.state_ = WithTrailingBackslash(WindowsFullPath(server.unixState_));
  return server;
}

bool TestUpdateServer::SetMode(const std::wstring& mode) const {
  const std::wstring next = WindowsPath(L"mode.tmp");
  {
    const FileHandle file{CreateFileW(next.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr)};
    const std::string bytes = Utf8(mode + L"\n");
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
      return false;
  }
  return MoveFileExW(next.c_str(), WindowsPath(L"mode").c_str(), MOVEFILE_REPLACE_EXISTING) !=
         FALSE;
}

LogTail::LogTail(std::wstring path) : path_(std::move(path)), start_(FileBytes(path_).size()) {}

std::vector<std::string> LogTail::Lines() const {
  const std::string bytes = FileBytes(path_);
  std::vector<std::string> lines;
  for (size_t at = start_; at < bytes.size();) {
    const size_t end = bytes.find('\n', at);
    if (end == std::string::npos) break;  // a line still being written
    lines.push_back(bytes.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

std::string JsonText(const std::string& line, std::string_view key) {
  std::string tag = "\"";
  tag.append(key).append("\": \"");
  size_t at = line.find(tag);
  if (at == std::string::npos) return {};
  std::string text;
  for (at += tag.size(); at < line.size() && line[at] != '"'; ++at) {
    if (line[at] == '\\' && at + 1 < line.size()) ++at;
    text += line[at];
  }
  return text;
}

}  // namespace e2e
