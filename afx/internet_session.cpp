#include "afx/internet_session.h"

#include "afx/module_state.h"

UINT CInternetFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (!m_request || !::InternetReadFile(m_request.get(), buffer, count, &read)) return 0;
    return read;
}

DWORD CInternetFile::StatusCode() const {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!m_request ||
        !::HttpQueryInfoW(m_request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
        return 0;
    return status;
}

std::wstring CInternetFile::Location() const {
    if (!m_request) return {};
    std::wstring text(INTERNET_MAX_URL_LENGTH, L'\0');
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (!::HttpQueryInfoW(m_request.get(), HTTP_QUERY_LOCATION, text.data(), &bytes, nullptr)) return {};
    text.resize(bytes / sizeof(wchar_t));
    return text;
}

CInternetSession::CInternetSession(const wchar_t* agent) {
    const std::wstring name = agent != nullptr ? std::wstring(agent) : AfxGetAppName();
    m_session.reset(::InternetOpenW(name.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
}

bool CInternetSession::SetOption(DWORD option, DWORD value) {
    return m_session && ::InternetSetOptionW(m_session.get(), option, &value, sizeof(value));
}

std::unique_ptr<CInternetFile> CInternetSession::OpenURL(const std::wstring& url, DWORD flags, const wchar_t* headers) {
    if (!m_session) return nullptr;
    HINTERNET request =
        ::InternetOpenUrlW(m_session.get(), url.c_str(), headers, headers != nullptr ? static_cast<DWORD>(-1) : 0,
                           flags | INTERNET_FLAG_NO_UI, 0);
    if (request == nullptr) return nullptr;
    return std::make_unique<CInternetFile>(request);
}
