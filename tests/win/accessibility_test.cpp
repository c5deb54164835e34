// The controls as a screen reader meets them (their accessible objects read
// through AccessibleObjectFromWindow, their default actions done, the
// events they raise, a reference kept past the window's end), and as a user
// of high contrast sees them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "afx/high_contrast.h"
#include "afx/shell.h"
#include "control_host.h"
#include "controls/button_st.h"
#include "controls/hyper_link.h"
#include "gdi_probe.h"
#include "real_input.h"
#include "run_soon.h"
#include "screen_reader.h"

namespace {

std::vector<std::wstring> g_opened;
BOOL WINAPI RecordShellEx(SHELLEXECUTEINFOW* info) {
    g_opened.push_back(info->lpFile);
    return TRUE;
}
HINSTANCE WINAPI RecordShell(HWND, const wchar_t*, const wchar_t* file, const wchar_t*, const wchar_t*, INT) {
    g_opened.push_back(file);
    return reinterpret_cast<HINSTANCE>(42);
}

// The events a window raised, as a listener out of the process's context hears them.
std::vector<DWORD> g_events;
HWND g_watched = nullptr;
void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD) noexcept {
    if (window == g_watched && object == OBJID_CLIENT) g_events.push_back(event);
}

class Accessibility : public testing::Test {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Add(m_push, L"&Go", BS_PUSHBUTTON, 0);
        Add(m_iconOnly, L"", BS_PUSHBUTTON, 1);
        Add(m_check, L"Check", BS_AUTOCHECKBOX, 2);
        Add(m_menu, L"Menu", BS_PUSHBUTTON, 3);
        Add(m_linked, L"Site", BS_DEFPUSHBUTTON, 4);
        m_iconOnly.SetIcons(probe::MakeIcon(RGB(200, 0, 0)), nullptr);
        m_iconOnly.SetTooltip(L"Named by its tip");
        HMENU menu = ::CreateMenu(), popup = ::CreatePopupMenu();
        ::AppendMenuW(popup, MF_STRING, 1, L"Item");
        ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Popup");
        m_menu.SetMenu(menu, m_host.m_hWnd, false);
        m_linked.SetLinkTarget(L"https://button.example/");
        m_link.SetTarget(L"https://link.example/");
        m_link.SubclassWindow(m_host.AddChild(L"STATIC", L"A link", SS_LEFT, {10, 160, 200, 180}, 200));
    }
    void TearDown() override { ::CoUninitialize(); }
    void Add(CButtonST& button, const wchar_t* caption, DWORD style, int row) {
        const int top = 10 + row * 28;
        button.SubclassWindow(
            m_host.AddChild(L"BUTTON", caption, WS_TABSTOP | style, {10, top, 110, top + 24}, 100 + row));
    }

    probe::ControlHost m_host{{240, 200}};
    CButtonST m_push, m_iconOnly, m_check, m_menu, m_linked;
    CHyperLink m_link;
};

}  // namespace

TEST_F(Accessibility, EachConfigurationTellsItsRoleStateNameValueAndDefaultAction) {
    ::EnableWindow(m_linked.m_hWnd, FALSE);  // before the focus is set: disabling moves it on
    ::SetFocus(m_push.m_hWnd);
    // clang-format off
    const struct { HWND window; long role, state, notState; const wchar_t *name, *value, *action; } rows[] = {
        {m_push.m_hWnd, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSED | STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_UNAVAILABLE, L"Go", L"", L"Press"},
        {m_iconOnly.m_hWnd, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_FOCUSED, L"Named by its tip", L"", L"Press"},
        {m_check.m_hWnd, ROLE_SYSTEM_CHECKBUTTON, 0, STATE_SYSTEM_CHECKED, L"Check", L"", L"Check"},
        {m_menu.m_hWnd, ROLE_SYSTEM_BUTTONMENU, STATE_SYSTEM_HASPOPUP, 0, L"Menu", L"", L"Open"},
        {m_linked.m_hWnd, ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_DEFAULT, STATE_SYSTEM_FOCUSABLE, L"Site", L"https://button.example/", L"Press"},
        {m_link.m_hWnd, ROLE_SYSTEM_LINK, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED, STATE_SYSTEM_TRAVERSED, L"A link", L"https://link.example/", L"Jump"},
    };
    // clang-format on
    for (const auto& row : rows) {
        const demo::Heard heard = demo::Hear(row.window);
        EXPECT_EQ(heard.role, row.role) << row.name;
        EXPECT_EQ(heard.state & row.state, row.state) << row.name;
        EXPECT_EQ(heard.state & row.notState, 0) << row.name;
        EXPECT_EQ(heard.name, row.name);
        EXPECT_EQ(heard.value, row.value) << row.name;
        EXPECT_EQ(heard.action, row.action) << row.name;
    }
    MovePointerTo(CentreOf(m_iconOnly.m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return m_iconOnly.IsHovering(); }));
    EXPECT_TRUE(demo::Hear(m_iconOnly.m_hWnd).state & STATE_SYSTEM_HOTTRACKED) << "hot while hovered";
}

TEST_F(Accessibility, DefaultActionsActAsAClickAndChangesAreTold) {
    // The menu opens (closed again from inside its own loop); the links open.
    bool opened = false;
    std::function<void()> closeMenu = [&] {
        opened = demo::FindOpenMenu(::GetCurrentProcessId()) != nullptr;
        opened ? static_cast<void>(::EndMenu()) : RunSoon(closeMenu);
    };
    RunSoon(closeMenu);
    EXPECT_EQ(demo::DoDefaultAction(m_menu.m_hWnd), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return opened; })) << "the menu opened";
    g_opened.clear();
    const ShellExecuteExFunction previousEx = AfxSetShellExecuteEx(&RecordShellEx);
    const ShellExecuteFunction previous = AfxSetShellExecute(&RecordShell);
    // Disabled, neither acts; enabled, both do; Enter held down opens the link once.
    for (const HWND control : {m_linked.m_hWnd, m_link.m_hWnd}) {
        ::EnableWindow(control, FALSE);
        EXPECT_EQ(demo::DoDefaultAction(control), E_FAIL);
        ::EnableWindow(control, TRUE);
    }
    EXPECT_EQ(demo::DoDefaultAction(m_linked.m_hWnd), S_OK);
    EXPECT_EQ(demo::DoDefaultAction(m_link.m_hWnd), S_OK);
    PumpUntil([] { return g_opened.size() == 2; });
    ::SetFocus(m_link.m_hWnd);
    INPUT held[3] = {};
    for (INPUT& key : held) key.type = INPUT_KEYBOARD, key.ki.wVk = VK_RETURN;
    held[2].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(3, held, sizeof(INPUT));
    RunQueuedInput(QS_KEY);
    AfxSetShellExecuteEx(previousEx);
    AfxSetShellExecute(previous);
    EXPECT_EQ(g_opened, (std::vector<std::wstring>{L"https://button.example/", L"https://link.example/",
                                                   L"https://link.example/"}));
    EXPECT_TRUE(demo::Hear(m_link.m_hWnd).state & STATE_SYSTEM_TRAVERSED) << "followed";

    // What each change tells a listening screen reader: nothing when nothing changed.
    const HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, &Listen,
                                                 ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const auto setDefault = [&] { m_push.SendMessage(BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE); };
    const auto unvisit = [&] { m_link.MarkVisited(false); };
    // clang-format off
    constexpr DWORD kState = EVENT_OBJECT_STATECHANGE, kName = EVENT_OBJECT_NAMECHANGE, kValue = EVENT_OBJECT_VALUECHANGE;
    const struct { const CWnd& control; std::function<void()> change; std::vector<DWORD> told; } rows[] = {
        {m_check, [&] { demo::DoDefaultAction(m_check.m_hWnd); }, {kState}},  // checked
        {m_check, [&] { ::SetWindowTextW(m_check.m_hWnd, L"Renamed"); }, {kName}},
        {m_check, [&] { ::EnableWindow(m_check.m_hWnd, FALSE); }, {kState}},
        {m_iconOnly, [&] { m_iconOnly.SetTooltip(L"Renamed tip"); }, {kName}},
        {m_push, [&] { MovePointerTo(CentreOf(m_push.m_hWnd)); }, {kState}},  // hot
        {m_push, [&] { MovePointerTo({0, 0}); }, {kState}},
        {m_linked, [&] { m_linked.SetLinkTarget(L"https://other.example/"); }, {kValue}},
        {m_push, setDefault, {kState}},
        {m_push, setDefault, {}},
        {m_link, [&] { m_link.SetTarget(L"https://other.example/"); }, {kValue}},
        {m_link, unvisit, {kState}},
        {m_link, unvisit, {}},
    };
    // clang-format on
    for (const auto& row : rows) {
        g_watched = row.control.m_hWnd;
        g_events.clear();
        row.change();
        PumpUntil([&] { return g_events.size() >= row.told.size(); });  // a leave comes on Wine's timer
        PumpFor(50);
        EXPECT_EQ(g_events, row.told) << "change " << &row - rows;
    }
    ::UnhookWinEvent(hook);
    EXPECT_EQ(m_check.GetCheckState(), 1) << "checked as by a click";
    EXPECT_EQ(demo::Hear(m_check.m_hWnd).action, L"Uncheck");
}

TEST_F(Accessibility, AReferenceKeptPastTheWindowsEndFailsAndLeaksNothing) {
    IAccessible* kept = nullptr;
    ::AccessibleObjectFromWindow(m_push.m_hWnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&kept));
    ASSERT_NE(kept, nullptr);
    m_push.DestroyWindow();
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(kept->get_accName(self, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(kept->accDoDefaultAction(self), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(kept->Release(), 0u) << "the last reference, the object gone with it";
}

bool ReportedOn() { return true; }

// Wine cannot turn high contrast on: the test reports it, sets a palette and tells the top-level window.
TEST_F(Accessibility, InHighContrastBothControlsDrawInTheSystemsColoursOnly) {
    const int elements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HOTLIGHT};
    const COLORREF palette[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 0)};
    COLORREF before[std::size(elements)];
    for (std::size_t i = 0; i < std::size(elements); ++i) before[i] = ::GetSysColor(elements[i]);
    ::SetSysColors(3, elements, palette);
    const COLORREF own[] = {RGB(10, 200, 10), RGB(200, 10, 200), RGB(1, 2, 250), RGB(250, 2, 1), RGB(2, 250, 2)};
    m_push.SetColor(CButtonST::kFaceNormal, own[0]);
    m_push.SetColor(CButtonST::kCaptionNormal, own[1]);
    m_link.SetColors(own[2], own[3], own[4]);
    const auto owned = [&] {  // the pixels of either control in a colour of its own
        DispatchPending();
        const probe::Canvas button(m_push.m_hWnd), link(m_link.m_hWnd);
        int count = 0;
        for (const COLORREF color : own) count += button.Count(color) + link.Count(color);
        return count;
    };
    EXPECT_GT(owned(), 100) << "before";
    const HighContrastSource previous = AfxSetHighContrastSource(&ReportedOn);
    m_host.SendMessage(WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST);
    EXPECT_EQ(owned(), 0);
    EXPECT_GT(probe::Canvas(m_link.m_hWnd).Count(palette[2]), 20) << "the system's hyperlink colour";
    AfxSetHighContrastSource(previous);
    ::SetSysColors(3, elements, before);
}
