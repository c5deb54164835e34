// Controls and dialogs through their windows' whole lives: an object whose
// first window was told another DPI, resized and destroyed draws its next
// window as a fresh object does; a child dialog and a see-through button
// follow a DPI change.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <string>

#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/dpi.h"
#include "afx/handles.h"
#include "controls/button_st.h"
#include "controls/hyper_link.h"
#include "gdi_probe.h"
#include "real_input.h"
#include "res/resource.h"
#include "screen_reader.h"
#include "test_resources.h"

namespace {

// The gallery's configurations of the button (with its type) and the link.
using Configure = void (*)(CButtonST&, CHyperLink&);
struct Configuration {
    DWORD type;
    Configure configure;
};
// clang-format off
const Configuration kGallery[] = {
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetFlatStyle(false); }},
    {BS_DEFPUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetTooltip(L"Flat"); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink& l) { b.SetIcons(IDR_MAINFRAME, 0); b.SetWindowText(L""); l.MarkVisited(true); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetIcons(IDR_MAINFRAME, CButtonST::kGrayscaleNormal); b.SetAlign(CButtonST::kImageAbove); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink& l) { b.SetIcons(IDR_MAINFRAME, CButtonST::kDarkerNormal); b.SetAlign(CButtonST::kImageRight); l.SetTarget(L"mailto:a@b.example"); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetBitmaps(probe::MakeHalfBitmap(RGB(255, 0, 255), RGB(0, 128, 0), 20), RGB(255, 0, 255)); }},
    {BS_AUTOCHECKBOX, [](CButtonST& b, CHyperLink&) { b.SetIcons(IDR_MAINFRAME, IDR_MAINFRAME); b.SetFlatStyle(false); b.SetCheckState(1); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink& l) { b.SetIcons(IDR_MAINFRAME, 0); b.SetFlatStyle(false); ::EnableWindow(b.m_hWnd, FALSE); ::EnableWindow(l.m_hWnd, FALSE); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetColor(CButtonST::kFaceNormal, RGB(0, 0, 160)); b.SetColor(CButtonST::kCaptionNormal, RGB(255, 255, 0)); b.SetTooltip(L"Tip"); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetDrawTransparent(true); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { b.SetLinkTarget(L"https://button.example/"); b.SetTooltip(L"https://button.example/"); b.SetAlign(CButtonST::kImageRight); }},
    {BS_PUSHBUTTON, [](CButtonST& b, CHyperLink&) { const HMENU menu = ::CreateMenu(); ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(::CreatePopupMenu()), L"P"); b.SetMenu(menu, nullptr, false); }},
};
// clang-format on

const Configuration& kSeeThrough = kGallery[9];

// The test dialog on diagonal stripes, so a see-through face that shows the wrong place shows it.
class LivesDialog : public CDialog {
public:
    explicit LivesDialog(const Configuration& used) : CDialog(IDD_TEST_SCALED), m_used(used) {}
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_BUTTON, m_button);
        DDX_Control(dx, IDC_TEST_LINK, m_link);
    }
    BOOL OnInitDialog() override {
        const HWND button = ::GetDlgItem(m_hWnd, IDC_TEST_BUTTON);
        ::SetWindowLongPtrW(button, GWL_STYLE, ::GetWindowLongPtrW(button, GWL_STYLE) | m_used.type);
        CDialog::OnInitDialog();
        m_used.configure(m_button, m_link);
        return TRUE;
    }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message != WM_CTLCOLORDLG) return CDialog::OnWndMsg(message, wParam, lParam, result);
        *result = reinterpret_cast<LRESULT>(m_stripes.get());
        return true;
    }
    // Created and shown on its own (the others' windows gone), as the system would tell it of a move.
    void Open() {
        ASSERT_TRUE(Create(IDD_TEST_SCALED));
        ShowWindow(SW_SHOWNORMAL);
        ::UpdateWindow(m_hWnd);
    }
    // Tells the dialog of a move from one DPI to another with a rectangle scaled alike, and paints it.
    RECT Tell(UINT from, UINT to) {
        RECT place{};
        ::GetWindowRect(m_hWnd, &place);
        place.right = place.left + ::MulDiv(place.right - place.left, static_cast<int>(to), static_cast<int>(from));
        place.bottom = place.top + ::MulDiv(place.bottom - place.top, static_cast<int>(to), static_cast<int>(from));
        SendMessage(WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&place));
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpFor(50);
        return place;
    }
    CButtonST m_button;
    CHyperLink m_link;
    Configuration m_used;
    afx::unique_hbrush m_stripes{::CreateHatchBrush(HS_BDIAGONAL, RGB(160, 0, 0))};
};

// Whether two pictures of a window have one size and the same pixels.
bool Alike(const probe::Canvas& a, const probe::Canvas& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           a.FirstDifference(b, {0, 0, a.width(), a.height()}).x < 0;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)); }
LONG HeightOf(HWND window) {
    LOGFONTW description{};
    ::GetObjectW(FontOf(window), sizeof(description), &description);
    return description.lfHeight;
}

LONG IconWidth(HICON icon) {
    ICONINFO parts{};
    ::GetIconInfo(icon, &parts);
    const afx::unique_hbitmap mask(parts.hbmMask), color(parts.hbmColor);
    return static_cast<LONG>(parts.xHotspot) * 2;
}

}  // namespace

TEST(WindowLives, AnObjectOnItsSecondWindowDrawsAndAnswersAsAFreshOne) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    MovePointerTo({0, 0});
    for (const Configuration& used : kGallery) {
        const auto index = &used - kGallery;
        LivesDialog reused(used), fresh(used);
        ASSERT_NO_FATAL_FAILURE(reused.Open());
        const UINT dpi = afx::GetWindowDpi(reused.m_hWnd);
        demo::Hear(reused.m_button.m_hWnd);
        reused.Tell(dpi, dpi * 3 / 2);
        ::SetWindowPos(reused.m_button.m_hWnd, nullptr, 0, 0, 300, 90, SWP_NOMOVE | SWP_NOZORDER);
        reused.DestroyWindow();

        ASSERT_NO_FATAL_FAILURE(reused.Open());
        reused.Tell(dpi, 2 * dpi);
        const probe::Canvas second(reused.m_hWnd);
        const demo::Heard heardSecond = demo::Hear(reused.m_button.m_hWnd),
                          linkSecond = demo::Hear(reused.m_link.m_hWnd);
        reused.DestroyWindow();
        ASSERT_NO_FATAL_FAILURE(fresh.Open());
        fresh.Tell(dpi, 2 * dpi);
        EXPECT_TRUE(Alike(second, probe::Canvas(fresh.m_hWnd))) << "configuration " << index;
        EXPECT_EQ(demo::Describe(heardSecond), demo::Describe(demo::Hear(fresh.m_button.m_hWnd))) << index;
        EXPECT_EQ(demo::Describe(linkSecond), demo::Describe(demo::Hear(fresh.m_link.m_hWnd))) << index;
        fresh.DestroyWindow();
    }
    ::CoUninitialize();
}

TEST(WindowLives, ToldOfAnotherDpiADialogItsChildDialogAndTheirControlsFollow) {
    LivesDialog outer(kSeeThrough);
    ASSERT_NO_FATAL_FAILURE(outer.Open());
    CDialog inner(IDD_TEST_CHILD);
    ASSERT_TRUE(inner.Create(IDD_TEST_CHILD, &outer));
    const HWND button = outer.m_button.m_hWnd, link = outer.m_link.m_hWnd,
               label = ::GetDlgItem(inner.m_hWnd, IDC_TEST_EDIT);
    outer.m_button.SetWindowText(L"");
    // The program's icon: 16 to 256 px, so every scale's size is one scaled down.
    CButtonST iconic;
    ASSERT_TRUE(iconic.SubclassDlgItem(IDC_TEST_BUTTON, &inner));
    ASSERT_EQ(iconic.SetIcons(IDR_MAINFRAME, 0), 0u);
    // Where twice the place is not a whole number of stripes away.
    ::SetWindowPos(button, nullptr, 13, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const auto measure = [&] {
        const std::wstring text = outer.m_link.GetWindowText();
        const afx::unique_window_dc dc = afx::GetDC(link);
        const auto selected = afx::SelectObject(dc.get().dc, FontOf(link));
        SIZE extent{};
        ::GetTextExtentPoint32W(dc.get().dc, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT labelPlace{}, linkPlace{};
        ::GetWindowRect(label, &labelPlace);
        ::GetWindowRect(link, &linkPlace);
        return std::array{HeightOf(button),
                          HeightOf(link),
                          HeightOf(label),
                          labelPlace.right - labelPlace.left,
                          IconWidth(iconic.GetIcon(0)),
                          linkPlace.right - linkPlace.left - extent.cx};
    };
    const auto before = measure();
    const UINT dpi = afx::GetWindowDpi(outer.m_hWnd);
    // As Windows 10 does: the window's DPI reads the new one before the dialog is told.
    afx::SetWindowDpi(outer.m_hWnd, 2 * dpi);
    const RECT suggested = outer.Tell(dpi, 2 * dpi);
    const auto after = measure();
    RECT now{};
    ::GetWindowRect(outer.m_hWnd, &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested)) << "the suggested rectangle";
    for (const int i : {0, 1, 2, 3}) EXPECT_NEAR(after[i], 2 * before[i], 2) << "fonts and the child's label " << i;
    EXPECT_EQ(before[4], afx::GetSystemMetricForDpi(SM_CXICON, dpi)) << "the icon at the system's size";
    EXPECT_EQ(after[4], afx::GetSystemMetricForDpi(SM_CXICON, 2 * dpi)) << "and loaded again";
    EXPECT_EQ(before[5], 0) << "the link fitted to its text";
    EXPECT_EQ(after[5], 0) << "and fitted again";
    CButtonST early;  // its icons given by resource before its window is there, so at the system's DPI
    ASSERT_EQ(early.SetIcons(IDR_MAINFRAME, 0), 0u);
    ASSERT_TRUE(early.SubclassWindow(
        ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 40, 40, inner.m_hWnd, nullptr, nullptr, nullptr)));
    EXPECT_EQ(IconWidth(early.GetIcon(0)), afx::GetSystemMetricForDpi(SM_CXICON, 2 * dpi)) << "at the window's";

    // The flat, captionless see-through face, drawn on its own, shows exactly what lies behind it.
    ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const probe::Canvas face(button);
    outer.m_button.ShowWindow(SW_HIDE);
    ::UpdateWindow(outer.m_hWnd);
    EXPECT_TRUE(Alike(face, probe::Canvas(button)));
    outer.DestroyWindow();
}
