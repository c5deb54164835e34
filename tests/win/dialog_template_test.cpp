// The dialog template hook: the program's templates of both layouts, and
// every dialog made through the framework, get "Segoe UI" at 0xFFF2.
#include <gtest/gtest.h>

#include "afx/dialog.h"
#include "afx/dialog_template.h"
#include "afx/dialog_template_data.h"
#include "app/dlg_occ_manager.h"
#include "res/resource.h"
#include "test_resources.h"

namespace {

LOGFONTW DialogFont(HWND dialog) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

}  // namespace

TEST(DialogTemplateHook, ProgramTemplatesOfBothLayoutsGetTheProgramFont) {
    for (const UINT id : {IDD_UTILITY_DIALOG, IDD_ABOUTBOX}) {
        const HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
        ASSERT_NE(found, nullptr) << id;
        const auto* original = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(nullptr, found)));
        const std::size_t size = ::SizeofResource(nullptr, found);
        EXPECT_EQ(afx::dlgtemplate::IsExtended({reinterpret_cast<const std::uint8_t*>(original), size}),
                  id == IDD_ABOUTBOX);

        CDlgOccManager manager;
        OccDialogInfo info;
        info.templateSize = size;
        const DLGTEMPLATE* revised = manager.PreCreateDialog(&info, original);
        ASSERT_NE(revised, original);
        CDialogTemplate check;
        ASSERT_TRUE(check.Load(revised, info.revisedTemplate.size()));
        std::wstring face;
        std::uint16_t pointSize = 0;
        ASSERT_TRUE(check.GetFont(face, pointSize));
        EXPECT_EQ(face, L"Segoe UI");
        EXPECT_EQ(pointSize, 0xFFF2);
        if (id == IDD_UTILITY_DIALOG) {
            EXPECT_EQ(afx::dlgtemplate::ReadStyle(info.revisedTemplate), 0x90CA00C8u);
        }
    }
}

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
