// The framework's exception types. Only the errors that the program's
// behaviour says are raised are thrown; expected failures are values.
// Portable: no Windows header, so the portable core can raise them too.
#pragma once

#include <cstdint>
#include <exception>

// Base of every error the framework reports in its own message box.
class CException : public std::exception {
public:
    const char* what() const noexcept override { return "framework error"; }
};

// An argument the framework cannot work with (for example a missing
// control-container manager).
class CInvalidArgException : public CException {
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

// An error carrying a COM status code (HRESULT); reported with the system's
// text for that status.
class COleException : public CException {
public:
    explicit COleException(std::int32_t status) noexcept : m_sc(status) {}
    std::int32_t Status() const noexcept { return m_sc; }
    const char* what() const noexcept override { return "status error"; }

private:
    std::int32_t m_sc;
};

// A data exchange that failed (a control it needs is missing); UpdateData
// catches it and answers false, so the dialog stays open.
class CUserException : public CException {
public:
    const char* what() const noexcept override { return "data exchange failed"; }
};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowOleException(std::int32_t status);

// Status codes the program raises.
inline constexpr std::int32_t kStatusUnspecifiedFailure = static_cast<std::int32_t>(0x80004005u);  // E_FAIL
inline constexpr std::int32_t kStatusInvalidArgument = static_cast<std::int32_t>(0x80070057u);     // E_INVALIDARG
