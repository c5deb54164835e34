// The main dialog, the About box and the help commands in-process: the
// program's resources are linked in, the HTML Help entry point records its
// calls, and the update check that runs during the dialog's initialisation
// is served by the test.
#include <gtest/gtest.h>

#include "afx/registry.h"
#include "afx/wait_cursor.h"
#include "afx/win_app.h"
#include "app/companion_library.h"
#include "app/help.h"
#include "app/utility_app.h"
#include "app/utility_dlg.h"
#include "message_boxes.h"
#include "res/resource.h"
#include "run_soon.h"
#include "scoped_state.h"
#include "version/install_paths.h"
#include "version/web_update_check.h"

namespace {

struct HelpCall {
    HWND caller;
    std::wstring fileOrTopic;
    UINT command;
    bool operator==(const HelpCall&) const = default;
};
std::vector<HelpCall> g_helpCalls;

HWND WINAPI RecordHtmlHelp(HWND caller, const wchar_t* fileOrTopic, UINT command, DWORD_PTR) {
    g_helpCalls.push_back({caller, fileOrTopic, command});
    return nullptr;
}

std::wstring NoPage(const std::wstring&, StartClock::time_point) { return L""; }

std::wstring MenuText(HMENU menu, UINT position) {
    wchar_t text[64] = {};
    ::GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

class MainDialog : public ::testing::Test {
protected:
    void SetUp() override {
        SetUpdatePageSource(&NoPage);
        SetHtmlHelpEntry(&RecordHtmlHelp);
        g_helpCalls.clear();
    }
    void TearDown() override {
        SetUpdatePageSource(nullptr);
        SetHtmlHelpEntry(nullptr);
        AfxGetThread()->m_pMainWnd = nullptr;
        ::RegDeleteTreeW(HKEY_CURRENT_USER, ScheduleKey().c_str());
    }
};

}  // namespace

TEST_F(MainDialog, CaptionMenusIconsAndEveryWayToClose) {
    struct Row {
        const char* way;
        std::function<void(CUtilityDlg&)> close;
        INT_PTR result;
    };
    const Row rows[] = {
        {"OK button", [](CUtilityDlg& d) { ::PostMessageW(d.GetDlgItem(IDOK), BM_CLICK, 0, 0); }, IDOK},
        {"File Exit", [](CUtilityDlg& d) { d.PostMessage(WM_COMMAND, ID_FILE_EXIT); }, IDOK},
        {"Escape", [](CUtilityDlg& d) { ::PostMessageW(d.GetDlgItem(IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
        {"close box", [](CUtilityDlg& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE); }, IDCANCEL},
    };
    for (const Row& row : rows) {
        CUtilityDlg dialog(nullptr, StartClock::now());
        RunSoon([&] {
            EXPECT_EQ(dialog.GetWindowText(), L"Vornix Utility");
            EXPECT_TRUE(::GetWindowLongPtrW(dialog.m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW);
            EXPECT_EQ(LOWORD(dialog.SendMessage(DM_GETDEFID)), IDOK);
            EXPECT_NE(::GetMenu(dialog.m_hWnd), nullptr);
            const HMENU system = dialog.GetSystemMenu(FALSE);
            const int last = ::GetMenuItemCount(system) - 1;
            EXPECT_EQ(::GetMenuItemID(system, last), 16u);
            EXPECT_EQ(MenuText(system, static_cast<UINT>(last)), L"&About Vornix Utility...");
            EXPECT_EQ(::GetMenuState(system, static_cast<UINT>(last - 1), MF_BYPOSITION) & MF_SEPARATOR,
                      static_cast<UINT>(MF_SEPARATOR));
            const LRESULT big = dialog.SendMessage(WM_GETICON, ICON_BIG);
            EXPECT_NE(big, 0);
            EXPECT_EQ(dialog.SendMessage(WM_GETICON, ICON_SMALL), big);
            row.close(dialog);
        });
        EXPECT_EQ(dialog.DoModal(), row.result) << row.way;
    }
}

TEST_F(MainDialog, OnlySystemCommand16OpensTheAboutBoxWithTheProgramsVersions) {
    const std::pair<std::optional<std::wstring>, std::wstring> rows[] = {
        {L"2",
         L"Vornix Utility Version 2023.0.1\n\nVELKOR 2D Version 2023.0    Update 2\n\n"
         L"Copyright \u00A9 2023 VELKOR. All rights reserved."},
        {std::nullopt,
         L"Vornix Utility Version 2023.0.1\n\nVELKOR 2D Version 2023.0\n\n"
         L"Copyright \u00A9 2023 VELKOR. All rights reserved."},
    };
    for (const auto& [update, text] : rows) {
        ScopedRegistryValue level(HKEY_LOCAL_MACHINE, kSuiteKey, kProductUpdateValue, update);
        CUtilityDlg dialog(nullptr, StartClock::now());
        AfxGetThread()->m_pMainWnd = &dialog;  // as the application makes it
        std::vector<std::wstring> opened;
        // Sends the command with a step queued that runs in the About box's
        // loop if one opens, or in the loop below otherwise.
        const auto tryCommand = [&](UINT message, UINT command) {
            bool ran = false;
            RunSoon([&, message, command] {
                ran = true;
                const HWND about = FindShownWindow(L"About Vornix Utility");
                if (about == nullptr) return;
                opened.push_back(std::to_wstring(message) + L":" + std::to_wstring(command));
                wchar_t shown[256] = {};
                ::GetDlgItemTextW(about, IDC_ABOUT_TEXT, shown, 256);
                EXPECT_EQ(shown, text);
                EXPECT_EQ(::GetWindow(about, GW_OWNER), dialog.m_hWnd) << "modal to the main dialog";
                EXPECT_NE(::SendDlgItemMessageW(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
                EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), IDOK);
                ::PostMessageW(about, WM_COMMAND, IDOK, 0);
            });
            dialog.SendMessage(message, command);
            for (MSG msg; !ran && ::GetMessageW(&msg, nullptr, 0, 0);) ::DispatchMessageW(&msg);
        };
        RunSoon([&] {
            for (const UINT command : {0x11u, 0x1Fu, 16u}) tryCommand(WM_SYSCOMMAND, command);  // the exact id only
            tryCommand(WM_COMMAND, ID_HELP_ABOUT);                                              // the Help menu's item
            dialog.EndDialog(IDOK);
        });
        dialog.DoModal();
        EXPECT_EQ(opened, (std::vector<std::wstring>{L"274:16", L"273:32773"}));
    }
}

TEST_F(MainDialog, HelpOpensTheFileByEachWayOrSaysItIsMissing) {
    TempFolder folder;
    const std::wstring present = folder.WriteFile(L"VornixUtility.chm", "chm");
    const std::wstring missing = folder.Path() + L"Missing.chm";
    struct Way {
        const char* name;
        WPARAM command;  // sent as WM_COMMAND, or 0 for F1 (WM_HELP)
        std::wstring page;
        UINT helpCommand;
        bool application;  // the application's command: no owner, the platform's caption
    };
    const Way ways[] = {
        {"Help button", MAKEWPARAM(IDC_HELP_BUTTON, BN_CLICKED), L"::/main_window.html", 0, false},
        {"Help menu", ID_HELP_CONTENTS, L"", 1, false},
        {"F1", 0, L"", 1, true},
    };
    for (const Way& way : ways) {
        for (const std::wstring& file : {present, missing}) {
            SCOPED_TRACE(testing::Message() << way.name << (file == present ? ", present" : ", missing"));
            g_helpCalls.clear();
            CUtilityDlg dialog(nullptr, StartClock::now());
            dialog.SetHelpFilePath(file);
            static_cast<CUtilityApp*>(AfxGetApp())->SetHelpFilePath(file);
            AfxGetThread()->m_pMainWnd = &dialog;
            std::vector<SeenMessageBox> boxes;
            HWND shown = nullptr;
            RunSoon([&] {
                shown = dialog.m_hWnd;
                MessageBoxWatcher watcher;
                if (way.command != 0) {
                    const HWND control =
                        HIWORD(way.command) == BN_CLICKED ? dialog.GetDlgItem(IDC_HELP_BUTTON) : nullptr;
                    dialog.SendMessage(WM_COMMAND, way.command, reinterpret_cast<LPARAM>(control));
                } else {
                    HELPINFO info{};
                    info.cbSize = sizeof(info);
                    dialog.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
                }
                boxes = watcher.Seen();
                dialog.EndDialog(IDOK);
            });
            dialog.DoModal();
            if (file == present) {
                EXPECT_EQ(g_helpCalls, (std::vector<HelpCall>{{shown, file + way.page, way.helpCommand}}));
                EXPECT_TRUE(boxes.empty());
            } else {
                EXPECT_TRUE(g_helpCalls.empty());
                ASSERT_EQ(boxes.size(), 1u);
                EXPECT_EQ(boxes[0].text,
                          L"Couldn't find help file: \n" + missing + L"\n\nPlease check software installation.");
                EXPECT_EQ(boxes[0].caption, way.application ? L"Error" : AfxGetAppName());
                EXPECT_EQ(boxes[0].owner == nullptr, way.application);
                EXPECT_EQ(boxes[0].icon, L"error");
            }
        }
    }
}

TEST_F(MainDialog, TheUpdateCheckRunsUnderTheStartUpMessageAndTheHourglassWithTheStartsDeadline) {
    const afx::unique_hmodule companion(::LoadLibraryW((ProgramFolder() + CompanionLibraryName()).c_str()));
    ASSERT_TRUE(companion);
    // Due at every start, with the suite's folders alike.
    TempFolder suite;
    ScopedRegistryValue local(HKEY_LOCAL_MACHINE, kSuiteKey, kLocalAppPathValue, suite.Path());
    ScopedRegistryValue network(HKEY_LOCAL_MACHINE, kSuiteKey, kNetworkAppPathValue, suite.Path());
    WriteRegistryDword(HKEY_CURRENT_USER, ScheduleKey().c_str(), kCheckWebVersionDaysValue, 0);
    WriteRegistryString(HKEY_CURRENT_USER, ScheduleKey().c_str(), kCheckWebVersionDateValue, L"2023-01-01 00:00:00");

    static HWND messageDuringCheck = nullptr;
    static bool hourglassDuringCheck = false;
    static StartClock::time_point pageDeadline;
    SetUpdatePageSource([](const std::wstring&, StartClock::time_point deadline) {
        messageDuringCheck = FindShownWindow(L"Vornix Utility");
        hourglassDuringCheck = AfxIsWaitCursorShown();
        pageDeadline = deadline;
        return std::wstring();
    });
    const StartClock::time_point started = StartClock::now() - std::chrono::seconds(4);
    CUtilityDlg dialog(companion.get(), started);
    RunSoon([&] { dialog.EndDialog(IDOK); });
    dialog.DoModal();
    EXPECT_EQ(pageDeadline, UpdatePageDeadline(started)) << "the page's deadline counts from the program's start";
    ASSERT_NE(messageDuringCheck, nullptr);
    EXPECT_FALSE(::IsWindow(messageDuringCheck)) << "gone with the check";
    EXPECT_TRUE(hourglassDuringCheck);
    EXPECT_FALSE(AfxIsWaitCursorShown());
}
