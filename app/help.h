// The program's help: one compiled HTML help file in the suite's Help
// folder, opened through the platform's HTML Help control.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "afx/wnd.h"

// The main dialog's page inside the help file.
inline constexpr wchar_t kMainDialogHelpPage[] = L"main_window.html";

// HTML Help commands used by the program.
inline constexpr UINT kHelpDisplayTopic = 0;  // HH_DISPLAY_TOPIC
inline constexpr UINT kHelpDisplayToc = 1;    // HH_DISPLAY_TOC

// The help file named after the executable in the suite's Help folder
// (LocalAppPath + "Help\"), or in the current folder without LocalAppPath.
std::wstring GetHelpFilePath(const std::wstring& defaultHelpPath);

// Opens the help file for caller: at page inside it, or with its contents
// when page is empty. When the file is missing nothing opens and a message
// box names the file: owned by reporter under the application's name, or,
// with no reporter, with no owner under the platform's own caption.
void OpenHelpFile(HWND caller, const std::wstring& helpFilePath, std::wstring_view page, const CWnd* reporter);

// Calls the HTML Help control's HtmlHelpW, loading the control on first use
// (the registered one, else "hhctrl.ocx"). Once loading has failed nothing
// is tried again and every call returns null.
HWND AfxHtmlHelp(HWND caller, const std::wstring& fileOrTopic, UINT command, DWORD_PTR data);

// Calls entry in place of the control's HtmlHelpW from now on (null: the
// control's own again, loaded on the next call). For whoever must see the
// calls instead of a help viewer, such as the program's tests.
using HtmlHelpEntry = HWND(WINAPI*)(HWND, const wchar_t*, UINT, DWORD_PTR);
void SetHtmlHelpEntry(HtmlHelpEntry entry);
