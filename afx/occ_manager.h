// The control-container manager: the hook through which every dialog
// template passes just before a dialog is created from it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// What one dialog creation carries from PreCreateDialog to PostCreateDialog.
struct OccDialogInfo {
    std::size_t templateSize = 0;               // bytes of the original template; 0 if unknown
    std::vector<std::uint8_t> revisedTemplate;  // storage for a template the manager rewrote
};

class COccManager {
public:
    COccManager() = default;
    virtual ~COccManager() = default;
    COccManager(const COccManager&) = delete;
    COccManager& operator=(const COccManager&) = delete;

    // Returns the template to create the dialog from (the one given, or one
    // kept in info that lives until PostCreateDialog); null stops creation.
    virtual const DLGTEMPLATE* PreCreateDialog(OccDialogInfo* info, const DLGTEMPLATE* dialogTemplate);
    // Called once the dialog exists (or creation failed).
    virtual void PostCreateDialog(OccDialogInfo* info);
};

// Installs the manager used for every dialog from now on (a default one when
// null). The caller keeps the manager alive while dialogs are created.
void AfxEnableControlContainer(COccManager* manager = nullptr);

// The installed manager, or null before AfxEnableControlContainer.
COccManager* AfxGetOccManager();
