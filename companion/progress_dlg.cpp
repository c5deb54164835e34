#include "companion/progress_dlg.h"

#include <commctrl.h>

#include "companion/companion_resource.h"

CQLDXProgressDlg::CQLDXProgressDlg() : CQLDXMessageWindow(IDD_QLDX_PROGRESS) {}

void CQLDXProgressDlg::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    UpdateBar();
}

void CQLDXProgressDlg::SetPosition(int position) {
    m_position = position;
    UpdateBar();
}

void CQLDXProgressDlg::UpdateBar() {
    if (m_hWnd == nullptr) return;
    ::SendDlgItemMessageW(m_hWnd, IDC_QLDX_PROGRESS_BAR, PBM_SETRANGE32, static_cast<WPARAM>(m_lower), m_upper);
    ::SendDlgItemMessageW(m_hWnd, IDC_QLDX_PROGRESS_BAR, PBM_SETPOS, static_cast<WPARAM>(m_position), 0);
    ::UpdateWindow(::GetDlgItem(m_hWnd, IDC_QLDX_PROGRESS_BAR));
}
