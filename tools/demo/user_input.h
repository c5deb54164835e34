// Input as a user gives it: pointer moves, clicks and keys put into the
// system's input queue (SendInput), from which the program's own message
// loop takes them, in this process or another.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace demo {

// The centre of a window, in screen coordinates.
inline POINT CentreOf(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
}

inline void SendPointerTo(POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    // Absolute positions are in 0..65535 across the screen.
    input.mi.dx = at.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    ::SendInput(1, &input, sizeof(input));
}

// Whether the system has the pointer at that point (SendInput's moves take
// effect when the input is processed, not when it is sent).
inline bool PointerIsAt(POINT at) {
    POINT now{};
    return ::GetCursorPos(&now) && now.x == at.x && now.y == at.y;
}

// The left button pressed (down) or released where the pointer is.
inline void SendLeftButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof(input));
}

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
