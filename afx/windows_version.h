// The oldest Windows the framework and the controls are written for:
// Windows 7. A program sets the version it targets (_WIN32_WINNT, or the
// compiler's default, Windows 10 for MinGW-w64) and that version stands;
// these headers only refuse one older than theirs, which would hide
// declarations they use. The project's own build targets exactly this
// version (the top CMakeLists.txt), so it uses nothing newer.
#pragma once

#include <windows.h>

#define AFX_OLDEST_WIN32_WINNT 0x0601

#if _WIN32_WINNT < AFX_OLDEST_WIN32_WINNT
#error "The Vornix framework and controls need _WIN32_WINNT 0x0601 (Windows 7) or later."
#endif
