// Scripting a modal loop from inside: RunSoon hands a step to the next
// message loop that runs on this thread (a dialog's, a message box's), as
// the callback of a thread timer, which every loop dispatches.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

inline std::deque<std::function<void()>>& PendingSteps() {
    static std::deque<std::function<void()>> steps;
    return steps;
}

inline void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    ::KillTimer(nullptr, timer);
    if (PendingSteps().empty()) return;
    const std::function<void()> step = std::move(PendingSteps().front());
    PendingSteps().pop_front();
    step();
}

inline void RunSoon(std::function<void()> step) {
    PendingSteps().push_back(std::move(step));
    ::SetTimer(nullptr, 0, 10, &RunPendingStep);
}

// The visible top-level window of this thread with that caption, or null.
inline HWND FindThreadWindow(const std::wstring& caption) {
    struct Search {
        const std::wstring& caption;
        HWND found;
    } search{caption, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) noexcept -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            wchar_t text[256] = {};
            ::GetWindowTextW(window, text, 256);
            if (::IsWindowVisible(window) && s->caption == text) s->found = window;
            return s->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}
