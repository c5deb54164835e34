#include "companion/message_window.h"

#include "afx/module_state.h"
#include "companion/companion_resource.h"

namespace {
constexpr int kIconPixels = 32;
}  // namespace

CQLDXMessageWindow::CQLDXMessageWindow(UINT templateId) : CSplashMsgDlg(templateId), m_template(templateId) {}

CQLDXMessageWindow::~CQLDXMessageWindow() { DestroyWindow(); }

void CQLDXMessageWindow::SetResourceInstance(HINSTANCE instance) { m_resources = instance; }

void CQLDXMessageWindow::SetTitleResource(UINT stringId) { SetTitle(AfxLoadString(stringId, m_resources).c_str()); }

void CQLDXMessageWindow::SetTitle(const wchar_t* title) {
    m_title = title != nullptr ? title : L"";
    Refresh();
}

void CQLDXMessageWindow::SetMessageResource(UINT stringId) { SetMessage(AfxLoadString(stringId, m_resources).c_str()); }

void CQLDXMessageWindow::SetMessage(const wchar_t* message) {
    m_message = message != nullptr ? message : L"";
    Refresh();
}

void CQLDXMessageWindow::SetIconResource(int iconId) {
    afx::unique_hicon shown = std::move(m_icon);
    m_icon.reset(static_cast<HICON>(
        ::LoadImageW(m_resources, MAKEINTRESOURCEW(iconId), IMAGE_ICON, kIconPixels, kIconPixels, LR_DEFAULTCOLOR)));
    Refresh();
}

void CQLDXMessageWindow::Refresh() {
    if (m_hWnd == nullptr) {
        if (m_message.empty() || !Create(m_template, nullptr, AfxGetResourceHandle())) return;
    }
    SetWindowText(m_title);
    ::SetDlgItemTextW(m_hWnd, IDC_QLDX_MESSAGE, m_message.c_str());
    ::SendDlgItemMessageW(m_hWnd, IDC_QLDX_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon.get()), 0);
    SetIcon(m_icon.get(), TRUE);
    SetIcon(m_icon.get(), FALSE);
    ShowWindow(SW_SHOWNOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
