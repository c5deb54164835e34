#include "afx/internet_session.h"

#include "afx/module_state.h"
#include "afx/system_library.h"

namespace {

constexpr wchar_t kWinInet[] = L"wininet.dll";
constinit const afx::SystemFunction<decltype(&::InternetOpenW)> kInternetOpen{kWinInet, "InternetOpenW"};
constinit const afx::SystemFunction<decltype(&::InternetSetOptionW)> kInternetSetOption{kWinInet, "InternetSetOptionW"};
constinit const afx::SystemFunction<decltype(&::InternetOpenUrlW)> kInternetOpenUrl{kWinInet, "InternetOpenUrlW"};
constinit const afx::SystemFunction<decltype(&::InternetReadFile)> kInternetReadFile{kWinInet, "InternetReadFile"};
constinit const afx::SystemFunction<decltype(&::HttpQueryInfoW)> kHttpQueryInfo{kWinInet, "HttpQueryInfoW"};
constinit const afx::SystemFunction<decltype(&::InternetCombineUrlW)> kInternetCombineUrl{kWinInet,
                                                                                          "InternetCombineUrlW"};
constinit const afx::SystemFunction<decltype(&::InternetCloseHandle)> kInternetCloseHandle{kWinInet,
                                                                                           "InternetCloseHandle"};

}  // namespace

void afx::handle_traits::CloseInternet(HINTERNET h) noexcept {
    // A handle exists only where the library was loaded.
    if (const auto close = kInternetCloseHandle.get()) close(h);
}

UINT CInternetFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    const auto readFile = kInternetReadFile.get();
    if (!m_request || readFile == nullptr || !readFile(m_request.get(), buffer, count, &read)) return 0;
    return read;
}

DWORD CInternetFile::StatusCode() const {
    DWORD status = 0;
    DWORD size = sizeof(status);
    const auto query = kHttpQueryInfo.get();
    if (!m_request || query == nullptr ||
        !query(m_request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

std::wstring CInternetFile::Location() const {
    const auto query = kHttpQueryInfo.get();
    if (!m_request || query == nullptr) return {};
    std::wstring text(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!query(m_request.get(), HTTP_QUERY_LOCATION, text.data(), &bytes, nullptr)) return {};
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

CInternetSession::CInternetSession(const wchar_t* agent) {
    const auto open = kInternetOpen.get();
    if (open == nullptr) return;
    const std::wstring name = agent != nullptr ? std::wstring(agent) : AfxGetAppName();
    m_session.reset(open(name.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

bool CInternetSession::SetOption(DWORD option, DWORD value) {
    const auto setOption = kInternetSetOption.get();
    return m_session && setOption != nullptr && setOption(m_session.get(), option, &value, sizeof(value));
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const std::wstring& url, DWORD flags, const wchar_t* headers) {
    const auto openUrl = kInternetOpenUrl.get();
    if (!m_session || openUrl == nullptr) return nullptr;
    HINTERNET request = openUrl(m_session.get(), url.c_str(), headers, headers != nullptr ? static_cast<DWORD>(-1) : 0,
                                flags | INTERNET_FLAG_NO_UI, 0);
    if (request == nullptr) return nullptr;
    return std::make_unique<CInternetFile>(request);
}

std::wstring CInternetSession::CombineURL(const std::wstring& base, const std::wstring& relative) {
    const auto combine = kInternetCombineUrl.get();
    if (combine == nullptr || relative.empty()) return {};
    std::wstring combined(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD length = static_cast<DWORD>(combined.size());
    if (!combine(base.c_str(), relative.c_str(), combined.data(), &length, ICU_NO_ENCODE)) return {};
    combined.resize(length);
    return combined;
}
