#include "afx/data_exchange.h"

#include "afx/exception.h"
#include "afx/wnd.h"

HWND CDataExchange::PrepareCtrl(int id) const {
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (control == nullptr) Fail();
    return control;
}

void CDataExchange::Fail() const { AfxThrowUserException(); }

// Data exchange is where UpdateData belongs; the window layer only declares it.
bool CWnd::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CUserException&) {
        return false;
    }
    return true;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd == nullptr && !control.SubclassWindow(dx->PrepareCtrl(id))) dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = AfxGetWindowText(control);
    } else {
        ::SetWindowTextW(control, value.c_str());
    }
}
