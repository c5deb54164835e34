// The dialog template hook on the program's real templates and on real
// dialogs created through the framework.
#include "app/dlg_occ_manager.h"

#include <gtest/gtest.h>

#include "afx/dialog.h"
#include "afx/dialog_template.h"
#include "afx/dialog_template_data.h"
#include "afx/handles.h"
#include "res/resource.h"
#include "test_environment.h"
#include "test_resources.h"

namespace {

struct ProgramTemplate {
    const DLGTEMPLATE* bytes = nullptr;
    std::size_t size = 0;
};

ProgramTemplate FindTemplate(HMODULE module, UINT id) {
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    if (loaded == nullptr) return {};
    return {static_cast<const DLGTEMPLATE*>(::LockResource(loaded)), ::SizeofResource(module, found)};
}

LOGFONTW DialogFont(HWND dialog) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

}  // namespace

TEST(DialogTemplateHook, ProgramTemplatesOfBothLayoutsGetTheProgramFont) {
    const afx::unique_hmodule program(::LoadLibraryExW((TestProgramFolder() + L"VornixUtility64.exe").c_str(), nullptr,
                                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(program);
    for (const UINT id : {IDD_UTILITY_DIALOG, IDD_ABOUTBOX}) {
        const ProgramTemplate original = FindTemplate(program.get(), id);
        ASSERT_NE(original.bytes, nullptr) << id;
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(original.bytes);
        EXPECT_EQ(afx::dlgtemplate::IsExtended({bytes, original.size}), id == IDD_ABOUTBOX);

        CDialogTemplate copy;
        ASSERT_TRUE(copy.Load(original.bytes, original.size));
        std::wstring face;
        std::uint16_t size = 0;
        ASSERT_TRUE(copy.GetFont(face, size));
        EXPECT_EQ(face, L"MS Shell Dlg");
        EXPECT_EQ(size, 8);

        CDlgOccManager manager;
        OccDialogInfo info;
        info.templateSize = original.size;
        const DLGTEMPLATE* revised = manager.PreCreateDialog(&info, original.bytes);
        ASSERT_NE(revised, original.bytes);
        CDialogTemplate check;
        ASSERT_TRUE(check.Load(revised, info.revisedTemplate.size()));
        ASSERT_TRUE(check.GetFont(face, size));
        EXPECT_EQ(face, L"Segoe UI");
        EXPECT_EQ(size, 0xFFF2);
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
        // 0xFFF2 is read as -14 points by the dialog manager: a positive
        // (cell) height, not the 8-point font of the template.
        EXPECT_GT(font.lfHeight, 14) << id;
        dialog.DestroyWindow();
    }
    AfxEnableControlContainer(nullptr);
    CDialog plain(IDD_TEST_CLASSIC);
    ASSERT_TRUE(plain.Create(IDD_TEST_CLASSIC));
    EXPECT_STREQ(DialogFont(plain.m_hWnd).lfFaceName, L"MS Shell Dlg");
    plain.DestroyWindow();
}
