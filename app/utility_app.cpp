#include "app/utility_app.h"

#include <commctrl.h>

#include "afx/common_controls.h"
#include "afx/dialog.h"
#include "afx/exception.h"
#include "app/companion_library.h"
#include "app/dlg_occ_manager.h"
#include "app/help.h"
#include "app/utility_dlg.h"
#include "controls/splash_wnd.h"
#include "res/resource.h"
#include "version/install_paths.h"

CUtilityApp::~CUtilityApp() = default;

const AFX_MSGMAP* CUtilityApp::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnCommand<ID_HELP, &CUtilityApp::OnHelp>(),
    };
    static constexpr AFX_MSGMAP map{&CWinApp::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CUtilityApp::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CUtilityApp::InitInstance() {
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    CWinApp::InitInstance();

    CDlgOccManager* occManager = GetDlgOccManager();
    if (occManager == nullptr) AfxThrowInvalidArgException();
    AfxEnableControlContainer(occManager);

    m_companionLibrary = LoadCompanionLibrary();
    CSplashWnd::ShowSplash(IDB_SPLASH, nullptr);
    SetRegistryKey(kAppRegistryKey);

    CUtilityDlg dialog(m_companionLibrary.get(), m_started);
    m_pMainWnd = &dialog;
    // Read once: the dialog's help commands and F1 open the same file.
    m_helpFilePath = GetHelpFilePath(GetDefaultHelpFilePath());
    dialog.SetHelpFilePath(m_helpFilePath);

    CSplashWnd::HideSplashAfter(1);
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CUtilityApp::ExitInstance() {
    m_companionLibrary.reset();
    return CWinApp::ExitInstance();
}

void CUtilityApp::OnHelp() {
    CWnd* main = AfxGetMainWnd();
    OpenHelpFile(main != nullptr ? main->m_hWnd : nullptr, m_helpFilePath, {}, nullptr);
}
