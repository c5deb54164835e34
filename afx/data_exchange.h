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

    // The control of the dialog with that id; fails the exchange when the
    // dialog has none.
    HWND PrepareCtrl(int id) const;
    // Ends the exchange: UpdateData then answers false.
    [[noreturn]] void Fail() const;
};

// Binds a control object to the dialog's control with that id by subclassing
// it, the first time only; fails when the control cannot be bound.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// Exchanges a control's text with a string member; fails when the dialog
// has no such control.
void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
