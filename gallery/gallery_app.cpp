// ControlsGallery64.exe: shows the reusable controls in one dialog, so they
// can be seen and tried (the utility's own dialogs do not use them).
#include <windows.h>
#include <commctrl.h>

#include "afx/win_app.h"
#include "gallery/gallery_dlg.h"

namespace {

class CGalleryApp : public CWinApp {
public:
    // Runs the gallery's dialog; false: no message loop of the application's own.
    BOOL InitInstance() override {
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&classes);
        CWinApp::InitInstance();
        CGalleryDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CGalleryApp theApp;

}  // namespace
