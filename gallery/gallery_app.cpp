// ControlsGallery64.exe: shows the reusable controls in one dialog, so they
// can be seen and tried (the utility's own dialogs do not use them).
#include <windows.h>
#include <commctrl.h>

#include "afx/common_controls.h"
#include "afx/system_library.h"
#include "afx/win_app.h"
#include "gallery/gallery_dlg.h"

namespace {

class CGalleryApp : public CWinApp {
public:
    // Runs the gallery's dialog; false: no message loop of the application's own.
    BOOL InitInstance() override {
        AfxInitCommonControls(ICC_WIN95_CLASSES);
        CWinApp::InitInstance();
        CGalleryDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

// As the utility: library loads look in the system folder only, from before
// the application object on.
[[maybe_unused]] const bool dllSearchRestricted = afx::RestrictDllSearchToSystemFolder();
CGalleryApp theApp;

}  // namespace
