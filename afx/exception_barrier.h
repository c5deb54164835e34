// The one barrier that keeps C++ exceptions from crossing a Win32 callback.
// Every window, dialog and hook procedure, enumeration and shell callback,
// and the process entry runs its body through AfxCallGuarded: an exception
// is reported in the framework's message box and the callback returns its
// fallback value, after which the program goes on running.
//
// The report is a message box, whose own message loop dispatches the
// thread's messages. So the failing callback first gets its chance to leave
// things in a state that does not fail again at once (recover: a window
// validates the paint that failed), and a thread shows one report at a
// time: an error raised while a report is on screen is dropped.
#pragma once

#include <exception>
#include <string>
#include <utility>

// The text the framework shows for an error: the system's text for an error
// carrying a status code, a fixed text for the framework's other errors.
std::wstring AfxGetErrorMessage(const std::exception_ptr& error);

// Shows the error's text through the installed reporter, unless this thread
// already shows a report. Never throws.
void AfxReportException(const std::exception_ptr& error) noexcept;

// How reports are shown. The application object installs the framework's
// message box (owned by the main window, captioned with the application's
// name); without one (null, or in a library of its own) a message box with
// no owner and the platform's caption is shown.
using AfxErrorReporter = void (*)(const std::wstring& text);
void AfxSetErrorReporter(AfxErrorReporter reporter);

namespace afx {
inline void NoRecovery() noexcept {}
}  // namespace afx

template <class R, class F, class Recover = void (*)() noexcept>
R AfxCallGuarded(R fallback, F&& body, Recover&& recover = &afx::NoRecovery) noexcept {
    std::exception_ptr error;
    try {
        return std::forward<F>(body)();
    } catch (...) {
        error = std::current_exception();
    }
    try {
        std::forward<Recover>(recover)();
    } catch (...) {
        // The first error is the one worth reporting.
    }
    AfxReportException(error);
    return fallback;
}

template <class F>
void AfxCallGuarded(F&& body) noexcept {
    AfxCallGuarded(0, [&] {
        std::forward<F>(body)();
        return 0;
    });
}
