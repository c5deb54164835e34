#include "afx/tooltip_ctrl.h"

#include <commctrl.h>

namespace {

TTTOOLINFOW ToolInfo(CWnd* window, UINT_PTR toolId) {
    TTTOOLINFOW info{};
    // The size without lpReserved: version 6 of the common controls is not
    // guaranteed to be the one loaded, and older ones refuse the larger size.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window->m_hWnd;
    info.uId = toolId;
    return info;
}

}  // namespace

bool CToolTipCtrl::Create(CWnd* parent, DWORD style) {
    return CreateEx(WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent != nullptr ? parent->m_hWnd : nullptr);
}

bool CToolTipCtrl::AddTool(CWnd* window, const wchar_t* text, const RECT& rect, UINT_PTR toolId) {
    TTTOOLINFOW info = ToolInfo(window, toolId);
    // No TTF_SUBCLASS: the tool's window relays its mouse messages itself.
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void CToolTipCtrl::UpdateTipText(const wchar_t* text, CWnd* window, UINT_PTR toolId) {
    TTTOOLINFOW info = ToolInfo(window, toolId);
    info.lpszText = const_cast<wchar_t*>(text);
    SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* window, UINT_PTR toolId, const RECT& rect) {
    TTTOOLINFOW info = ToolInfo(window, toolId);
    info.rect = rect;
    SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::FitToolToClient(CWnd* window, UINT_PTR toolId) {
    if (m_hWnd == nullptr) return;
    RECT client{};
    ::GetClientRect(window->m_hWnd, &client);
    SetToolRect(window, toolId, client);
}

std::wstring CToolTipCtrl::GetText(CWnd* window, UINT_PTR toolId) const {
    if (m_hWnd == nullptr) return {};
    // TTM_GETTEXTW gives no length; tips here are short, 1024 is plenty.
    std::wstring text(1024, L'\0');
    TTTOOLINFOW info = ToolInfo(window, toolId);
    info.lpszText = text.data();
    SendMessage(TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&info));
    text.resize(wcslen(text.c_str()));
    return text;
}

void CToolTipCtrl::Activate(bool activate) { SendMessage(TTM_ACTIVATE, activate); }

int CToolTipCtrl::GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

void CToolTipCtrl::RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }

void CToolTipCtrl::SetMaxTipWidth(int width) { SendMessage(TTM_SETMAXTIPWIDTH, 0, width); }
