// CInternetSession: reading a web address as a file, over the platform's
// internet functions with its pre-configured proxy settings. Failures are
// values: an address that cannot be opened gives no file, a read that
// fails reads nothing. Certificates are always verified. wininet is loaded
// from the system folder at the first session (afx/system_library.h); where
// it cannot be, no session opens.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <memory>
#include <string>

#include "afx/handles.h"

namespace afx {
namespace handle_traits {
void CloseInternet(HINTERNET h) noexcept;
}  // namespace handle_traits
using unique_hinternet = unique_any<handle_traits::null_invalid<HINTERNET, handle_traits::CloseInternet>>;
}  // namespace afx

class CInternetFile {
public:
    explicit CInternetFile(HINTERNET request) : m_request(request) {}

    // Reads up to count bytes; 0 at the end of the data or on a failure.
    UINT Read(void* buffer, UINT count);
    // The response's HTTP status code; 0 when there is none.
    DWORD StatusCode() const;
    // The response's Location header (where a redirect points, possibly
    // relative to the address asked); empty when there is none.
    std::wstring Location() const;
    void Close() { m_request.reset(); }

private:
    afx::unique_hinternet m_request;
};

class CInternetSession {
public:
    // A null agent means the application's name.
    explicit CInternetSession(const wchar_t* agent = nullptr);

    bool IsOpen() const { return static_cast<bool>(m_session); }
    // Session-wide options such as the connect, send and receive time-outs.
    bool SetOption(DWORD option, DWORD value);

    // Opens the address for reading; null when it cannot be opened.
    std::unique_ptr<CInternetFile> OpenURL(const std::wstring& url, DWORD flags, const wchar_t* headers = nullptr);

    // The address `relative` names when read from `base` (it may be whole
    // already); empty when the two make no address.
    static std::wstring CombineURL(const std::wstring& base, const std::wstring& relative);

    void Close() { m_session.reset(); }

private:
    afx::unique_hinternet m_session;
};
