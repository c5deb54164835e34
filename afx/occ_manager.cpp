#include "afx/occ_manager.h"

namespace {
COccManager* g_occManager = nullptr;
}  // namespace

const DLGTEMPLATE* COccManager::PreCreateDialog(OccDialogInfo*, const DLGTEMPLATE* dialogTemplate) {
    return dialogTemplate;
}

void COccManager::PostCreateDialog(OccDialogInfo* info) { info->revisedTemplate.clear(); }

void AfxEnableControlContainer(COccManager* manager) {
    static COccManager defaultManager;
    g_occManager = manager != nullptr ? manager : &defaultManager;
}

COccManager* AfxGetOccManager() { return g_occManager; }
