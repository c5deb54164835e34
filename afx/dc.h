// Device-context helpers that pair the system's begin/end calls.
#pragma once

#include <windows.h>

// The paint DC of a WM_PAINT handler: BeginPaint now, EndPaint when it goes.
class CPaintDC {
public:
    explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd) { m_hDC = ::BeginPaint(hwnd, &m_ps); }
    ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC m_hDC;  // borrowed from the system for the duration of the paint
    PAINTSTRUCT m_ps{};

private:
    HWND m_hWnd;
};
