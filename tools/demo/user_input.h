// Input as a user gives it: pointer moves, clicks and keys put into the
// system's input queue (SendInput), from which the program's own message
// loop takes them, in this process or another.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace demo {

// The centre of a window, in screen coordinates.
inline POINT CentreOf(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

// Where the pointer was last sent. Under Wine the X server hears of each
// move, and a late echo of an earlier one can put the pointer back there for
// a moment: a button goes down and up where the pointer was sent, as a
// person's would, wherever such an echo left it.
inline std::optional<POINT>& PointerTarget() {
    static std::optional<POINT> target;
    return target;
}

// Pointer input with the flags, at the pointer's target when there is one.
inline void SendPointerInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (const std::optional<POINT>& at = PointerTarget()) {
        input.mi.dwFlags |= MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        // Absolute positions are in 0..65535 across the screen.
        input.mi.dx = at->x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = at->y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    ::SendInput(1, &input, sizeof(input));
}

inline void SendPointerTo(POINT at) {
    PointerTarget() = at;
    SendPointerInput(0);
}

// Whether the system has the pointer at that point (SendInput's moves take
// effect when the input is processed, not when it is sent).
inline bool PointerIsAt(POINT at) {
    POINT now{};
    return ::GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

// The left button pressed (down) or released where the pointer was sent
// (where it is, when it never was).
inline void SendLeftButton(bool down) { SendPointerInput(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP); }

inline void SendLeftClick() {
    SendLeftButton(true);
    SendLeftButton(false);
}

// Keys pressed (true) and released (false) in the order given.
inline void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
    std::vector<INPUT> inputs;
    for (const auto& [key, down] : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

inline void SendKey(WORD key) { SendKeys({{key, true}, {key, false}}); }

}  // namespace demo
