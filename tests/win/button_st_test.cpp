// The owner-drawn button in-process: its drawing read back from pixels, its
// behaviour driven by real pointer and key input through the framework's
// message handling, and its ownership of every handle and window it is
// given or makes, counted through the handles themselves.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "afx/handles.h"
#include "afx/shell.h"
#include "control_host.h"
#include "controls/button_st.h"
#include "gdi_probe.h"
#include "real_input.h"

namespace {

using probe::IconAlive;
using probe::MakeIcon;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 160, 0), kMagenta = RGB(255, 0, 255);
constexpr COLORREF kCustomFace = RGB(10, 20, 30);
constexpr UINT kMenuCallback = WM_APP + 1;
constexpr UINT kMenuItem = 77;

HBITMAP MakeHalfBitmap(COLORREF color, int size = 16) { return probe::MakeHalfBitmap(kMagenta, color, size); }

// Hosts buttons and records the clicks, menu commands and callbacks it gets.
class ButtonHost : public probe::ControlHost {
public:
    void Add(CButtonST& button, const wchar_t* caption, DWORD style, int id = 100, RECT at = {10, 10, 90, 50}) {
        ASSERT_TRUE(button.SubclassWindow(AddChild(L"BUTTON", caption, WS_TABSTOP | style, at, id)));
    }
    const AFX_MSGMAP* GetMessageMap() const override {
        // clang-format off
        static constexpr AFX_MSGMAP_ENTRY entries[] = {
            afx::OnCommand<kMenuItem, &ButtonHost::OnMenuItem>(),
            afx::OnMessage<kMenuCallback, &ButtonHost::OnMenuCallback>(),
        };
        // clang-format on
        static constexpr AFX_MSGMAP map{&CWnd::GetThisMessageMap, entries};
        return &map;
    }
    bool OnCmdMsg(UINT id, UINT code) override {
        if (code == BN_CLICKED && id != kMenuItem) ++m_clicks;  // a menu command's code is 0 too
        return probe::ControlHost::OnCmdMsg(id, code);
    }
    // When the popup menu's item was chosen.
    void OnMenuItem() { ++m_menuCommands; }
    // When the button is about to open its popup menu.
    LRESULT OnMenuCallback(WPARAM submenu, LPARAM value) {
        m_callbacks.push_back({reinterpret_cast<HMENU>(submenu), value});
        return 0;
    }

    int m_clicks = 0;
    int m_menuCommands = 0;
    std::vector<std::pair<HMENU, LPARAM>> m_callbacks;
};

// The pointer over a button, through the input queue.
void PointAt(const CButtonST& button) { MovePointerTo(CentreOf(button.m_hWnd)); }

// The button drawn into an 80 x 40 memory bitmap with the given item state.
struct Drawing : probe::Canvas {
    static constexpr int kWidth = 80, kHeight = 40;

    Drawing(CButtonST& button, UINT state) : Canvas(kWidth, kHeight) {
        DRAWITEMSTRUCT item{ODT_BUTTON, 100, 0, ODA_DRAWENTIRE, state, button.m_hWnd, dc(), {0, 0, kWidth, kHeight}, 0};
        button.DrawItem(&item);
    }
    // The box of the caption's pixels: darker than the face, not the image.
    RECT TextBox(COLORREF face) const {
        const int faceSum = GetRValue(face) + GetGValue(face) + GetBValue(face);
        return Box(
            [&](COLORREF c) { return c != kRed && faceSum - (GetRValue(c) + GetGValue(c) + GetBValue(c)) >= 150; });
    }
    // Pixels of row y (from x0 to x1) that differ from colour.
    int Differing(int y, int x0, int x1, COLORREF color) const {
        int count = 0;
        for (int x = x0; x <= x1; ++x) count += At(x, y) != color;
        return count;
    }
};

enum class Sys { Face, Highlight, Light, Shadow, DarkShadow, Black, Red, Green, Custom };

COLORREF ColorOf(Sys sys) {
    constexpr int kSystem[] = {COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW};
    constexpr COLORREF kFixed[] = {RGB(0, 0, 0), kRed, kGreen, kCustomFace};
    const auto at = static_cast<std::size_t>(sys);
    return at < std::size(kSystem) ? ::GetSysColor(kSystem[at]) : kFixed[at - std::size(kSystem)];
}

struct Probe {
    int x, y;
    Sys color;
};

enum class Image { None, Icon, Bitmap };

struct DrawRow {
    const char* name;
    bool flat;
    DWORD style;  // BS_ type of the control
    UINT state;   // ODS_ bits of the draw
    Image image;
    std::uint8_t align;
    const wchar_t* caption;
    std::vector<Probe> probes;
    int focusInset = 0;                // where a focus rectangle must be (0: none anywhere)
    std::optional<RECT> textWithin{};  // the caption's pixels lie inside
    bool hover = false, flatFocus = false, customFace = false, engraved = false;
};

TEST(ButtonST, DrawsFramesFacesImagesCaptionsAndFocusForEachStyleAndState) {
    constexpr int W = Drawing::kWidth;
    // clang-format off
    const DrawRow rows[] = {
        {"standard", false, BS_PUSHBUTTON, 0, Image::None, 0, L"",
         {{0, 0, Sys::Highlight}, {1, 1, Sys::Light}, {-1, -1, Sys::DarkShadow}, {-2, -2, Sys::Shadow},
          {40, 20, Sys::Face}}},
        {"standard focused", false, BS_PUSHBUTTON, ODS_FOCUS, Image::None, 0, L"",
         {{0, 0, Sys::Black}, {-1, -1, Sys::Black}, {1, 1, Sys::Highlight}, {-2, -2, Sys::DarkShadow}}, 4},
        {"standard focused, keyboard not used yet", false, BS_PUSHBUTTON, ODS_FOCUS | ODS_NOFOCUSRECT | ODS_NOACCEL,
         Image::None, 0, L"", {{0, 0, Sys::Black}}},
        {"standard pressed", false, BS_PUSHBUTTON, ODS_SELECTED, Image::None, 0, L"",
         {{0, 0, Sys::Shadow}, {-1, -1, Sys::Shadow}, {1, 1, Sys::Face}}},
        {"standard default", false, BS_DEFPUSHBUTTON, 0, Image::None, 0, L"",
         {{0, 0, Sys::Black}, {1, 1, Sys::Highlight}}},
        {"flat", true, BS_PUSHBUTTON, 0, Image::None, 0, L"", {{0, 0, Sys::Face}, {-1, -1, Sys::Face}}},
        {"flat hovered", true, BS_PUSHBUTTON, 0, Image::None, 0, L"", {{0, 0, Sys::Highlight}, {-1, -1, Sys::Shadow}},
         0, {}, true},
        {"flat pressed", true, BS_PUSHBUTTON, ODS_SELECTED, Image::None, 0, L"",
         {{0, 0, Sys::Shadow}, {-1, -1, Sys::Highlight}}},
        {"flat focused, focus drawn", true, BS_PUSHBUTTON, ODS_FOCUS, Image::None, 0, L"", {{0, 0, Sys::Face}}, 3,
         {}, false, true},
        {"flat focused, no focus", true, BS_PUSHBUTTON, ODS_FOCUS, Image::None, 0, L"", {{0, 0, Sys::Face}}},
        {"icon only, left", true, BS_PUSHBUTTON, 0, Image::Icon, 0, L"",
         {{32, 12, Sys::Red}, {47, 27, Sys::Red}, {31, 12, Sys::Face}, {48, 28, Sys::Face}}},
        {"icon only, above", true, BS_PUSHBUTTON, 0, Image::Icon, 1, L"", {{32, 12, Sys::Red}, {31, 11, Sys::Face}}},
        {"icon only, right: top edge", true, BS_PUSHBUTTON, 0, Image::Icon, 2, L"",
         {{32, 0, Sys::Red}, {32, 15, Sys::Red}, {32, 16, Sys::Face}}},
        {"icon left of caption", true, BS_PUSHBUTTON, 0, Image::Icon, 0, L"Go",
         {{3, 12, Sys::Red}, {2, 12, Sys::Face}}, 0, RECT{22, 0, W, 40}},
        {"icon above caption", true, BS_PUSHBUTTON, 0, Image::Icon, 1, L"Go",
         {{32, 3, Sys::Red}, {32, 2, Sys::Face}}, 0, RECT{0, 19, W, 40}},
        {"icon right of caption", true, BS_PUSHBUTTON, 0, Image::Icon, 2, L"Go",
         {{61, 12, Sys::Red}, {60, 12, Sys::Face}}, 0, RECT{0, 0, 60, 40}},
        {"pressed: content moves", false, BS_PUSHBUTTON, ODS_SELECTED, Image::Icon, 0, L"Go",
         {{4, 13, Sys::Red}, {3, 13, Sys::Face}}},
        {"checkbox pressed: nothing moves", false, BS_AUTOCHECKBOX, ODS_SELECTED, Image::Icon, 0, L"Go",
         {{3, 12, Sys::Red}}},
        {"bitmap with its mask", true, BS_PUSHBUTTON, 0, Image::Bitmap, 0, L"",
         {{40, 20, Sys::Green}, {33, 20, Sys::Face}}},
        {"disabled caption engraved", true, BS_PUSHBUTTON, ODS_DISABLED, Image::None, 0, L"Off", {}, 0, {}, false,
         false, false, true},
        {"custom face colour", true, BS_PUSHBUTTON, 0, Image::None, 0, L"", {{40, 20, Sys::Custom}}, 0, {}, false,
         false, true},
    };
    // clang-format on
    for (const DrawRow& row : rows) {
        SCOPED_TRACE(row.name);
        ButtonHost host;
        CButtonST button;
        host.Add(button, row.caption, row.style);
        button.SetFlatStyle(row.flat, false);
        button.SetAlign(row.align, false);
        button.SetDrawFlatFocus(row.flatFocus, false);
        if (row.customFace) button.SetColor(CButtonST::kFaceNormal, kCustomFace, false);
        if (row.image == Image::Icon) {
            ASSERT_EQ(button.SetIcons(MakeIcon(kRed), nullptr), 0u);
        } else if (row.image == Image::Bitmap) {
            ASSERT_EQ(button.SetBitmaps(MakeHalfBitmap(kGreen), kMagenta), 0u);
        }
        if (row.hover) {
            PointAt(button);
            ASSERT_TRUE(PumpUntil([&] { return button.IsHovering(); }));
        }
        const Drawing drawing(button, row.state);
        for (const Probe& probe : row.probes)
            EXPECT_EQ(drawing.At(probe.x, probe.y), ColorOf(probe.color)) << "at " << probe.x << "," << probe.y;
        const COLORREF face = ColorOf(Sys::Face);
        if (row.focusInset != 0) {
            const int in = row.focusInset;
            EXPECT_GT(drawing.Differing(in, in, W - 1 - in, face), 10) << "focus rectangle's top edge";
            EXPECT_EQ(drawing.Differing(in + 1, in + 1, W - 2 - in, face), 0) << "nothing just inside it";
        } else if (row.caption[0] == L'\0' && row.image == Image::None && !row.customFace) {
            EXPECT_EQ(drawing.Differing(3, 3, W - 4, face) + drawing.Differing(4, 4, W - 5, face), 0) << "no focus";
        }
        if (row.textWithin) {
            const RECT box = drawing.TextBox(face), within = *row.textWithin;
            EXPECT_LE(box.left, box.right) << "a caption was drawn";
            EXPECT_GE(box.left, within.left);
            EXPECT_GE(box.top, within.top);
            EXPECT_LT(box.right, within.right);
        }
        if (row.engraved) {
            EXPECT_GT(drawing.Count(ColorOf(Sys::Highlight)), 5);
            EXPECT_GT(drawing.Count(ColorOf(Sys::Shadow)), 5);
        }
    }
    // Recorded into a metafile, which GDI cannot read back, a see-through face shows nothing of the draw before.
    ButtonHost host;
    CButtonST red, clear;
    host.Add(red, L"", BS_PUSHBUTTON);
    host.Add(clear, L"", BS_PUSHBUTTON, 101, {100, 10, 140, 30});  // its face covers a quarter of the item
    red.SetColor(CButtonST::kFaceNormal, kRed, false);
    clear.SetDrawTransparent(true, false);
    const Drawing before(red, 0);
    const HDC recorder = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
    DRAWITEMSTRUCT item{ODT_BUTTON, 101, 0, ODA_DRAWENTIRE, 0, clear.m_hWnd, recorder, {0, 0, W, Drawing::kHeight}, 0};
    clear.DrawItem(&item);
    const HENHMETAFILE recorded = ::CloseEnhMetaFile(recorder);
    probe::Canvas played(W, Drawing::kHeight);
    ::PlayEnhMetaFile(played.dc(), recorded, &item.rcItem);
    ::DeleteEnhMetaFile(recorded);
    EXPECT_EQ(played.Count(kRed), 0);
}

// Where only double precision gives the level, fractions or the x87 unit are one off.
TEST(ButtonSTColors, DerivedIconsAndColoursAreTheDoublePrecisionOnesOnEitherArchitecture) {
    const struct {
        COLORREF source, gray, darker;
    } icons[] = {
        {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
        {RGB(255, 255, 255), RGB(255, 255, 255), RGB(191, 191, 191)},
        {RGB(128, 128, 128), RGB(127, 127, 127), RGB(96, 96, 96)},
        {RGB(1, 1, 1), RGB(0, 0, 0), RGB(0, 0, 0)},
        {RGB(255, 0, 0), RGB(76, 76, 76), RGB(191, 0, 0)},
        {RGB(0, 72, 24), RGB(44, 44, 44), RGB(0, 54, 18)},  // grey 45 exactly, 44.999999999999993 in doubles
        {RGB(10, 10, 10), RGB(10, 10, 10), RGB(7, 7, 7)},
        {RGB(0, 10, 45), RGB(11, 11, 11), RGB(0, 7, 33)},
    };
    for (const auto& row : icons) {
        const afx::unique_hicon source(MakeIcon(row.source, 4));
        for (const auto& [made, expected] :
             {std::pair{afx::unique_hicon(CButtonST::CreateGrayscaleIcon(source.get())), row.gray},
              std::pair{afx::unique_hicon(CButtonST::CreateDarkerIcon(source.get())), row.darker}}) {
            ASSERT_TRUE(made);
            const probe::Canvas canvas(4, 4);
            ::DrawIconEx(canvas.dc(), 0, 0, made.get(), 4, 4, 0, nullptr, DI_IMAGE);
            EXPECT_EQ(canvas.At(1, 1), expected) << std::hex << row.source;
        }
    }
    EXPECT_EQ(CButtonST::CreateGrayscaleIcon(nullptr), nullptr);
    const struct {
        COLORREF color;
        double factor;
        COLORREF darker;
    } darkenings[] = {
        {RGB(10, 5, 30), 0.1, RGB(9, 4, 27)},  // 10 x 0.1 is 1 in doubles, a little more exactly
        {RGB(10, 15, 250), 0.2, RGB(8, 12, 200)},
        {RGB(10, 60, 255), 0.9, RGB(1, 6, 25)},
        {RGB(200, 100, 50), 1.0, RGB(0, 0, 0)},
        {RGB(200, 100, 50), 1.5, RGB(200, 100, 50)},  // factors out of range
        {RGB(200, 100, 50), std::nan(""), RGB(200, 100, 50)},
    };
    for (const auto& row : darkenings)
        EXPECT_EQ(CButtonST::DarkenColor(row.color, row.factor), row.darker) << std::hex << row.color;
}

// A flat, a standard default, a checkbox and a plain button in a row, in
// that tab order.
class ButtonBehaviour : public testing::Test {
protected:
    void SetUp() override {
        m_host.Add(m_flat, L"Flat", BS_PUSHBUTTON, 101, {10, 10, 70, 50});
        m_host.Add(m_standard, L"Standard", BS_DEFPUSHBUTTON, 102, {80, 10, 140, 50});
        m_host.Add(m_check, L"Check", BS_AUTOCHECKBOX, 103, {150, 10, 210, 50});
        m_host.Add(m_other, L"Other", BS_PUSHBUTTON, 104, {220, 10, 280, 50});
        m_standard.SetFlatStyle(false, false);
    }
    ButtonHost m_host;
    CButtonST m_flat, m_standard, m_check, m_other;
};

TEST_F(ButtonBehaviour, HoverLightsAFlatButtonUnderThePointerOnlyAndEveryWayOfLeavingEndsIt) {
    PointAt(m_standard);
    EXPECT_FALSE(m_standard.IsHovering()) << "a standard button";
    PointAt(m_flat);
    EXPECT_TRUE(m_flat.IsHovering());
    MovePointerTo(CentreOf(m_host.m_hWnd));
    EXPECT_TRUE(PumpUntil([&] { return !m_flat.IsHovering(); })) << "the leave notification";
    demo::SendLeftButton(true);
    PointAt(m_flat);
    EXPECT_FALSE(m_flat.IsHovering()) << "a drag that began elsewhere";
    demo::SendLeftButton(false);
    PumpFor(50);
    // clang-format off
    for (const auto& [message, wParam] : {std::pair{UINT{WM_KILLFOCUS}, WPARAM{0}}, {WM_CANCELMODE, 0},
                                          {WM_ACTIVATE, WA_INACTIVE}, {WM_MOUSELEAVE, 0}}) {
        // clang-format on
        m_flat.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));  // the pointer is over it
        ASSERT_TRUE(m_flat.IsHovering());
        ::ValidateRect(m_flat.m_hWnd, nullptr);
        m_flat.SendMessage(message, wParam);
        EXPECT_FALSE(m_flat.IsHovering()) << message;
        EXPECT_TRUE(::GetUpdateRect(m_flat.m_hWnd, nullptr, FALSE)) << "repainted on leaving, " << message;
    }
}

TEST_F(ButtonBehaviour, ACheckboxButtonTogglesByClickAndSpaceAndFollowsTheCheckMessages) {
    PointAt(m_check);
    ClickLeft();
    EXPECT_EQ(m_check.SendMessage(BM_GETCHECK), 1);
    PressKey(VK_SPACE);  // the click gave it the focus
    EXPECT_EQ(m_check.GetCheckState(), 0) << "the space bar clicks too";
    for (const auto& [sent, state] : {std::pair{1, 1}, {2, 1}, {0, 0}, {5, 0}}) {
        m_check.SendMessage(BM_SETCHECK, sent);
        EXPECT_EQ(m_check.GetCheckState(), state) << sent;
    }
    m_other.SetCheckState(1);
    EXPECT_EQ(m_other.GetCheckState(), 0) << "outside checkbox mode";
}

TEST_F(ButtonBehaviour, ATooltipKeepsOneToolWithTheNewestTextAndShowsWhileThePointerRestsAnywhereOnIt) {
    m_flat.SetTooltip(nullptr);
    EXPECT_EQ(m_flat.GetTooltipText(), L"");
    m_flat.SetTooltip(L"first");
    m_flat.SetTooltip(L"second");
    EXPECT_EQ(probe::CountThreadWindows(TOOLTIPS_CLASSW), 1);
    EXPECT_EQ(m_flat.GetTooltipText(), L"second");
    // Grown, the button is covered by its tip all over; its messages reach the tip only through PreTranslateMessage.
    ::SetWindowPos(m_flat.m_hWnd, nullptr, 0, 0, 60, 140, SWP_NOMOVE | SWP_NOZORDER);
    POINT low{30, 120};
    ::ClientToScreen(m_flat.m_hWnd, &low);
    MovePointerTo(low);
    const auto shown = [] { return ::IsWindowVisible(::FindWindowW(TOOLTIPS_CLASSW, nullptr)); };
    EXPECT_TRUE(PumpUntil(shown, 5000)) << "the tip shows";
}

std::vector<std::wstring> g_opened;
BOOL WINAPI RecordShell(SHELLEXECUTEINFOW* info) {
    g_opened.push_back(std::wstring(info->lpVerb) + L" " + info->lpFile + L" " + std::to_wstring(info->nShow) + L" " +
                       std::to_wstring(info->fMask));
    return TRUE;
}

TEST_F(ButtonBehaviour, AClickOpensTheMenuOrElseTheLinkAndTheParentSeesTheClickToo) {
    g_opened.clear();
    const ShellExecuteExFunction previous = AfxSetShellExecuteEx(&RecordShell);
    HMENU menu = ::CreateMenu(), submenu = ::CreatePopupMenu();
    ::AppendMenuW(submenu, MF_STRING, kMenuItem, L"Item");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), L"Popup");
    m_other.SetMenu(menu, m_host.m_hWnd, false);
    m_other.SetMenuCallback(m_host.m_hWnd, kMenuCallback, 9);
    m_other.SetLinkTarget(L"https://example.invalid/");
    PointAt(m_other);
    demo::SendLeftClick();  // the keys, queued behind the click, reach the menu's own loop
    demo::SendKey(VK_DOWN);
    demo::SendKey(VK_RETURN);
    PumpUntil([&] { return m_host.m_menuCommands > 0; });
    EXPECT_EQ(m_host.m_callbacks, (std::vector<std::pair<HMENU, LPARAM>>{{submenu, 9}})) << "told before it opens";
    EXPECT_EQ(m_host.m_menuCommands, 1);
    EXPECT_TRUE(g_opened.empty()) << "the menu wins over the link";

    m_other.SetMenu(static_cast<HMENU>(nullptr), nullptr, false);
    ClickLeft();
    m_check.SetLinkTarget(L"https://example.invalid/check");
    PointAt(m_check);
    ClickLeft();
    EXPECT_EQ(g_opened, std::vector<std::wstring>{L"open https://example.invalid/ 3 1024"}) << "not in checkbox mode";
    EXPECT_EQ(m_host.m_clicks, 3);
    AfxSetShellExecuteEx(previous);
    m_other.SetLinkTarget(std::wstring(300, L'x').c_str());
    EXPECT_EQ(std::wstring(m_other.GetLinkTarget()).size(), 259u) << "a long target is cut";
}

TEST_F(ButtonBehaviour, ADoubleClickIsTwoClicksAndItsOwnCursorShowsOverIt) {
    HCURSOR cursor = static_cast<HCURSOR>(::CopyImage(::LoadCursorW(nullptr, IDC_HAND), IMAGE_CURSOR, 0, 0, 0));
    m_other.SetBtnCursor(cursor);
    PointAt(m_other);
    EXPECT_TRUE(PumpUntil([&] { return ::GetCursor() == cursor; })) << "its own cursor";
    demo::SendLeftClick();
    demo::SendLeftClick();
    EXPECT_TRUE(PumpUntil([&] { return m_host.m_clicks == 2; }));
}

TEST_F(ButtonBehaviour, TheDefaultLookFollowsTheDialogManagerAndDisablingMovesTheFocusOn) {
    EXPECT_TRUE(m_standard.IsDefault());
    EXPECT_TRUE(m_standard.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    m_standard.SendMessage(BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_FALSE(m_standard.IsDefault());
    EXPECT_TRUE(m_standard.SendMessage(WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(m_standard.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    ::SetFocus(m_other.m_hWnd);
    ::EnableWindow(m_standard.m_hWnd, FALSE);
    EXPECT_EQ(::GetFocus(), m_check.m_hWnd) << "to the next tab stop, even from elsewhere";
}

TEST_F(ButtonBehaviour, AChangeOfSystemColoursShowsOnACustomColouredButton) {
    m_flat.SetColor(CButtonST::kFaceNormal, kRed, false);
    const int element = COLOR_BTNFACE;
    const COLORREF before = ::GetSysColor(element), changed = RGB(210, 180, 120);
    ASSERT_TRUE(::SetSysColors(1, &element, &changed));
    m_host.SendMessage(WM_SYSCOLORCHANGE);  // as the system does: to the top-level window
    const COLORREF shown = Drawing(m_flat, 0).At(2, 2);
    ::SetSysColors(1, &element, &before);
    EXPECT_EQ(shown, changed);
}

// Where the window's theme is switched off, the system's look is the classic one, pixel for pixel.
TEST_F(ButtonBehaviour, AThemedButtonWhoseWindowHasNoThemeDrawsTheClassicLook) {
    const Drawing classic(m_standard, ODS_FOCUS);
    const RECT all{0, 0, Drawing::kWidth, Drawing::kHeight};
    m_standard.SetThemedLook(true);
    EXPECT_NE(Drawing(m_standard, ODS_FOCUS).FirstDifference(classic, all).x, -1) << "themed while it has one";
    ::SetWindowTheme(m_standard.m_hWnd, L" ", L" ");  // matches no theme's class
    EXPECT_EQ(Drawing(m_standard, ODS_FOCUS).FirstDifference(classic, all).x, -1);
}

// The images, cursor and menu a button holds now.
struct Held {
    std::vector<HICON> icons;  // icons and the cursor
    std::vector<HGDIOBJ> bitmaps;
    HMENU menu = nullptr;
};

Held HeldBy(const CButtonST& button) {
    return {{button.GetIcon(0), button.GetIcon(1), button.GetBtnCursor()},
            {button.GetBitmap(0), button.GetMask(0), button.GetBitmap(1), button.GetMask(1)},
            button.GetMenu()};
}

// How many of the handles held before are still alive without being held
// now. Checked at once after each change: a freed handle's value can come
// back for a later object, so only an immediate look is certain.
int Leaked(const Held& before, const Held& now) {
    int count = 0;
    for (HICON icon : before.icons)
        count += icon != nullptr && std::find(now.icons.begin(), now.icons.end(), icon) == now.icons.end() &&
                 IconAlive(icon);
    for (HGDIOBJ bitmap : before.bitmaps)
        count += bitmap != nullptr && std::find(now.bitmaps.begin(), now.bitmaps.end(), bitmap) == now.bitmaps.end() &&
                 ::GetObjectType(bitmap) != 0;
    count += before.menu != nullptr && before.menu != now.menu && ::IsMenu(before.menu);
    return count;
}

HCURSOR CopyHandCursor() {
    return static_cast<HCURSOR>(::CopyImage(::LoadCursorW(nullptr, IDC_HAND), IMAGE_CURSOR, 0, 0, 0));
}

TEST(ButtonST, ReplacingOrDestroyingReleasesWhatItHeldTheBackgroundCacheAndTooltipIncluded) {
    ButtonHost host;
    ::UpdateWindow(host.m_hWnd);
    int leaked = 0;
    const auto change = [&](CButtonST& button, auto&& set) {
        const Held before = HeldBy(button);
        set();
        leaked += Leaked(before, HeldBy(button));
    };
    // Icons (given, derived), bitmaps, cursors and menus replaced; at the end a tooltip and the
    // transparent face's cache too; the window goes first or with the object.
    const auto cycle = [&](int variant) {
        Held held;
        {
            CButtonST button;
            host.Add(button, L"Cycle", BS_PUSHBUTTON);
            HICON normal = variant % 2 ? MakeIcon(kGreen, 4) : reinterpret_cast<HICON>(-2);
            change(button, [&] { button.SetIcons(MakeIcon(kRed, 4), normal); });
            change(button,
                   [&] { button.SetBitmaps(MakeHalfBitmap(kGreen, 4), kMagenta, MakeHalfBitmap(kRed, 4), kMagenta); });
            if (variant < 2) change(button, [&] { button.SetIcons(MakeIcon(kRed, 4), reinterpret_cast<HICON>(-3)); });
            for (int again = 0; again < 2; ++again) {
                change(button, [&] { button.SetBtnCursor(CopyHandCursor()); });
                change(button, [&] { button.SetMenu(::CreateMenu(), host.m_hWnd, false); });
            }
            button.SetTooltip(L"tip");
            button.SetDrawTransparent(true, true);
            ::UpdateWindow(button.m_hWnd);  // makes the background cache
            held = HeldBy(button);
            if (variant / 2 == 1) button.DestroyWindow();
        }
        leaked += Leaked(held, {});
    };
    cycle(0);  // the system's own first-use objects (fonts, caches) are not the button's
    const long freeBefore = probe::FreeGdiSlots();
    for (int variant = 0; variant < 4; ++variant) cycle(variant);
    EXPECT_EQ(leaked, 0) << "images, cursors and menus";
    EXPECT_EQ(probe::FreeGdiSlots(), freeBefore) << "GDI objects: bitmaps, masks, the cache's bitmap and DC";
    EXPECT_EQ(probe::CountThreadWindows(TOOLTIPS_CLASSW), 0) << "tooltip windows";

    // A failed SetIcons keeps nothing, the readable icon included.
    CButtonST button;
    host.Add(button, L"Failed", BS_PUSHBUTTON);
    HICON hot = MakeIcon(kRed), dead = MakeIcon(kGreen);
    ::DestroyIcon(dead);
    EXPECT_EQ(button.SetIcons(hot, dead), 1u);
    EXPECT_EQ(button.GetIcon(0), nullptr);
    EXPECT_FALSE(IconAlive(hot));
}

}  // namespace
