// CMenu: a menu owned by its object (destroyed with it unless detached),
// with the popup tracking a control needs.
#pragma once

#include <windows.h>

#include "afx/handles.h"

class CMenu {
public:
    HMENU GetSafeHmenu() const { return m_menu.get(); }
    explicit operator bool() const { return static_cast<bool>(m_menu); }

    // Takes ownership of menu (the one held before is destroyed).
    void Attach(HMENU menu) { m_menu.reset(menu); }
    // Hands the menu back without destroying it.
    HMENU Detach() { return m_menu.release(); }
    void DestroyMenu() { m_menu.reset(); }
    // A menu resource of module; false when there is none.
    bool LoadMenu(HINSTANCE module, UINT id);

    // The submenu at position (borrowed: it belongs to this menu), or null.
    HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_menu.get(), position); }

    // Shows popup at (x, y) in screen coordinates, owned by owner, and runs
    // its modal loop; with TPM_RETURNCMD the result is the chosen command
    // (0 for none).
    static UINT TrackPopupMenuEx(HMENU popup, UINT flags, int x, int y, HWND owner,
                                 const TPMPARAMS* exclude = nullptr) {
        return static_cast<UINT>(::TrackPopupMenuEx(popup, flags, x, y, owner, const_cast<TPMPARAMS*>(exclude)));
    }

private:
    afx::unique_hmenu m_menu;
};
