#include "afx/shell.h"

#include <shellapi.h>

// The controls' links go through AfxShellExecuteEx. Its structure is given
// by sizeof, which differs by architecture; in a 64-bit program it must be
// the 112 bytes the system documents.
#ifdef _WIN64
static_assert(sizeof(SHELLEXECUTEINFOW) == 112);
#endif

namespace {
ShellExecuteFunction g_shellExecute = &::ShellExecuteW;
ShellExecuteExFunction g_shellExecuteEx = &::ShellExecuteExW;
BrowseForFolderFunction g_browseForFolder = &::SHBrowseForFolderW;
}  // namespace

HINSTANCE AfxShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                          const wchar_t* directory, int show) {
    return g_shellExecute(owner, verb, file, parameters, directory, show);
}

ShellExecuteFunction AfxSetShellExecute(ShellExecuteFunction replacement) {
    const ShellExecuteFunction previous = g_shellExecute;
    g_shellExecute = replacement != nullptr ? replacement : &::ShellExecuteW;
    return previous;
}

BOOL AfxShellExecuteEx(SHELLEXECUTEINFOW* info) { return g_shellExecuteEx(info); }

ShellExecuteExFunction AfxSetShellExecuteEx(ShellExecuteExFunction replacement) {
    const ShellExecuteExFunction previous = g_shellExecuteEx;
    g_shellExecuteEx = replacement != nullptr ? replacement : &::ShellExecuteExW;
    return previous;
}

PIDLIST_ABSOLUTE AfxBrowseForFolder(BROWSEINFOW* info) { return g_browseForFolder(info); }

BrowseForFolderFunction AfxSetBrowseForFolder(BrowseForFolderFunction replacement) {
    const BrowseForFolderFunction previous = g_browseForFolder;
    g_browseForFolder = replacement != nullptr ? replacement : &::SHBrowseForFolderW;
    return previous;
}
