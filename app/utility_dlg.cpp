#include "app/utility_dlg.h"

#include "afx/data_exchange.h"
#include "afx/dc.h"
#include "afx/module_state.h"
#include "app/companion_library.h"
#include "app/help.h"
#include "res/resource.h"
#include "version/about_dlg.h"
#include "version/web_update_check.h"

namespace {

constexpr wchar_t kStartupMessage[] = L"Starting application...";
constexpr int kDialogIconPixels = 16;

// Ends the wait cursor however the initialisation ends.
class WaitCursorScope {
public:
    explicit WaitCursorScope(CCmdTarget& target) : m_target(target) { m_target.BeginWaitCursor(); }
    ~WaitCursorScope() { m_target.EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    CCmdTarget& m_target;
};

}  // namespace

CUtilityDlg::CUtilityDlg(HMODULE companionLibrary, StartClock::time_point started)
    : CDialog(IDD_UTILITY_DIALOG, nullptr),
      m_companionLibrary(companionLibrary),
      m_started(started),
      m_icon(static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_MAIN_DIALOG), IMAGE_ICON,
                                             kDialogIconPixels, kDialogIconPixels, LR_DEFAULTCOLOR))) {}

CUtilityDlg::~CUtilityDlg() = default;

const AFX_MSGMAP* CUtilityDlg::GetThisMessageMap() {
    static constexpr AFX_MSGMAP_ENTRY entries[] = {
        afx::OnWmSysCommand<&CUtilityDlg::OnSysCommand>(),
        afx::OnWmPaint<&CUtilityDlg::OnPaint>(),
        afx::OnWmQueryDragIcon<&CUtilityDlg::OnQueryDragIcon>(),
        afx::OnControl<BN_CLICKED, IDC_HELP_BUTTON, &CUtilityDlg::OnHelpButton>(),
        afx::OnCommand<ID_FILE_EXIT, &CUtilityDlg::OnFileExit>(),
        afx::OnCommand<ID_HELP_ABOUT, &CUtilityDlg::OnHelpAbout>(),
        afx::OnCommand<ID_HELP_CONTENTS, &CUtilityDlg::OnHelpContents>(),
    };
    static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
    return &map;
}

const AFX_MSGMAP* CUtilityDlg::GetMessageMap() const { return GetThisMessageMap(); }

void CUtilityDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_okButton);
}

BOOL CUtilityDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutToSystemMenu();
    SetIcon(m_icon.get(), TRUE);
    SetIcon(m_icon.get(), FALSE);

    // Both go when this function returns, also when the start-up work
    // raises an error: the message must not stay on screen, nor the hourglass.
    const std::unique_ptr<CSplashMsgDlg> startupMessage =
        ShowStartupMessage(m_companionLibrary, AfxGetInstanceHandle(), kDisplayName, kStartupMessage, IDI_MAIN_DIALOG);
    {
        WaitCursorScope wait(*this);
        CheckWebVersion(UpdatePageDeadline(m_started));
        UpdateData(false);
    }
    return TRUE;
}

void CUtilityDlg::AddAboutToSystemMenu() {
    HMENU systemMenu = GetSystemMenu(FALSE);
    if (systemMenu == nullptr) return;
    const std::wstring aboutText = AfxLoadString(IDS_ABOUTBOX);
    if (aboutText.empty()) return;
    ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
}

void CUtilityDlg::OnSysCommand(UINT id, LPARAM) {
    if (id == IDM_ABOUTBOX) {
        ShowAboutBox();
        return;
    }
    Default();
}

void CUtilityDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client{};
    GetClientRect(&client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(dc.m_hDC, x, y, m_icon.get());
}

HCURSOR CUtilityDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_icon.get()); }

void CUtilityDlg::OnFileExit() { OnOK(); }

void CUtilityDlg::OnHelpAbout() { ShowAboutBox(); }

void CUtilityDlg::OnHelpContents() { OpenHelpFile(m_hWnd, m_helpFilePath, {}, this); }

void CUtilityDlg::OnHelpButton() { OpenHelpFile(m_hWnd, m_helpFilePath, kMainDialogHelpPage, this); }
