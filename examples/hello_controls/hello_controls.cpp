// Hello Controls: the smallest dialog program built on the Vornix
// framework with two of its controls, an owner-drawn button (icon, colours
// and a tooltip) and a hyperlink label. A click on the button is counted
// on the status line.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "afx/common_controls.h"
#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/win_app.h"
#include "controls/button_st.h"
#include "controls/hyper_link.h"
#include "resource.h"

namespace {

class CHelloDlg : public CDialog {
public:
    CHelloDlg() : CDialog(IDD_HELLO) {
        // A label reads its configuration when it is attached, so it is
        // configured before the dialog exists; the window text is its target.
        m_link.SetColors(RGB(0, 0, 238), RGB(85, 26, 139), RGB(200, 0, 0));
    }

    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnControl<BN_CLICKED, IDC_HELLO_BUTTON, &CHelloDlg::OnHello>(),
        };
        static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
        return &map;
    }

protected:
    // Binds the controls: the dialog's button and static text become them.
    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_HELLO_BUTTON, m_button);
        DDX_Control(dx, IDC_HELLO_LINK, m_link);
    }

    // A button is configured once its window exists: here.
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_button.SetIcons(IDI_HELLO, CButtonST::kGrayscaleNormal);
        m_button.SetColor(CButtonST::kFaceNormal, RGB(220, 235, 255));
        m_button.SetColor(CButtonST::kFaceFocused, RGB(220, 235, 255));
        m_button.SetColor(CButtonST::kFaceHot, RGB(255, 240, 200));
        m_button.SetTooltip(L"Counts your clicks");
        return TRUE;
    }

    // When the button is clicked (after the button's own click action).
    void OnHello() {
        ++m_clicks;
        const std::wstring text = L"Clicked " + std::to_wstring(m_clicks) + (m_clicks == 1 ? L" time." : L" times.");
        ::SetDlgItemTextW(m_hWnd, IDC_HELLO_STATUS, text.c_str());
    }

private:
    CButtonST m_button;
    CHyperLink m_link;
    int m_clicks = 0;
};

class CHelloApp : public CWinApp {
public:
    // Runs the dialog; false: the dialog's own loop was the program's life.
    BOOL InitInstance() override {
        AfxInitCommonControls(ICC_WIN95_CLASSES);  // comctl32 from the system folder
        CHelloDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CHelloApp theApp;

}  // namespace
