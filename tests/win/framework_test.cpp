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
TEST(ExceptionBarrier, AFailingPaintOrTimerIsReportedOnceAndTheWindowGoesOn) {
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
        window.DestroyWindow();
    }
}

TEST(ExceptionBarrier, ADeadWindowLeavesTheMapWhateverItsLastHandlerDoes) {
    MessageBoxWatcher boxes;
    FailingWnd window;
    ASSERT_TRUE(window.Create());
    ::ValidateRect(window.m_hWnd, nullptr);
    const HWND hwnd = window.m_hWnd;
    ::DestroyWindow(hwnd);
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_TRUE(window.m_postNcDestroyed);
}

TEST(WindowObjects, OneWindowPerObjectAndEachThreadSeesOnlyItsOwn) {
    CWnd window;
    const wchar_t* windowClass = AfxRegisterWndClass(0);
    ASSERT_TRUE(window.CreateEx(0, windowClass, L"one", WS_POPUP, 0, 0, 10, 10, nullptr));
    const HWND first = window.m_hWnd;
    EXPECT_FALSE(window.CreateEx(0, windowClass, L"two", WS_POPUP, 0, 0, 10, 10, nullptr));
    EXPECT_EQ(window.m_hWnd, first);
    EXPECT_EQ(::FindWindowW(windowClass, L"two"), nullptr) << "refused before a window was made";
    EXPECT_FALSE(window.Attach(::GetDesktopWindow()));

    CWnd other;
    EXPECT_FALSE(other.Attach(first)) << "a window has one object";
    EXPECT_FALSE(other.SubclassWindow(first));

    // A window made on another thread is that thread's: this one cannot see
    // its object, and the first window made on a fresh thread is the one
    // asked for, not the thread's input-method window.
    std::thread([&] {
        CWnd own;
        ASSERT_TRUE(own.CreateEx(0, windowClass, L"own", WS_POPUP, 0, 0, 10, 10, nullptr));
        wchar_t name[256] = {};
        ::GetClassNameW(own.m_hWnd, name, 256);
        EXPECT_STREQ(name, windowClass);
        EXPECT_EQ(CWnd::FromHandlePermanent(own.m_hWnd), &own);
        EXPECT_EQ(CWnd::FromHandlePermanent(first), nullptr);
    }).join();
    EXPECT_EQ(CWnd::FromHandlePermanent(first), &window);
    window.DestroyWindow();
}

// Another thread may not take, destroy or let go of a window; an object let
// go of leaves no entry and its window working, a refused attachment the
// object free and the window as it was.
TEST(WindowObjects, AnotherThreadOrARefusedAttachmentLeavesTheWindowAsItWas) {
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"orphan", WS_POPUP, 0, 0, 10, 10, nullptr));
    const HWND hwnd = owner.m_hWnd;
    std::thread([&] {
        CWnd stranger;
        EXPECT_FALSE(stranger.SubclassWindow(hwnd)) << "another thread's window";
        EXPECT_FALSE(owner.DestroyWindow()) << "only its own thread may destroy it";
        EXPECT_EQ(owner.UnsubclassWindow(), nullptr) << "...or let go of it";
        EXPECT_EQ(owner.Detach(), nullptr);
    }).join();
    EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), &owner);
    EXPECT_EQ(owner.UnsubclassWindow(), hwnd);
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

namespace {

// Deletes itself on another thread while one of its messages is dispatched.
class DeletedWhileDispatching : public CWnd {
public:
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {afx::OnMessage<WM_USER, &DeletedWhileDispatching::OnUser>()};
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
        return &map;
    }
    LRESULT OnUser(WPARAM, LPARAM) {
        std::thread([this] { delete this; }).join();
        return m_hWnd != nullptr;  // the handler goes on with its object
    }
};

// Passes every message on to the procedure it was put over.
WNDPROC g_underForeign = nullptr;
LRESULT CALLBACK ForeignSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(g_underForeign, hwnd, message, wParam, lParam);
}

// Counts the colour changes it hears. One that rebuilds destroys its window
// at the first and, when asked, makes it again with a child, as a window
// whose look follows the system's colours might: the new child starts with
// the new colours and custom ones of its own.
class ColourListener : public CWnd {
public:
    explicit ColourListener(bool rebuild, bool again = false, HWND parent = nullptr)
        : m_rebuild(rebuild), m_again(again) {
        Create(parent);
    }
    void Create(HWND parent) {
        CreateEx(0, AfxRegisterWndClass(0), L"colours", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent);
    }
    const AFX_MSGMAP* GetMessageMap() const override {
        static constexpr AFX_MSGMAP_ENTRY entries[] = {afx::OnMessage<WM_SYSCOLORCHANGE, &ColourListener::OnColours>()};
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
        return &map;
    }
    LRESULT OnColours(WPARAM, LPARAM) {
        ++m_heard;
        if (!m_rebuild) return 0;
        DestroyWindow();
        if (m_again) {
            Create(nullptr);
            m_child = std::make_unique<ColourListener>(false, false, m_hWnd);
        }
        return 0;
    }
    bool m_rebuild, m_again;
    int m_heard = 0;
    std::unique_ptr<ColourListener> m_child;
};

}  // namespace

// The window's thread may be dispatching one of the object's messages at any
// moment, so the program stops at such a deletion rather than going on with
// freed memory.
TEST(WindowObjectsDeathTest, AnObjectDeletedOnAnotherThreadThanItsWindowsStopsTheProgram) {
    EXPECT_DEATH(
        {
            auto* object = new DeletedWhileDispatching;
            object->CreateEx(0, AfxRegisterWndClass(0), L"deleted", WS_POPUP, 0, 0, 10, 10, nullptr);
            object->SendMessage(WM_USER);
        },
        "deleted on thread");
}

TEST(WindowObjects, ASubclassPutOnAfterOursKeepsTheWindowsOwnProcedureWhenOursGoes) {
    for (const bool unsubclass : {true, false}) {
        SCOPED_TRACE(unsubclass ? "UnsubclassWindow" : "Detach");
        const afx::unique_hwnd box(::CreateWindowExW(0, L"BUTTON", L"box", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 50, 20,
                                                     nullptr, nullptr, nullptr, nullptr));
        CWnd ours;
        ASSERT_TRUE(ours.SubclassWindow(box.get()));
        g_underForeign = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(box.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclass)));
        EXPECT_EQ(unsubclass ? ours.UnsubclassWindow() : ours.Detach(), box.get());
        ::SendMessageW(box.get(), BM_SETCHECK, BST_CHECKED, 0);
        EXPECT_EQ(::SendMessageW(box.get(), BM_GETCHECK, 0, 0), BST_CHECKED) << "the button's own procedure answers";
        CWnd second;
        EXPECT_FALSE(second.SubclassWindow(box.get())) << "ours is still in the window's chain";
    }
}

TEST(WindowObjects, AWindowDestroyedByItsColourChangeHandlerPassesTheChangeToNoOtherWindow) {
    for (const bool again : {false, true}) {
        SCOPED_TRACE(again ? "made again" : "gone");
        ColourListener other(false), rebuilt(true, again);
        rebuilt.SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(other.m_heard, 0) << "another top-level window";
        if (again) {
            EXPECT_EQ(rebuilt.m_child->m_heard, 0) << "the new window's child";
        }
    }
}

TEST(WindowObjects, ARunningDialogRefusesASecondRunAndGoesOn) {
    TestDialog dialog;
    RunSoon([&] {
        EXPECT_EQ(dialog.DoModal(), -1);
        EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd)) << "the running dialog stays";
        RunSoon([&] { ::PostMessageW(dialog.GetDlgItem(IDOK), BM_CLICK, 0, 0); });
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
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
