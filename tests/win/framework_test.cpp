// The framework layer on real windows: the modal loop and data exchange,
// reflection and PreTranslateMessage, the exception barrier, and what a
// window's object may and may not be bound to.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "afx/data_exchange.h"
#include "afx/dialog.h"
#include "afx/exception.h"
#include "afx/handles.h"
#include "afx/module_state.h"
#include "afx/std_controls.h"
#include "afx/win_app.h"
#include "message_boxes.h"
#include "real_input.h"
#include "run_soon.h"
#include "test_resources.h"

namespace {

std::vector<std::wstring> g_events;

// A button that sees its own clicks first; m_consume decides whether the
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
        return m_consume;
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) g_events.push_back(L"button pretranslate");
        return m_swallowKeys && msg->message == WM_KEYDOWN;
    }
    BOOL m_consume = TRUE;
    bool m_swallowKeys = false;
};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(IDD_TEST_CLASSIC) {}
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnControl<BN_CLICKED, IDC_TEST_BUTTON, &TestDialog::OnButtonClicked>()};
        static constexpr AFX_MSGMAP map{&CDialog::GetThisMessageMap, entries};
        return &map;
    }
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, IDC_TEST_BUTTON, m_button);
        DDX_Text(dx, IDC_TEST_EDIT, m_text);
        if (m_bindMissingControl) DDX_Text(dx, IDC_TEST_MISSING, m_text);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == 'Q') g_events.push_back(L"dialog pretranslate");
        return CDialog::PreTranslateMessage(msg);
    }
    // When the test button's click reaches the dialog.
    void OnButtonClicked() { g_events.push_back(L"dialog clicked"); }

    ReflectingButton m_button;
    std::wstring m_text;
    bool m_bindMissingControl = false;
};

// A plain window whose handlers can be made to fail.
class FailingWnd : public CWnd {
public:
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {afx::OnWmPaint<&FailingWnd::OnPaint>(),
                                                       afx::OnWmTimer<&FailingWnd::OnTimer>(),
                                                       afx::OnMessage<WM_NCDESTROY, &FailingWnd::OnNcDestroy>()};
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
        return &map;
    }
    bool Create() {
        return CreateEx(0, AfxRegisterWndClass(0), L"failing", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr);
    }
    // When the window needs painting: fails.
    void OnPaint() {
        ++m_paints;
        AfxThrowOleException(kStatusUnspecifiedFailure);
    }
    // When the timer fires: fails, the fifth time after stopping the timer.
    void OnTimer(UINT_PTR id) {
        if (++m_timers == 5) ::KillTimer(m_hWnd, id);
        AfxThrowOleException(kStatusUnspecifiedFailure);
    }
    // When the window is destroyed: fails.
    LRESULT OnNcDestroy(WPARAM, LPARAM) { AfxThrowOleException(kStatusInvalidArgument); }
    void PostNcDestroy() override { m_postNcDestroyed = true; }

    int m_paints = 0;
    int m_timers = 0;
    bool m_postNcDestroyed = false;
};

}  // namespace

TEST(Framework, ModalLoopExchangesDataBothWaysAndAFailedExchangeKeepsTheDialogOpen) {
    TestDialog dialog;
    dialog.m_text = L"initial";
    RunSoon([&] {
        EXPECT_EQ(dialog.DoModal(), -1) << "a running dialog refuses a second run";
        wchar_t shown[64] = {};
        ::GetDlgItemTextW(dialog.m_hWnd, IDC_TEST_EDIT, shown, 64);
        EXPECT_STREQ(shown, L"initial");
        ::SetDlgItemTextW(dialog.m_hWnd, IDC_TEST_EDIT, L"typed");
        dialog.m_bindMissingControl = true;
        dialog.SendMessage(WM_COMMAND, IDOK);  // the exchange fails: still open
        EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
        dialog.m_bindMissingControl = false;
        ::PostMessageW(dialog.GetDlgItem(IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_text, L"typed");
    EXPECT_EQ(dialog.m_button.m_hWnd, nullptr);  // let go when its window died

    TestDialog cancelled;
    cancelled.m_text = L"kept";
    RunSoon([&] { cancelled.PostMessage(WM_SYSCOMMAND, SC_CLOSE); });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.m_text, L"kept");  // Cancel does not read the controls
}

TEST(Framework, NotificationsReachTheControlFirstAndKeysWalkUpToTheDialog) {
    struct Row {
        BOOL consume;
        bool swallowKeys;
        std::vector<std::wstring> events;
    };
    const Row rows[] = {
        {TRUE, false, {L"button clicked", L"button pretranslate", L"dialog pretranslate"}},
        {FALSE, true, {L"button clicked", L"dialog clicked", L"button pretranslate"}},
    };
    for (const Row& row : rows) {
        g_events.clear();
        TestDialog dialog;
        RunSoon([&] {
            dialog.m_button.m_consume = row.consume;
            dialog.m_button.m_swallowKeys = row.swallowKeys;
            dialog.m_button.SendMessage(BM_CLICK);
            ::PostMessageW(dialog.m_button.m_hWnd, WM_KEYDOWN, 'Q', 0);
            ::PostMessageW(dialog.GetDlgItem(IDOK), WM_KEYDOWN, VK_ESCAPE, 0);  // navigation: Escape cancels
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(g_events, row.events);
    }
}

// A report's message box runs a loop that delivers the failing window's
// next paint or timer; each must not open a box of its own.
TEST(ExceptionBarrier, AFailingPaintOrTimerIsReportedOnceTheWindowGoesOnAndLeavesTheMapWhenItDies) {
    for (const bool timer : {false, true}) {
        // Each box stays a while, so the failing messages come while it shows.
        MessageBoxWatcher boxes({IDOK}, ::GetCurrentProcessId(), std::chrono::milliseconds(300));
        FailingWnd window;
        ASSERT_TRUE(window.Create());
        if (timer) {
            ::ValidateRect(window.m_hWnd, nullptr);
            ::SetTimer(window.m_hWnd, 1, 10, nullptr);
        }
        PumpFor(1000);
        EXPECT_EQ(boxes.Texts().size(), 1u) << (timer ? "timer" : "paint");
        EXPECT_EQ(window.m_paints, timer ? 0 : 1) << "the failed paint was validated before the report";
        EXPECT_EQ(window.m_timers, timer ? 5 : 0);
        ASSERT_FALSE(boxes.Seen().empty());
        EXPECT_EQ(boxes.Seen()[0].caption, AfxGetAppName());
        // Whatever its last handler does (this one fails), a dead window leaves the map.
        const HWND hwnd = window.m_hWnd;
        ::DestroyWindow(hwnd);
        EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
        EXPECT_EQ(window.m_hWnd, nullptr);
        EXPECT_TRUE(window.m_postNcDestroyed);
    }
}

// One object per window and one window per object; another thread neither
// sees, takes, destroys nor lets go of a window; letting go or refusing an
// attachment leaves the window working as it was.
TEST(WindowObjects, OneObjectPerWindowOnItsOwnThreadAndLettingGoLeavesTheWindowWorking) {
    CWnd window;
    const wchar_t* windowClass = AfxRegisterWndClass(0);
    ASSERT_TRUE(window.CreateEx(0, windowClass, L"one", WS_POPUP, 0, 0, 10, 10, nullptr));
    const HWND hwnd = window.m_hWnd;
    EXPECT_FALSE(window.CreateEx(0, windowClass, L"two", WS_POPUP, 0, 0, 10, 10, nullptr));
    EXPECT_EQ(window.m_hWnd, hwnd);
    EXPECT_EQ(::FindWindowW(windowClass, L"two"), nullptr) << "refused before a window was made";
    EXPECT_FALSE(window.Attach(::GetDesktopWindow()));
    CWnd other;
    EXPECT_FALSE(other.Attach(hwnd)) << "a window has one object";
    EXPECT_FALSE(other.SubclassWindow(hwnd));

    // The first window made on a fresh thread is the one asked for, not the
    // thread's input-method window.
    std::thread([&] {
        CWnd own;
        ASSERT_TRUE(own.CreateEx(0, windowClass, L"own", WS_POPUP, 0, 0, 10, 10, nullptr));
        wchar_t name[256] = {};
        ::GetClassNameW(own.m_hWnd, name, 256);
        EXPECT_STREQ(name, windowClass);
        EXPECT_EQ(CWnd::FromHandlePermanent(own.m_hWnd), &own);
        EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
        EXPECT_FALSE(other.SubclassWindow(hwnd)) << "another thread's window";
        EXPECT_FALSE(window.DestroyWindow());
        EXPECT_EQ(window.UnsubclassWindow(), nullptr);
        EXPECT_EQ(window.Detach(), nullptr);
    }).join();
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &window);
    EXPECT_EQ(window.UnsubclassWindow(), hwnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    const auto procedure = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    EXPECT_NE(reinterpret_cast<WNDPROC>(procedure), &AfxWndProc);
    ::SetWindowTextW(hwnd, L"still answers");
    EXPECT_EQ(AfxGetWindowText(hwnd), L"still answers");

    struct Refusing : CWnd {
        void PreSubclassWindow() override { AfxThrowOleException(kStatusUnspecifiedFailure); }
    } refusing;
    EXPECT_ANY_THROW(refusing.SubclassWindow(hwnd));
    EXPECT_EQ(refusing.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), procedure);
    CWnd taker;
    EXPECT_TRUE(taker.SubclassWindow(hwnd));
    EXPECT_TRUE(taker.DestroyWindow());
}

// The window's thread may be in one of the object's handlers at that moment.
TEST(WindowObjectsDeathTest, AnObjectDeletedOnAnotherThreadThanItsWindowsStopsTheProgram) {
    EXPECT_DEATH(
        {
            auto* object = new CWnd;
            object->CreateEx(0, AfxRegisterWndClass(0), L"deleted", WS_POPUP, 0, 0, 10, 10, nullptr);
            std::thread([object] { delete object; }).join();
        },
        "deleted on thread");
}

namespace {

WNDPROC g_underForeign = nullptr;
LRESULT CALLBACK ForeignSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_underForeign, hwnd, message, wParam, lParam);
}

// Counts the colour changes it hears; at the first, one destroys its window
// and one makes it again with a child that starts with the new colours.
class ColourListener : public CWnd {
public:
    enum Does { Listens, Destroys, Rebuilds };
    explicit ColourListener(Does does, HWND parent = nullptr) : m_does(does) {
        CreateEx(0, AfxRegisterWndClass(0), L"colours", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent);
    }
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message != WM_SYSCOLORCHANGE || ++m_heard > 1 || m_does == Listens)
            return CWnd::OnWndMsg(message, wParam, lParam, result);
        DestroyWindow();
        if (m_does == Rebuilds) {
            CreateEx(0, AfxRegisterWndClass(0), L"colours", WS_POPUP, 0, 0, 10, 10, nullptr);
            m_child = std::make_unique<ColourListener>(Listens, m_hWnd);
        }
        return true;
    }
    Does m_does;
    int m_heard = 0;
    std::unique_ptr<ColourListener> m_child;
};

}  // namespace

TEST(WindowObjects, ASubclassPutOnAfterOursKeepsTheWindowsOwnProcedureWhenOursGoes) {
    const afx::unique_hwnd box(::CreateWindowExW(0, L"BUTTON", L"box", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 50, 20,
                                                 nullptr, nullptr, nullptr, nullptr));
    CWnd ours;
    ASSERT_TRUE(ours.SubclassWindow(box.get()));
    g_underForeign = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(box.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclass)));
    EXPECT_EQ(ours.UnsubclassWindow(), box.get());
    ::SendMessageW(box.get(), BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(::SendMessageW(box.get(), BM_GETCHECK, 0, 0), BST_CHECKED) << "the button's own procedure answers";
    EXPECT_FALSE(CWnd().SubclassWindow(box.get())) << "ours is still in the window's chain";
}

// Gone, Windows would pass it to the whole desktop (docs/WINE.md); made again,
// to children that never missed it.
TEST(WindowObjects, AWindowDestroyedByItsColourChangeHandlerPassesTheChangeToNoOtherWindow) {
    ColourListener other(ColourListener::Listens), gone(ColourListener::Destroys), rebuilt(ColourListener::Rebuilds);
    gone.SendMessage(WM_SYSCOLORCHANGE);
    rebuilt.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(other.m_heard, 0);
    EXPECT_EQ(rebuilt.m_child->m_heard, 0);
}

TEST(WindowObjects, WindowClassesCanBeRegisteredFromManyThreadsAtOnce) {
    constexpr int kThreads = 4, kStyles = 300;
    std::vector<std::vector<const wchar_t*>> names(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&names, t] {
            for (UINT style = 0; style < kStyles; ++style)
                names[t].push_back(
                    AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(style + 1))));
        });
    for (std::thread& thread : threads) thread.join();
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(names[t], names[0]) << "one class per combination";
    WNDCLASSW found{};
    for (const wchar_t* name : names[0]) EXPECT_TRUE(::GetClassInfoW(AfxGetInstanceHandle(), name, &found));
}

TEST(Application, RunEndsWithTheCodeOfWmQuit) {
    ::PostQuitMessage(42);
    EXPECT_EQ(AfxGetApp()->Run(), 42);
}

TEST(Handles, ClosingKeepsTheLastErrorAndGuardsGiveBorrowedThingsBack) {
    afx::unique_hkey key;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    key.reset();
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_EQ(afx::unique_hfile().get(), INVALID_HANDLE_VALUE);  // "none" for files is not null
    afx::unique_hbrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    const HBRUSH handle = brush.get();
    afx::unique_hbrush moved(std::move(brush));
    EXPECT_FALSE(brush);
    moved.reset();
    EXPECT_EQ(::GetObjectType(handle), 0u) << "deleted";

    const afx::unique_hdc memory(::CreateCompatibleDC(nullptr));
    const HGDIOBJ before = ::GetCurrentObject(memory.get(), OBJ_PEN);
    const afx::unique_hpen pen(::CreatePen(PS_SOLID, 1, RGB(1, 2, 3)));
    {
        const auto selected = afx::SelectObject(memory.get(), pen.get());
        EXPECT_EQ(::GetCurrentObject(memory.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(::GetCurrentObject(memory.get(), OBJ_PEN), before);
}
