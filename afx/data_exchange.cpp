#include "afx/data_exchange.h"

#include "afx/wnd.h"

HWND CDataExchange::PrepareCtrl(int id) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, id); }

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd == nullptr) control.SubclassWindow(dx->PrepareCtrl(id));
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
    HWND control = dx->PrepareCtrl(id);
    if (control == nullptr) return;
    if (dx->m_bSaveAndValidate) {
        value = AfxGetWindowText(control);
    } else {
        ::SetWindowTextW(control, value.c_str());
    }
}
