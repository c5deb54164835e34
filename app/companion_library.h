// The maker's companion dialog library, a separate module loaded at
// start-up, and the one object of it the program uses: the start-up message
// shown while the main dialog initialises.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "afx/handles.h"
#include "companion/companion_interface.h"

// The library's file name for this platform: "QLDXDialogsOEM64.dll" in a
// 64-bit program, "QLDXDialogsOEM.dll" in a 32-bit one.
std::wstring CompanionLibraryName();

// Finds the library in the maker's folder under the common files folder
// (as the environment names it, then as the registry names it) and loads
// it. When it is missing or cannot be loaded, says so in a message box and
// returns an empty handle.
afx::unique_hmodule LoadCompanionLibrary();

// Creates the start-up message and sets it up (instance, title, message,
// icon, in that order); it is on screen until the returned object goes.
// Empty when no library is loaded, it lacks the factory, or the factory
// gives nothing.
std::unique_ptr<CSplashMsgDlg> ShowStartupMessage(HMODULE library, HINSTANCE resources, const wchar_t* title,
                                                  const wchar_t* message, int iconId);
