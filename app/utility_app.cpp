#include "app/utility_app.h"

#include <commctrl.h>

#include "afx/exception.h"
#include "app/companion_library.h"
#include "app/dlg_occ_manager.h"
#include "app/help.h"
#include "app/message_text.h"
#include "app/utility_dlg.h"
#include "controls/splash_wnd.h"
#include "res/resource.h"

namespace {
CUtilityApp theApp;
}  // namespace

CUtilityApp& TheUtilityApp() { return theApp; }

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
    ::InitCommonControls();
    CWinApp::InitInstance();

    CDlgOccManager* occManager = GetDlgOccManager();
    if (occManager == nullptr) AfxThrowInvalidArgException();
    AfxEnableControlContainer(occManager);

    m_companionLibrary = LoadCompanionLibrary();
    CSplashWnd::ShowSplash(IDB_SPLASH, nullptr);
    SetRegistryKey(kAppRegistryKey);

    CUtilityDlg dialog;
    m_pMainWnd = &dialog;
    dialog.SetHelpFilePath(GetHelpFilePath(GetDefaultHelpFilePath()));
    ProcessHelpFilePath() = GetHelpFilePath(GetDefaultHelpFilePath());

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
    if (m_helpFilePath.empty()) m_helpFilePath = ProcessHelpFilePath();
    if (HelpFileExists(m_helpFilePath)) {
        CWnd* main = AfxGetMainWnd();
        AfxHtmlHelp(main != nullptr ? main->m_hWnd : nullptr, m_helpFilePath, kHelpDisplayToc, 0);
    } else {
        ::MessageBoxW(nullptr, FormatWithArgument(kMissingHelpFileText, m_helpFilePath).c_str(), nullptr, MB_ICONERROR);
    }
}
