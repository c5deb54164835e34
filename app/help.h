// The program's help: one compiled HTML help file in the suite's Help
// folder, opened through the platform's HTML Help control.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kMissingHelpFileText[] = L"Couldn't find help file: \n%s\n\nPlease check software installation.";
// The main dialog's page inside the help file.
inline constexpr wchar_t kMainDialogHelpPage[] = L"main_window.html";

// HTML Help commands used by the program.
inline constexpr UINT kHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC
inline constexpr UINT kHelpDisplayToc = 1;    // HH_DISPLAY_TOC

// The help file named after the executable in the suite's Help folder
// (LocalAppPath + "Help\"), or in the current folder without LocalAppPath.
std::wstring GetHelpFilePath(const std::wstring& defaultHelpPath);

// The help file path computed at start-up, shared by the application's F1
// command as its fallback.
std::wstring& ProcessHelpFilePath();

// Whether the help file is there: its attributes can be read (a folder of
// that name counts).
bool HelpFileExists(const std::wstring& path);

// Calls the HTML Help control's HtmlHelpW, loading the control on first use
// (the registered one, else "hhctrl.ocx"). Once loading has failed nothing
// is tried again and every call returns null.
HWND AfxHtmlHelp(HWND caller, const std::wstring& fileOrTopic, UINT command, DWORD_PTR data);
