// CFileDialogEx: the framework's file dialog with an OK button caption of
// its own and a folder filter. With the filter on, the user stays in the
// folder the dialog starts in: the "Look in" list and its label are
// disabled, and a message hook on the thread removes folder entries from
// the file list whenever it is painted or asked for its selection.
//
// The hook lives from the dialog's initialisation until the object is
// destroyed, and meanwhile filters every list view of the thread. Folder
// entries are recognised by their text taken as a path against the
// current directory: the caller starts the dialog in the current directory
// (or makes it current). Entries whose text names nothing there are kept.
#pragma once

#include <windows.h>

#include <string>

#include "afx/file_dialog.h"
#include "afx/handles.h"

class CFileDialogEx : public CFileDialog {
public:
    using CFileDialog::CFileDialog;
    ~CFileDialogEx() override;

    // The OK button's text while the dialog runs ("Open" unless set).
    void SetOkCaption(std::wstring caption) { m_okCaption = std::move(caption); }
    void SetFolderFilter(bool on) { m_folderFilter = on; }
    // Whether the folder filter's hook is installed now.
    bool IsHookInstalled() const { return static_cast<bool>(m_hook); }

    // The thread hook: removes folder entries from a list view being
    // painted (WM_NCPAINT) or asked for its selection (LVM_GETSELECTEDCOUNT).
    static LRESULT CALLBACK FolderFilterHook(int code, WPARAM wParam, LPARAM lParam);

protected:
    BOOL OnInitDialog() override;

private:
    // For each child of the common dialog: disables the folder controls.
    static BOOL CALLBACK DisableNavigationControl(HWND child, LPARAM);

    std::wstring m_okCaption = L"Open";
    bool m_folderFilter = false;
    afx::unique_hhook m_hook;
};
