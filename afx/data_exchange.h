// Dialog data exchange: DoDataExchange lists the bindings between controls
// and members once; UpdateData runs them in either direction.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;  // true: controls → members; false: members → controls

    // The control of the dialog with that id, or null.
    HWND PrepareCtrl(int id) const;
};

// Binds a control object to the dialog's control with that id by subclassing
// it, the first time only.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// Exchanges a control's text with a string member.
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
