// The dialog template hook: every dialog box of the program is created
// with the face "Segoe UI" at the size value 0xFFF2, whatever font its
// template names.
#pragma once

#include "afx/occ_manager.h"

inline constexpr wchar_t kDialogFontFace[] = L"Segoe UI";
// Stored as is in the template; the dialog manager reads it as -14.
inline constexpr std::uint16_t kDialogFontSize = 0xFFF2;

class CDlgOccManager : public COccManager {
public:
    // Copies the template, gives it the program's font and hands the copy
    // on to the base hook. A template that cannot be read goes on unchanged.
    const DLGTEMPLATE* PreCreateDialog(OccDialogInfo* info, const DLGTEMPLATE* dialogTemplate) override;
};

// The process's one manager, created on first use; null if it cannot be made.
CDlgOccManager* GetDlgOccManager();
