// What a screen reader hears of a window: its client object, asked for the
// way one asks (AccessibleObjectFromWindow; marshalled from another
// process), read for the control itself. The caller's thread is in a COM
// apartment.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace demo {

struct Heard {
    long role = 0, state = 0;
    std::wstring name, value, action;
};

// Nothing heard (all empty) when the window gives no object.
Heard Hear(HWND window);
// The object's accDoDefaultAction for the control itself.
HRESULT DoDefaultAction(HWND window);

// What it hears, in a line: role number, state bits, name, value, action.
std::wstring Describe(const Heard& heard);

}  // namespace demo
