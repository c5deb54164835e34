// Handing a document or an address to the shell. Everything the framework,
// the program and its controls open with the shell goes through
// AfxShellExecute or AfxShellExecuteEx, so the one place can be pointed
// elsewhere (a test records what would have opened).
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

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

using BrowseForFolderFunction = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);

// SHBrowseForFolderW, or the function set with AfxSetBrowseForFolder. The
// calling thread's COM apartment is the caller's to set up.
PIDLIST_ABSOLUTE AfxBrowseForFolder(BROWSEINFOW* info);

// Replaces SHBrowseForFolderW for this process (null: the shell's own
// again) and returns the one it replaced.
BrowseForFolderFunction AfxSetBrowseForFolder(BrowseForFolderFunction replacement);

// COM initialised as a single-threaded apartment for the life of the object,
// as the shell's dialogs need it, unless the thread has COM already; undoes
// exactly what it did: an apartment the thread had (of either kind) stays.
class AfxComApartment {
public:
    AfxComApartment() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~AfxComApartment() {
        // S_FALSE (already a single-threaded apartment) counted once more too.
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }
    AfxComApartment(const AfxComApartment&) = delete;
    AfxComApartment& operator=(const AfxComApartment&) = delete;

private:
    HRESULT m_result;
};
