// Registering the common controls' window classes, with comctl32 taken from
// the system folder at the call (afx/system_library.h says why it is not
// imported). The manifest's activation context applies to that load as to
// an import, so a program that asks for common controls 6 gets them.
#pragma once

#include <windows.h>

// ICC_* classes; false when the library or its registration fails.
bool AfxInitCommonControls(DWORD classes);
