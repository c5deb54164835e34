#include "app/utility_app.h"

#include <commctrl.h>

#include "afx/exception.h"
#include "app/companion_library.h"
#include "app/dlg_occ_manager.h"
#include "app/utility_dlg.h"

namespace {
CUtilityApp theApp;
}  // namespace

CUtilityApp& TheUtilityApp() { return theApp; }

CUtilityApp::~CUtilityApp() = default;

const AFX_MSGMAP* CUtilityApp::GetThisMessageMap() {
    static constexpr AFX_MSGMAP map{&CWinApp::GetThisMessageMap, {}};
    return &map;
}

const AFX_MSGMAP* CUtilityApp::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CUtilityApp::InitInstance() {
    ::InitCommonControls();
    CWinApp::InitInstance();

    CDlgOccManager* occManager = GetDlgOccManager();
    if (occManager == nullptr) AfxThrowInvalidArgException();
    AfxEnableControlContainer(occManager);

    m_companionLibrary = LoadCompanionLibrary();

    SetRegistryKey(kAppRegistryKey);

    CUtilityDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

int CUtilityApp::ExitInstance() {
    m_companionLibrary.reset();
    return CWinApp::ExitInstance();
}
