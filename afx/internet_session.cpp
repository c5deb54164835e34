#include "afx/internet_session.h"

#include "afx/module_state.h"

UINT CInternetFile::Read(void* buffer, UINT count) {
    DWORD read = 0;
    if (!m_request || !::InternetReadFile(m_request.get(), buffer, count, &read)) return 0;
    return read;
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
