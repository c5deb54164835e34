// Looking at another process's windows from outside, the way Wine allows:
// texts, classes, styles and child controls can be read across processes,
// menus cannot.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace demo {

inline constexpr wchar_t kDialogClass[] = L"#32770";
inline constexpr wchar_t kMenuClass[] = L"#32768";
inline constexpr wchar_t kUtilityCaption[] = L"Vornix Utility";
// The companion library's start-up message while the main dialog initialises.
inline constexpr wchar_t kStartUpText[] = L"Starting application...";
inline constexpr int kMessageBoxTextId = 0xFFFF;
inline constexpr int kHelpButtonId = 1049;

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId);

// Every child window of parent, at any depth.
std::vector<HWND> ChildWindowsOf(HWND parent);

std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window);

// A dialog box made by MessageBox: a "#32770" window with its text in the
// static control 0xFFFF.
bool IsMessageBox(HWND window);
std::wstring MessageBoxText(HWND box);

// The visible message box of the process, if any.
HWND FindMessageBox(DWORD processId);

// The utility's main dialog once it is on screen: the visible "#32770"
// window of the process that has the Help button. The caption is left for
// the caller to check.
HWND FindMainDialog(DWORD processId);

// A visible popup menu ("#32768") of the process, if one is open.
HWND FindOpenMenu(DWORD processId);

// The window that has the keyboard focus in window's thread (of any
// process), or null.
HWND FocusOfThreadOf(HWND window);

// The splash: a visible popup window of the process without a caption
// (menus aside), if one is on screen.
HWND FindSplash(DWORD processId);

// The visible top-level window of the process that has a child control
// showing text, such as the companion library's start-up message.
HWND FindWindowShowingText(DWORD processId, std::wstring_view text);

// Sends a message to a window of another process, giving up after a few
// seconds rather than hanging the driver on a stuck program.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// True when the window's thread still answers messages.
bool Responds(HWND window);

}  // namespace demo
