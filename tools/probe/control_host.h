// A framework window that hosts controls for a test or a benchmark: a
// visible, topmost pop-up in the button-face colour on the calling thread,
// so the controls' notifications and colour requests come back to them
// reflected, and WindowFromPoint finds them where they are.
#pragma once

#include <windows.h>

#include "afx/wnd.h"

namespace probe {

class ControlHost : public CWnd {
public:
    // exStyle WS_EX_LAYOUTRTL: a right-to-left host, whose controls mirror too.
    explicit ControlHost(SIZE size = {320, 200}, DWORD exStyle = 0) {
        const wchar_t* cls =
            AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        CreateEx(WS_EX_TOPMOST | exStyle, cls, L"control host", WS_POPUP | WS_VISIBLE, 50, 50, size.cx, size.cy,
                 nullptr);
        ::SetForegroundWindow(m_hWnd);
    }

    // A visible child of windowClass at rect (client coordinates) with that id.
    HWND AddChild(const wchar_t* windowClass, const wchar_t* text, DWORD style, RECT at, int id) {
        return ::CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, at.left, at.top,
                                 at.right - at.left, at.bottom - at.top, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
};

}  // namespace probe
