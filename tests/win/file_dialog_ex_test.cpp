// The extended file dialog in-process: its OK caption, the navigation it
// disables and the folders its hook removes from the file list, and the
// hook gone with the object.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "afx/handles.h"
#include "controls/file_dialog_ex.h"
#include "process_windows.h"
#include "run_soon.h"
#include "scoped_state.h"

namespace {

// A folder with files and adjacent sub-folders, made the current directory
// (the filter judges entries against it) for the test's length.
class FolderWithSubfolders : public testing::Test {
protected:
    void SetUp() override {
        ::GetCurrentDirectoryW(MAX_PATH, m_previous);
        for (const wchar_t* name : {L"a.txt", L"b.txt"}) m_folder.WriteFile(name, "x");
        for (const wchar_t* name : {L"Sub1", L"Sub2", L"Sub3"}) m_folder.MakeFolder(name);
        ::SetCurrentDirectoryW(m_folder.Path().c_str());
    }
    void TearDown() override { ::SetCurrentDirectoryW(m_previous); }

    TempFolder m_folder;
    wchar_t m_previous[MAX_PATH] = {};
};

HWND FindListView(HWND parent) {
    for (HWND child : demo::ChildWindowsOf(parent))
        if (::lstrcmpiW(demo::ClassNameOf(child).c_str(), WC_LISTVIEWW) == 0) return child;
    return nullptr;
}

std::vector<std::wstring> Items(HWND list) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[260] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = 260;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.push_back(text);
    }
    return items;
}

bool Has(const std::vector<std::wstring>& items, const wchar_t* name) {
    return std::ranges::any_of(items,
                               [name](const std::wstring& item) { return ::lstrcmpiW(item.c_str(), name) == 0; });
}

// A list view (of classType) holding these item texts.
afx::unique_hwnd MakeList(const wchar_t* classType, std::initializer_list<const wchar_t*> names) {
    afx::unique_hwnd list(
        ::CreateWindowExW(0, classType, L"", WS_POPUP | LVS_LIST, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr));
    int index = 0;
    for (const wchar_t* name : names) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index++;
        item.pszText = const_cast<wchar_t*>(name);
        ::SendMessageW(list.get(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    return list;
}

TEST_F(FolderWithSubfolders, TheHookRemovesEveryFolderInOnePassOnlyForListViewsPaintingOrSelecting) {
    // A class that only begins with the list view's name is not filtered.
    WNDCLASSW like{};
    ::GetClassInfoW(nullptr, WC_LISTVIEWW, &like);
    like.lpszClassName = L"SysListView32Extra";
    ::RegisterClassW(&like);
    struct Row {
        const wchar_t* classType;
        UINT message;
        std::vector<std::wstring> left;
    } rows[] = {
        {WC_LISTVIEWW, WM_NCPAINT, {L"a.txt", L"missing", L"b.txt"}},
        {WC_LISTVIEWW, LVM_GETSELECTEDCOUNT, {L"a.txt", L"missing", L"b.txt"}},
        {WC_LISTVIEWW, WM_PAINT, {L"Sub1", L"Sub2", L"a.txt", L"Sub3", L"missing", L"b.txt"}},
        {L"SysListView32Extra", WM_NCPAINT, {L"Sub1", L"Sub2", L"a.txt", L"Sub3", L"missing", L"b.txt"}},
    };
    for (const Row& row : rows) {
        const afx::unique_hwnd list =
            MakeList(row.classType, {L"Sub1", L"Sub2", L"a.txt", L"Sub3", L"missing", L"b.txt"});
        CWPSTRUCT message{0, 0, row.message, list.get()};
        CFileDialogEx::FolderFilterHook(HC_ACTION, 0, reinterpret_cast<LPARAM>(&message));
        EXPECT_EQ(Items(list.get()), row.left) << row.message;
    }
}

TEST_F(FolderWithSubfolders, TheDialogShowsItsCaptionWithTheFilterNeitherFoldersNorNavigationAndLeavesNoHook) {
    struct Row {
        bool filter;
        const wchar_t* caption;  // null: the default
        const wchar_t* shown;
    } rows[] = {{false, nullptr, L"Open"}, {true, L"Use this file", L"Use this file"}, {true, nullptr, L"Open"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shown);
        CFileDialogEx dialog(true);
        dialog.m_ofn.lpstrInitialDir = m_folder.Path().c_str();
        dialog.SetFolderFilter(row.filter);
        if (row.caption != nullptr) dialog.SetOkCaption(row.caption);
        bool looked = false;
        // Runs in the dialog's loop once it is up: look, then cancel.
        RunSoon([&] {
            const HWND common = ::GetActiveWindow();  // the common dialog
            ASSERT_NE(common, nullptr);
            wchar_t ok[64] = {};
            ::GetDlgItemTextW(common, IDOK, ok, 64);
            EXPECT_STREQ(ok, row.shown);
            for (const int navigation : {0x440, 0x471})  // "Look in" and its list
                EXPECT_EQ(::IsWindowEnabled(::GetDlgItem(common, navigation)) != FALSE, !row.filter) << navigation;
            const HWND list = FindListView(common);
            ASSERT_NE(list, nullptr);
            ::SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0);
            const std::vector<std::wstring> items = Items(list);
            EXPECT_TRUE(Has(items, L"a.txt"));
            EXPECT_EQ(Has(items, L"Sub1") || Has(items, L"Sub2") || Has(items, L"Sub3"), !row.filter);
            looked = true;
            ::PostMessageW(common, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(looked);
        EXPECT_EQ(dialog.IsHookInstalled(), row.filter) << "the hook stays until the object goes";
    }
    // With the objects gone, a list view of the thread keeps its folders: no hook filters it.
    const afx::unique_hwnd list = MakeList(WC_LISTVIEWW, {L"Sub1", L"a.txt"});
    ::SendMessageW(list.get(), LVM_GETSELECTEDCOUNT, 0, 0);
    EXPECT_EQ(Items(list.get()).size(), 2u);
}

}  // namespace
