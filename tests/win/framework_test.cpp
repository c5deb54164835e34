// The framework layer on real windows: the modal loop, message maps,
// reflection, PreTranslateMessage, command routing to the application, data
// exchange and the exception barrier.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/exception.h"
#include "afx/exception_barrier.h"
#include "afx/handles.h"
#include "afx/std_controls.h"
#include "afx/win_app.h"
#include "message_box_watcher.h"
#include "test_resources.h"

namespace {

constexpr UINT WM_RUN_SCRIPT = WM_APP + 1;

// The application object of the test program: it handles the Help command
// that dialogs do not.
class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(L"Framework Test") {}
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {afx::OnCommand<ID_HELP, &TestApp::OnHelp>()};
        static constexpr AFX_MSGMAP map{&CWinApp::GetThisMessageMap, entries};
        return &map;
    }
    // When a dialog passes on the Help command.
    void OnHelp() { ++helpCommands; }
    int helpCommands = 0;
};
TestApp g_testApp;

std::vector<std::wstring> g_events;

// A button that sees its own clicks first; passOn decides whether the
// dialog sees them too.
class ReflectingButton : public CButton {
public:
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnReflectedControl<BN_CLICKED, &ReflectingButton::OnClicked>()};
        static constexpr AFX_MSGMAP map{&CButton::GetThisMessageMap, entries};
        return &map;
    }
    // When the button was clicked (reflected from the parent).
    BOOL OnClicked() {
        g_events.push_back(L"button clicked");
        return consume ? TRUE : FALSE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) g_events.push_back(L"button pretranslate");
        return swallowKeys && msg->message == WM_KEYDOWN;
    }
    void PreSubclassWindow() override { g_events.push_back(L"pre-subclass"); }

    bool consume = true;
    bool swallowKeys = false;
};

// Dialog 500, which runs a script from inside its own modal loop.
class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(std::function<void(ScriptedDialog&)> script)
        : CDialog(IDD_TEST_CLASSIC), script_(std::move(script)) {}

    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnMessage<WM_RUN_SCRIPT, &ScriptedDialog::OnRunScript>(),
            afx::OnControl<BN_CLICKED, IDC_TEST_BUTTON, &ScriptedDialog::OnButtonClicked>(),
        };
        static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
        return &map;
    }

    void DoDataExchange(CDataExchange* dx) override {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, IDC_TEST_BUTTON, button);
        DDX_Text(dx, IDC_TEST_EDIT, text);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        PostMessage(WM_RUN_SCRIPT);
        if (failInit) AfxThrowOleException(kStatusUnspecifiedFailure);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == 'Q') g_events.push_back(L"dialog pretranslate");
        return CDialog::PreTranslateMessage(msg);
    }

    // When the script message arrives inside the modal loop.
    LRESULT OnRunScript(WPARAM, LPARAM) {
        script_(*this);
        return 0;
    }
    // When the test button's click reaches the dialog.
    void OnButtonClicked() {
        g_events.push_back(L"dialog clicked");
        if (throwOnClick) AfxThrowOleException(kStatusInvalidArgument);
    }

    ReflectingButton button;
    std::wstring text;
    bool failInit = false;
    bool throwOnClick = false;

private:
    std::function<void(ScriptedDialog&)> script_;
};

std::wstring SystemText(DWORD status) {
    wchar_t text[512] = {};
    ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, status, 0, text, 512, nullptr);
    std::wstring result(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r')) result.pop_back();
    return result;
}

class Framework : public ::testing::Test {
protected:
    void SetUp() override { g_events.clear(); }
};

}  // namespace

TEST_F(Framework, ModalLoopExchangesDataBothWaysAndEndsWithTheButtonsResult) {
    ScriptedDialog dialog([](ScriptedDialog& d) {
        EXPECT_EQ(::IsWindowVisible(d.m_hWnd), TRUE);
        EXPECT_EQ(d.GetWindowText(), L"Framework test");
        // The member reached the control when the dialog initialised.
        wchar_t shown[64] = {};
        ::GetDlgItemTextW(d.m_hWnd, IDC_TEST_EDIT, shown, 64);
        EXPECT_STREQ(shown, L"initial");
        ::SetDlgItemTextW(d.m_hWnd, IDC_TEST_EDIT, L"typed by the user");
        ::PostMessageW(d.GetDlgItem(IDOK), BM_CLICK, 0, 0);
    });
    dialog.text = L"initial";
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.text, L"typed by the user");  // OnOK read the controls back
    // The control was bound once, and let go when its window died.
    EXPECT_EQ(std::count(g_events.begin(), g_events.end(), L"pre-subclass"), 1);
    EXPECT_EQ(dialog.button.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    ScriptedDialog cancelled([](ScriptedDialog& d) { d.PostMessage(WM_SYSCOMMAND, SC_CLOSE); });
    cancelled.text = L"kept";
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.text, L"kept");  // Cancel does not read the controls
}

TEST_F(Framework, ReflectedNotificationReachesTheControlFirst) {
    ScriptedDialog consumed([](ScriptedDialog& d) {
        d.button.SendMessage(BM_CLICK);
        d.EndDialog(IDOK);
    });
    consumed.DoModal();
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"pre-subclass", L"button clicked"}));

    g_events.clear();
    ScriptedDialog passedOn([](ScriptedDialog& d) {
        d.button.consume = false;
        d.button.SendMessage(BM_CLICK);
        d.EndDialog(IDOK);
    });
    passedOn.DoModal();
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"pre-subclass", L"button clicked", L"dialog clicked"}));
}

TEST_F(Framework, PreTranslateMessageWalksFromTheTargetUpToTheDialog) {
    ScriptedDialog walked([](ScriptedDialog& d) {
        ::PostMessageW(d.button.m_hWnd, WM_KEYDOWN, 'Q', 0);
        d.PostMessage(WM_COMMAND, IDOK);
    });
    walked.DoModal();
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"pre-subclass", L"button pretranslate", L"dialog pretranslate"}));

    g_events.clear();
    ScriptedDialog swallowed([](ScriptedDialog& d) {
        d.button.swallowKeys = true;
        ::PostMessageW(d.button.m_hWnd, WM_KEYDOWN, 'Q', 0);
        d.PostMessage(WM_COMMAND, IDOK);
    });
    swallowed.DoModal();
    EXPECT_EQ(g_events, (std::vector<std::wstring>{L"pre-subclass", L"button pretranslate"}));

    // Escape posted to a control goes through the loop's dialog navigation
    // and cancels the dialog.
    ScriptedDialog escaped([](ScriptedDialog& d) { ::PostMessageW(d.GetDlgItem(IDOK), WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
}

TEST_F(Framework, CommandsTheDialogDoesNotHandleGoToTheApplication) {
    const int before = g_testApp.helpCommands;
    ScriptedDialog dialog([](ScriptedDialog& d) {
        d.SendMessage(WM_COMMAND, ID_HELP);
        HELPINFO info{};
        info.cbSize = sizeof(info);
        d.SendMessage(WM_HELP, 0, reinterpret_cast<LPARAM>(&info));  // what F1 sends
        d.SendMessage(WM_COMMAND, 0x7777);                          // nobody's command: ignored
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(g_testApp.helpCommands, before + 2);
}

TEST_F(Framework, ErrorsInHandlersAreReportedAndTheDialogGoesOn) {
    MessageBoxWatcher boxes;
    ScriptedDialog dialog([](ScriptedDialog& d) {
        d.throwOnClick = true;
        d.button.consume = false;
        d.button.SendMessage(BM_CLICK);  // the handler throws; the box is answered
        d.EndDialog(IDOK);               // and the dialog is still there to end
    });
    dialog.failInit = true;  // OnInitDialog throws after posting the script
    EXPECT_EQ(dialog.DoModal(), IDOK);

    // The second box opens on top of the first (the script runs inside the
    // first box's loop), so the order they are seen in is not fixed.
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 2u);
    std::vector<std::wstring> texts{seen[0].text, seen[1].text};
    std::sort(texts.begin(), texts.end());
    // The system's own text for each status, as the platform words it.
    std::vector<std::wstring> expected{SystemText(0x80004005), SystemText(0x80070057)};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(seen[0].caption, L"Framework Test");
    EXPECT_EQ(seen[1].caption, L"Framework Test");
    EXPECT_EQ(AfxGetErrorMessage(std::make_exception_ptr(CInvalidArgException())), L"Encountered an improper argument.");
}

TEST_F(Framework, ClosingAHandleKeepsTheLastError) {
    afx::unique_hkey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    key.reset();
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(key);

    afx::unique_hfind none;  // a find handle's "none" is INVALID_HANDLE_VALUE
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), INVALID_HANDLE_VALUE);

    afx::unique_hbrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    afx::unique_hbrush moved(std::move(brush));
    EXPECT_FALSE(brush);
    EXPECT_TRUE(moved);
}
