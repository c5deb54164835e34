#include "afx/menu.h"

bool CMenu::LoadMenu(HINSTANCE module, UINT id) {
    m_menu.reset(::LoadMenuW(module, MAKEINTRESOURCEW(id)));
    return static_cast<bool>(m_menu);
}
