// The visual style (uxtheme) for controls that draw themselves: a window's
// theme data for one class of parts, opened for the window's DPI, and the
// few drawing calls such a control makes. uxtheme is loaded from the system
// folder at its first use. Without it, without an active visual style, or
// for a window whose theme is switched off (SetWindowTheme(window, L"",
// L"")), a theme is null, which means the control's classic drawing.
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <string>

#include "afx/handles.h"

namespace afx {

namespace handle_traits {
void CloseTheme(HTHEME theme) noexcept;
}  // namespace handle_traits
using unique_htheme = unique_any<handle_traits::null_invalid<HTHEME, handle_traits::CloseTheme>>;

// The theme data of window for classList (L"BUTTON", L"TOOLBAR") at dpi
// (OpenThemeDataForDpi where the system has it); null as said above.
unique_htheme OpenWindowTheme(HWND window, const wchar_t* classList, UINT dpi);

// Fills area of dc with what window's parent shows behind it.
void DrawParentBackground(HWND window, HDC dc, const RECT& area);

// Draws the part in the state over area; nothing with a null theme.
void DrawThemePart(HTHEME theme, HDC dc, int part, int state, const RECT& area);

// The part's content area inside area (area itself with a null theme).
RECT ThemeContentRect(HTHEME theme, HDC dc, int part, int state, const RECT& area);

// Draws text in area with the theme's text colour for the part's state
// and the DrawText format; false (nothing drawn) with a null theme.
bool DrawThemePartText(HTHEME theme, HDC dc, int part, int state, const std::wstring& text, DWORD format,
                       const RECT& area);

}  // namespace afx
