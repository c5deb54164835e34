// Handing a document or an address to the shell. Everything the framework,
// the program and its controls open with the shell goes through
// AfxShellExecute or AfxShellExecuteEx, so the one place can be pointed
// elsewhere (a test records what would have opened).
#pragma once

#include <windows.h>
#include <shellapi.h>

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*,
                                                 INT);

// ShellExecuteW, or the function set with AfxSetShellExecute.
HINSTANCE AfxShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                          const wchar_t* directory, int show);

// Replaces the shell's entry point for this process (null: the shell's own
// again) and returns the one it replaced.
ShellExecuteFunction AfxSetShellExecute(ShellExecuteFunction replacement);

using ShellExecuteExFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

// ShellExecuteExW, or the function set with AfxSetShellExecuteEx.
BOOL AfxShellExecuteEx(SHELLEXECUTEINFOW* info);

// Replaces ShellExecuteExW for this process (null: the shell's own again)
// and returns the one it replaced.
ShellExecuteExFunction AfxSetShellExecuteEx(ShellExecuteExFunction replacement);
