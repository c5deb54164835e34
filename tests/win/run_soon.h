// Scripting a modal loop from inside: RunSoon hands a step to the next
// message loop that runs on this thread (a dialog's, a message box's), as
// the callback of a thread timer, which every loop dispatches.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

#include "process_windows.h"

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

// The visible top-level window of this process with that caption, or null.
inline HWND FindShownWindow(const std::wstring& caption) {
    for (HWND window : demo::VisibleTopLevelWindowsOf(::GetCurrentProcessId()))
        if (demo::TextOf(window) == caption) return window;
    return nullptr;
}
