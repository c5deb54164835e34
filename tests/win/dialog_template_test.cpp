// The dialog template hook: every dialog made through the framework, of
// either layout, gets "Segoe UI" at 0xFFF2 (the rewriting itself is tested
// natively, tests/unit/dialog_template_test.cpp).
#include <gtest/gtest.h>

#include "afx/dialog.h"
#include "app/dlg_occ_manager.h"
#include "test_resources.h"

namespace {

LOGFONTW DialogFont(HWND dialog) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

}  // namespace

TEST(DialogTemplateHook, EveryFrameworkDialogIsCreatedWithSegoeUi) {
    AfxEnableControlContainer(GetDlgOccManager());
    for (const UINT id : {IDD_TEST_CLASSIC, IDD_TEST_EXTENDED_NO_FONT}) {
        CDialog dialog(id);
        ASSERT_TRUE(dialog.Create(id));
        const LOGFONTW font = DialogFont(dialog.m_hWnd);
        EXPECT_STREQ(font.lfFaceName, L"Segoe UI") << id;
        // 0xFFF2 reads as -14 points: a cell height of 19 pixels at 96 dpi,
        // not the template's 8 points.
        EXPECT_GT(font.lfHeight, 14) << id;
        dialog.DestroyWindow();
    }
    AfxEnableControlContainer(nullptr);
    CDialog plain(IDD_TEST_CLASSIC);
    ASSERT_TRUE(plain.Create(IDD_TEST_CLASSIC));
    EXPECT_STREQ(DialogFont(plain.m_hWnd).lfFaceName, L"MS Shell Dlg");
    plain.DestroyWindow();
}
