// CFileDialog: the common Open and Save As dialogs (explorer style). The
// object is a CDialog for the small child dialog the common dialog hosts
// (its parent is the common dialog itself), so a derived class reacts in
// OnInitDialog as to any dialog, and SetControlText reaches the common
// dialog's own controls.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "afx/dialog.h"

class CFileDialog : public CDialog {
public:
    // filter: "Text files (*.txt)|*.txt|All files (*.*)|*.*||" ('|' separates).
    explicit CFileDialog(bool openFileDialog, const wchar_t* defaultExtension = nullptr,
                         const wchar_t* fileName = nullptr, DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const wchar_t* filter = nullptr, CWnd* parent = nullptr);
    ~CFileDialog() override;

    // Runs the dialog: IDOK when a file was chosen, IDCANCEL otherwise.
    INT_PTR DoModal() override;
    // The chosen file's full path after IDOK.
    std::wstring GetPathName() const { return m_file.c_str(); }
    // Text of a control of the common dialog (IDOK: its OK button), while it runs.
    void SetControlText(int id, const wchar_t* text);

    // The parameters handed to the common dialog (the owner may set
    // lpstrInitialDir and lpstrTitle before DoModal).
    OPENFILENAMEW m_ofn{};

private:
    // The hook procedure of the hosted child dialog.
    static UINT_PTR CALLBACK HookProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_open;
    std::wstring m_filter;
    std::wstring m_defaultExtension;
    std::wstring m_file;
};
