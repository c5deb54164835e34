// The hyperlink label in-process: attachment and fitting, its colours read
// from pixels, the target handed to the shell (recorded) and the box for a
// refusal, its cursor, tooltip and the font and cursor it owns.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "afx/handles.h"
#include "afx/shell.h"
#include "control_host.h"
#include "gdi_probe.h"
#include "controls/hyper_link.h"
#include "message_boxes.h"
#include "real_input.h"

namespace {

constexpr int kLinkId = 200;

// Hosts one static control at a time, the one the link is bound to.
class LinkHost : public probe::ControlHost {
public:
    HWND AddStatic(const wchar_t* text, DWORD style, RECT at) { return AddChild(L"STATIC", text, style, at, kLinkId); }
};

// How many pixels of the control show colour, as the control paints itself.
int PixelsOf(HWND control, COLORREF color) {
    RECT client{};
    ::GetClientRect(control, &client);
    const probe::Canvas canvas(client.right, client.bottom);
    ::FillRect(canvas.dc(), &client, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.Count(color);
}

// What the shell was asked: verb, file, show command and whether an owner.
std::vector<std::wstring> g_shellCalls;
INT_PTR g_shellResult = 42;

HINSTANCE WINAPI RecordShell(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                             INT show) {
    g_shellCalls.push_back(std::wstring(verb) + L" " + file + L" " + std::to_wstring(show) + (owner ? L" owned" : L""));
    return reinterpret_cast<HINSTANCE>(g_shellResult);
}

TEST(HyperLink, AttachmentTakesTextOrTargetAndFitsTheWindowToTheText) {
    struct Row {
        const char* name;
        const wchar_t* text;
        const wchar_t* target;
        DWORD style;
        bool fit;
        const wchar_t* shownText;
        const wchar_t* expectedTarget;
    } rows[] = {
        {"left", L"https://a.example/", L"", SS_LEFT, true, L"https://a.example/", L"https://a.example/"},
        {"right", L"Right", L"https://b.example/", SS_RIGHT, true, L"Right", L"https://b.example/"},
        {"centred", L"Centred", L"", SS_CENTER, true, L"Centred", L"Centred"},
        {"centred image", L"Middle", L"", SS_CENTERIMAGE, true, L"Middle", L"Middle"},
        {"empty text shows the target", L"", L"mailto:x@y.example", SS_LEFT, true, L"mailto:x@y.example",
         L"mailto:x@y.example"},
        {"no fitting", L"Stays", L"", SS_LEFT, false, L"Stays", L"Stays"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LinkHost host;
        const RECT before{20, 20, 220, 60};
        HWND hwnd = host.AddStatic(row.text, row.style, before);
        CHyperLink link;
        link.SetTarget(row.target);
        link.SetFitToText(row.fit);
        ASSERT_TRUE(link.SubclassWindow(hwnd));
        EXPECT_EQ(link.GetWindowText(), row.shownText);
        EXPECT_EQ(link.GetTarget(), row.expectedTarget);
        EXPECT_EQ(link.GetTooltipText(), row.expectedTarget) << "the tip names the target";
        LOGFONTW font{};
        ::GetObjectW(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof(font), &font);
        EXPECT_TRUE(font.lfUnderline);

        SIZE text{};
        {
            const std::wstring shown = link.GetWindowText();
            const afx::unique_window_dc dc = afx::GetDC(hwnd);
            const auto selected = afx::SelectObject(dc.get().dc, reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)));
            ::GetTextExtentPoint32W(dc.get().dc, shown.c_str(), static_cast<int>(shown.size()), &text);
        }
        RECT after{};
        ::GetWindowRect(hwnd, &after);
        ::MapWindowPoints(nullptr, host.m_hWnd, reinterpret_cast<POINT*>(&after), 2);
        if (!row.fit) {
            EXPECT_TRUE(::EqualRect(&after, &before));
            continue;
        }
        EXPECT_EQ(after.right - after.left, text.cx);
        EXPECT_EQ(after.bottom - after.top, text.cy);
        // What each alignment keeps: an edge, or a centre (to a pixel).
        const auto keeps = [](bool applies, LONG now, LONG was, const char* what) {
            if (applies) {
                EXPECT_NEAR(now, was, 1) << what;
            }
        };
        keeps(row.style == SS_RIGHT, after.right, before.right, "right edge");
        keeps(row.style == SS_CENTER, after.left + after.right, before.left + before.right, "horizontal centre");
        keeps(row.style == SS_LEFT || row.style == SS_CENTERIMAGE, after.left, before.left, "left edge");
        keeps(row.style == SS_CENTERIMAGE, after.top + after.bottom, before.top + before.bottom, "vertical centre");
        keeps(row.style != SS_CENTERIMAGE, after.top, before.top, "top edge");
    }
    // Made with CreateEx rather than attached: its font comes at the size given.
    LinkHost host;
    CHyperLink made;
    ASSERT_TRUE(made.CreateEx(0, L"STATIC", L"Made", WS_CHILD | WS_VISIBLE, 20, 20, 200, 20, host.m_hWnd));
    made.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
    LOGFONTW given{}, shown{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(given), &given);
    ::GetObjectW(reinterpret_cast<HFONT>(made.SendMessage(WM_GETFONT)), sizeof(shown), &shown);
    EXPECT_EQ(shown.lfHeight, given.lfHeight);
}

TEST(HyperLink, ColoursFollowHoverAndVisitsAndClicksOpenTheTargetOrExplainTheRefusal) {
    LinkHost host;
    CHyperLink link;
    link.SetColors(RGB(0, 0, 238), RGB(85, 26, 139), RGB(200, 0, 0));
    link.SetTarget(L"https://c.example/");
    ASSERT_TRUE(link.SubclassWindow(host.AddStatic(L"A link", SS_LEFT, {20, 20, 220, 60})));

    EXPECT_GT(PixelsOf(link.m_hWnd, RGB(0, 0, 238)), 10) << "the link colour at first";
    MovePointerTo(CentreOf(link.m_hWnd));
    EXPECT_TRUE(link.IsPointerOver());
    EXPECT_EQ(::GetCapture(), link.m_hWnd) << "the capture sees the move that leaves";
    EXPECT_GT(PixelsOf(link.m_hWnd, RGB(200, 0, 0)), 10) << "the hover colour";
    MovePointerTo(CentreOf(host.m_hWnd));
    EXPECT_FALSE(link.IsPointerOver());
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(PixelsOf(link.m_hWnd, RGB(200, 0, 0)), 0);
    // Another window taking the capture (a message box, a menu) ends the
    // hover: nothing would see the pointer leave.
    MovePointerTo(CentreOf(link.m_hWnd));
    ::SetCapture(host.m_hWnd);
    EXPECT_FALSE(link.IsPointerOver()) << "the hover ends with the capture";
    EXPECT_EQ(PixelsOf(link.m_hWnd, RGB(200, 0, 0)), 0);
    ::ReleaseCapture();

    // The shell's answer decides: a success marks the link visited, a
    // refusal clears that, beeps and explains the code.
    const ShellExecuteFunction previous = AfxSetShellExecute(&RecordShell);
    struct Click {
        INT_PTR result;
        bool visited;
        std::vector<std::wstring> boxes;
    } clicks[] = {
        {42, true, {}},
        {SE_ERR_FNF, false, {L"Unable to open hyperlink:\n\nThe specified file was not found."}},
        {SE_ERR_SHARE, false, {L"Unable to open hyperlink:\n\nA sharing violation occurred. "}},
        {4, false, {L"Unable to open hyperlink:\n\nUnknown Error (4) occurred."}},
    };
    for (const Click& click : clicks) {
        g_shellCalls.clear();
        g_shellResult = click.result;
        MessageBoxWatcher boxes;
        // A click of the static control (SS_NOTIFY) reaches the parent as
        // STN_CLICKED and comes back reflected.
        // Each click a double-click time after the one before: two would
        // make a double click, which the static control does not report as a click.
        PumpFor(::GetDoubleClickTime());
        MovePointerTo(CentreOf(link.m_hWnd));
        ClickLeft();
        EXPECT_EQ(g_shellCalls, std::vector<std::wstring>{L"open https://c.example/ 5"}) << click.result;
        EXPECT_EQ(link.IsVisited(), click.visited) << click.result;
        EXPECT_EQ(boxes.Texts(), click.boxes) << click.result;
        MovePointerTo(CentreOf(host.m_hWnd));
        EXPECT_EQ(probe::Canvas(link.m_hWnd).Count(RGB(200, 0, 0)), 0) << "not hovered once left " << click.result;
        ::SetForegroundWindow(host.m_hWnd);  // back from the box: a click on a window in the back only activates it
    }
    AfxSetShellExecute(previous);
    link.MarkVisited(true);
    EXPECT_GT(PixelsOf(link.m_hWnd, RGB(85, 26, 139)), 10) << "the visited colour";

    // Every explanation, and one for codes without their own.
    EXPECT_EQ(CHyperLink::OpenErrorText(0),
              L"Unable to open hyperlink:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(CHyperLink::OpenErrorText(-7), L"Unable to open hyperlink:\n\nUnknown Error (-7) occurred.");
}

TEST(HyperLink, CursorOpensWithoutAWindowAndReleasesItsFontAndCursor) {
    CHyperLink unattached;
    g_shellCalls.clear();
    g_shellResult = 33;
    const ShellExecuteFunction previous = AfxSetShellExecute(&RecordShell);
    EXPECT_EQ(unattached.OpenTarget(L"https://d.example/", SW_SHOWNORMAL), 33);
    AfxSetShellExecute(previous);
    EXPECT_EQ(g_shellCalls.size(), 1u);

    // The pointer over it shows its own cursor; the font and cursor go with it.
    LinkHost host;
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
    {
        CHyperLink link;
        link.SetLinkCursor(static_cast<HCURSOR>(::CopyImage(::LoadCursorW(nullptr, IDC_HAND), IMAGE_CURSOR, 0, 0, 0)));
        ASSERT_TRUE(link.SubclassWindow(host.AddStatic(L"Owned", SS_LEFT, {20, 20, 220, 60})));
        font = reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT));
        cursor = link.GetLinkCursor();
        MovePointerTo(CentreOf(link.m_hWnd));
        EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == cursor; })) << "its own cursor";
    }
    ICONINFO info{};
    EXPECT_EQ(::GetObjectType(font), 0u) << "the link font is gone";
    EXPECT_FALSE(::GetIconInfo(cursor, &info)) << "the link cursor is gone";
}

}  // namespace
