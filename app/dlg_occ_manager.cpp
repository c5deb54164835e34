#include "app/dlg_occ_manager.h"

#include <new>

#include "afx/dialog_template.h"

const DLGTEMPLATE* CDlgOccManager::PreCreateDialog(OccDialogInfo* info, const DLGTEMPLATE* dialogTemplate) {
    CDialogTemplate revised;
    if (revised.Load(dialogTemplate, info->templateSize) && revised.SetFont(kDialogFontFace, kDialogFontSize)) {
        info->revisedTemplate = revised.Detach();
        dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(info->revisedTemplate.data());
    }
    return COccManager::PreCreateDialog(info, dialogTemplate);
}

CDlgOccManager* GetDlgOccManager() {
    // Lives until the process ends: dialogs may be created up to the end.
    static CDlgOccManager* const manager = new (std::nothrow) CDlgOccManager;
    return manager;
}
