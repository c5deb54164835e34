// A dialog told of another DPI as Windows tells a window moved to another
// monitor (Wine never does): its place, fonts, icons and labels follow.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>

#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/dpi.h"
#include "controls/button_st.h"
#include "controls/hyper_link.h"
#include "res/resource.h"
#include "test_resources.h"

namespace {

class ScaledDialog : public CDialog {
public:
    ScaledDialog() : CDialog(IDD_TEST_SCALED) {}
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_BUTTON, m_button);
        DDX_Control(dx, IDC_TEST_LINK, m_link);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        // The program's icon: 16 to 256 px, so every scale's size is one scaled down.
        return m_button.SetIcons(IDR_MAINFRAME, 0) == 0;
    }
    // Button font height, icon width, link font height, link width less its text's width.
    std::array<LONG, 4> Measured() {
        LOGFONTW button{}, link{};
        const auto font = [](CWnd& control) { return reinterpret_cast<HFONT>(control.SendMessage(WM_GETFONT)); };
        ::GetObjectW(font(m_button), sizeof(button), &button);
        ::GetObjectW(font(m_link), sizeof(link), &link);
        ICONINFO icon{};
        ::GetIconInfo(m_button.GetIcon(0), &icon);
        const afx::unique_hbitmap mask(icon.hbmMask), color(icon.hbmColor);
        const std::wstring text = m_link.GetWindowText();
        const afx::unique_window_dc dc = afx::GetDC(m_link.m_hWnd);
        const auto selected = afx::SelectObject(dc.get().dc, font(m_link));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT shown{};
        m_link.GetClientRect(&shown);
        return {button.lfHeight, static_cast<LONG>(icon.xHotspot) * 2, link.lfHeight, shown.right - extent.cx};
    }
    CButtonST m_button;
    CHyperLink m_link;
};

TEST(DisplayScale, ADialogToldOfAnotherDpiTakesTheSuggestedPlaceAndItsFontsIconsAndLabelsFollow) {
    ScaledDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_TEST_SCALED));
    const UINT dpi = afx::GetWindowDpi(dialog.m_hWnd);
    const auto before = dialog.Measured();
    RECT suggested{}, now{};
    ::GetWindowRect(dialog.m_hWnd, &suggested);
    ::InflateRect(&suggested, (suggested.right - suggested.left) / 2, (suggested.bottom - suggested.top) / 2);
    // As Windows 10 does: the window's DPI reads the new one before the dialog is told.
    afx::SetWindowDpi(dialog.m_hWnd, 2 * dpi);
    dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&suggested));
    const auto after = dialog.Measured();
    ::GetWindowRect(dialog.m_hWnd, &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested)) << "the suggested rectangle";
    EXPECT_NEAR(after[0], 2 * before[0], 1) << "the dialog's font, scaled";
    EXPECT_EQ(before[1], afx::GetSystemMetricForDpi(SM_CXICON, dpi)) << "the icon at the system's size";
    EXPECT_EQ(after[1], afx::GetSystemMetricForDpi(SM_CXICON, 2 * dpi)) << "and loaded again";
    EXPECT_NEAR(after[2], 2 * before[2], 1) << "the link's own font, scaled";
    EXPECT_EQ(before[3], 0) << "the label fitted to its text";
    EXPECT_EQ(after[3], 0) << "and fitted again";
    dialog.DestroyWindow();
}

}  // namespace
