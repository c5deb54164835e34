// The one barrier that keeps C++ exceptions from crossing a Win32 callback.
// Every window, dialog and hook procedure, enumeration and shell callback,
// and the process entry runs its body through AfxCallGuarded: an exception
// is reported in the framework's message box and the callback returns its
// fallback value, after which the program goes on running.
#pragma once

#include <exception>
#include <string>
#include <utility>

// The text the framework shows for an error: the system's text for an error
// carrying a status code, a fixed text for the framework's other errors.
std::wstring AfxGetErrorMessage(const std::exception_ptr& error);

// Shows the error in a message box owned by the main window, captioned with
// the application's name. Never throws.
void AfxReportException(const std::exception_ptr& error) noexcept;

template <class R, class F>
R AfxCallGuarded(R fallback, F&& body) noexcept {
    try {
        return std::forward<F>(body)();
    } catch (...) {
        AfxReportException(std::current_exception());
        return fallback;
    }
}

template <class F>
void AfxCallGuarded(F&& body) noexcept {
    try {
        std::forward<F>(body)();
    } catch (...) {
        AfxReportException(std::current_exception());
    }
}
