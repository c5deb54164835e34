// Display scale: the dots per inch a window is drawn at, sizes for it, and
// icons loaded for it. The functions Windows 10 has for this are looked up
// when first needed, so a program still starts where they are missing (and
// there the system's one DPI answers for every window).
//
// A top-level window moved to a monitor of another scale is told the new DPI
// by WM_DPICHANGED; the framework's dialogs record it (SetWindowDpi) and pass
// it on to their controls with WM_DPICHANGED_AFTERPARENT, and GetWindowDpi
// answers from that record first, since not every system answers for a
// window with the DPI it was last told (Wine never sends the message, and
// keeps answering with the DPI the process started at).
#pragma once

#include <windows.h>

namespace afx {

// The DPI that sizes are given for at 100 % (USER_DEFAULT_SCREEN_DPI).
inline constexpr UINT kDefaultDpi = 96;
// Sent to each child window after its top-level window's DPI changed
// (Windows 10; not among the Windows 7 headers' messages).
inline constexpr UINT kWmDpiChangedAfterParent = 0x02E3;

// The DPI window is drawn at: the last DPI its top-level window recorded,
// else what the system says of the window, else the system's DPI. Null
// asks for the system's.
UINT GetWindowDpi(HWND window);
// Records (0: forgets) the DPI a top-level window was told it is drawn at.
void SetWindowDpi(HWND topLevel, UINT dpi);

// value, given for 96 DPI, at dpi (rounded to nearest).
int ScaleForDpi(int value, UINT dpi);
// GetSystemMetrics(index) for a window at dpi (icon sizes, edges).
int GetSystemMetricForDpi(int index, UINT dpi);

// The icon resource name of module at cx by cy pixels: the group's best
// image scaled down to that size (never a smaller one scaled up) where the
// system can, else the system's choice for that size. Null when there is no
// such icon; the caller owns it.
HICON LoadIconForSize(HINSTANCE module, LPCWSTR name, int cx, int cy);

}  // namespace afx
