// The programs that show the controls, driven as a person drives them: the
// pointer and keys go through the system's input queue (SendInput) into the
// program's own message loop, a change of system colours reaches its
// top-level window as the system sends it, and what the controls show is
// read off the screen. The gallery, and the example program built against
// the installed package (tests/package builds it first).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "afx/dpi.h"
#include "afx/handles.h"
#include "child_process.h"
#include "examples/hello_controls/resource.h"
#include "gallery/gallery_resource.h"
#include "paths.h"
#include "picture_file.h"
#include "process_windows.h"
#include "screen_reader.h"
#include "user_input.h"
#include "waiting.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kGalleryCaption[] = L"Vornix Controls Gallery";
constexpr COLORREF kLinkColor = RGB(0, 0, 238);

// Moves the pointer and waits until the system has it there.
void MoveTo(POINT at) {
    demo::SendPointerTo(at);
    demo::WaitFor(2s, [at] { return demo::PointerIsAt(at); });
    demo::Settle(100ms);
}

void ClickAt(POINT at) {
    MoveTo(at);
    demo::SendLeftClick();
}

// What the screen shows inside a window, as the user sees it.
std::unique_ptr<demo::Picture> Shown(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return demo::ScreenPicture(frame);
}

// A program that shows the controls, started, with its dialog found and
// in front; asked to close when the test ends.
class ControlsProgram : public testing::Test {
protected:
    void Start(const std::wstring& path, const wchar_t* caption) {
        m_process = demo::ChildProcess::Start(L"\"" + path + L"\"");
        ASSERT_TRUE(m_process) << "the program did not start";
        m_dialog = demo::WaitFor(demo::kWindowTimeout, [&]() -> HWND {
            for (HWND window : demo::VisibleTopLevelWindowsOf(m_process->id()))
                if (demo::TextOf(window) == caption) return window;
            return nullptr;
        });
        ASSERT_NE(m_dialog, nullptr) << "its dialog did not appear";
        // As a person does: a click on it brings it to the front (Wine gives
        // the first click on a window in the back to activation). On its
        // bare client area: a click on the caption would start a move.
        POINT corner{2, 2};
        ::ClientToScreen(m_dialog, &corner);
        ClickAt(corner);
        ASSERT_TRUE(demo::WaitFor(2s, [&] { return ::GetForegroundWindow() == m_dialog; })) << "it came to the front";
    }
    void TearDown() override { Stop(); }
    void Stop() {
        if (m_process) ::PostMessageW(m_dialog, WM_COMMAND, IDCANCEL, 0);
        if (m_process && !m_process->WaitForExit(demo::kExitTimeout)) ADD_FAILURE() << "the program did not end";
        m_process.reset();
    }

    HWND Control(int id) const { return ::GetDlgItem(m_dialog, id); }

    std::optional<demo::ChildProcess> m_process;
    HWND m_dialog = nullptr;
};

TEST_F(ControlsProgram, TheExampleBuiltFromThePackageShowsItsDialogAndCountsAClick) {
    const wchar_t* built = _wgetenv(L"VORNIX_EXAMPLE_EXE");
    ASSERT_NE(built, nullptr) << "ctest names the example it built";
    Start(demo::WindowsFullPath(built), L"Hello Controls");
    ClickAt(demo::CentreOf(Control(IDC_HELLO_BUTTON)));
    EXPECT_TRUE(demo::WaitFor(demo::kWindowTimeout,
                              [&] { return demo::TextOf(Control(IDC_HELLO_STATUS)) == L"Clicked 1 time."; }));
    EXPECT_EQ(demo::TextOf(Control(IDC_HELLO_LINK)), L"https://www.velkor.com/");
}

class GalleryTest : public ControlsProgram {
protected:
    void SetUp() override {
        Start(demo::GalleryPath(), kGalleryCaption);
        Rest();
    }
    // The pointer on the status line, where nothing reacts to it.
    void Rest() const {
        MoveTo(demo::CentreOf(Control(IDC_GALLERY_STATUS)));
        demo::Settle();
    }
};

TEST_F(GalleryTest, AFlatButtonWhoseMenuHasClosedIsNoLongerHotOnceThePointerLeaves) {
    const HWND menuButton = Control(IDC_BUTTON_MENU);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ClickAt(demo::CentreOf(menuButton));
    ASSERT_NE(demo::WaitFor(demo::kWindowTimeout, [&] { return demo::FindOpenMenu(m_process->id()); }), nullptr);
    // (Under Wine the pointer does not move while the menu holds it.)
    demo::SendKey(VK_ESCAPE);
    ASSERT_TRUE(demo::WaitFor(demo::kWindowTimeout, [&] { return demo::FindOpenMenu(m_process->id()) == nullptr; }));
    Rest();
    // The flat button's hover frame is the highlight at its top-left corner.
    EXPECT_TRUE(demo::WaitFor(2s, [&] { return Shown(menuButton)->PixelAt(0, 0) == face; }))
        << "drawn without the hover frame";
}

// The owner-drawn button in the system's look beside the system's own button of its size and caption,
// each in a state in turn (pressed: held down by the pointer), and the flat one at rest and hot.
TEST_F(GalleryTest, InTheSystemsLookTheButtonLooksAsTheSystemsOwnAndTheFlatOneAsAToolbarButton) {
    const HWND themed = Control(IDC_THEMED_STANDARD), system = Control(IDC_SYSTEM_BUTTON);
    const auto changed = [&](HWND button, const auto& from) {  // a state's look, once it shows
        return demo::WaitFor(1s, [&] { return Shown(button)->Differing(*from) > 0; });
    };
    const auto seen = [&](HWND button, bool over, bool held) {
        if (over) {  // moved on over it as a person would, should Wine's button miss the first move
            const auto atRest = Shown(button);
            const POINT centre = demo::CentreOf(button);
            for (LONG nudge = 0; nudge < 3; ++nudge) {
                MoveTo({centre.x + nudge, centre.y});
                if (changed(button, atRest)) break;
            }
        }
        if (held) {
            const auto hot = Shown(button);
            demo::SendLeftButton(true);
            changed(button, hot);
        }
        demo::Settle();
        auto picture = Shown(button);
        if (held) demo::SendLeftButton(false);
        Rest();
        return picture;
    };
    const auto dark = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 200; };
    for (const auto& [state, over, held, share] :
         {std::tuple{"at rest", false, false, 0.005}, {"hot", true, false, 0.005}, {"pressed", true, true, 0.01}}) {
        const auto mine = seen(themed, over, held), theirs = seen(system, over, held);
        EXPECT_LE(mine->Differing(*theirs), share * mine->width() * mine->height()) << state;
        const RECT a = mine->Box(dark), b = theirs->Box(dark);
        EXPECT_TRUE(std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.right - b.right) <= 1)
            << state << ": the caption's ink where the system's is";
    }
    for (const HWND button : {themed, system}) ::EnableWindow(button, FALSE);
    demo::Settle();
    const auto off = Shown(themed);
    EXPECT_LE(off->Differing(*Shown(system)), 0.005 * off->width() * off->height()) << "disabled";

    const HWND flat = Control(IDC_THEMED_FLAT);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    const auto rest = seen(flat, false, false), hot = seen(flat, true, false);
    EXPECT_EQ(rest->PixelAt(0, 0), face) << "at rest only what lies behind it";
    EXPECT_EQ(rest->PixelAt(rest->width() - 1, rest->height() - 1), face);
    EXPECT_NE(hot->PixelAt(0, 0), face) << "hot, the toolbar button's frame";
}

// A screen reader in another process, and the keyboard alone: Tab reaches the
// web link, which shows its focus rectangle and opens with Enter.
TEST_F(GalleryTest, AScreenReaderHearsTheControlsAndTheKeyboardAloneReachesAndOpensTheWebLink) {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const HWND link = Control(IDC_LINK_WEB), check = Control(IDC_BUTTON_CHECKBOX);
    // Each kind of control's answers are the in-process tests' business; here, that they cross processes.
    const demo::Heard heardLink = demo::Hear(link);
    EXPECT_EQ(heardLink.role, ROLE_SYSTEM_LINK);
    EXPECT_EQ(heardLink.value, L"https://www.velkor.com/");
    PostMessageW(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(demo::WaitFor(2s, [&] { return demo::Hear(check).state & STATE_SYSTEM_CHECKED; }));
    ::CoUninitialize();

    for (int presses = 0; presses < 40 && demo::FocusOfThreadOf(m_dialog) != link; ++presses) {
        demo::SendKey(VK_TAB);
        demo::Settle(50ms);
    }
    ASSERT_EQ(demo::FocusOfThreadOf(m_dialog), link) << "reached by Tab";
    demo::Settle();
    const std::unique_ptr<demo::Picture> focused = Shown(link);
    int dotted = 0;  // the focus rectangle: every other pixel of the top row in the link's colour
    for (int x = 0; x < focused->width(); x += 2) dotted += focused->PixelAt(x, 0) == kLinkColor;
    EXPECT_GT(dotted, focused->width() / 2 - 2) << "its focus rectangle";
    demo::SendKey(VK_RETURN);
    EXPECT_TRUE(demo::WaitFor(demo::kWindowTimeout, [&] { return Shown(link)->Count(RGB(85, 26, 139)) > 10; }))
        << "opened: shown in the visited colour";
}

bool IsWarm(COLORREF c) { return GetRValue(c) > GetGValue(c) + 40 && GetGValue(c) > GetBValue(c) + 20; }
bool IsBlue(COLORREF c) { return GetBValue(c) > GetRValue(c) + 60 && GetBValue(c) > GetGValue(c) + 40; }
bool IsGreen(COLORREF c) { return GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 60; }
bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }
bool IsLink(COLORREF c) { return c == kLinkColor || c == RGB(85, 26, 139); }
LONG Width(const RECT& r) { return r.right - r.left; }

// The gallery started at each display scale (LogPixels set first, as a user sets the scale and
// logs on again); run apart, in a session of its own (label "scale"): it changes the prefix's DPI.
TEST_F(ControlsProgram, AtEveryScaleIconsHaveTheSystemsSizeCaptionsAndLabelsFitAndTheSystemsLookHolds) {
    enum Kind { kIcon, kBitmap, kCaption, kLabel };
    // Found by their colours: hot icons warm, normal ones blue, texts dark or in a link's colour.
    // clang-format off
    const struct { int id; bool (*match)(COLORREF); Kind kind; } seen[] = {
        {IDC_BUTTON_ICON_ONLY, IsWarm, kIcon}, {IDC_BUTTON_ICON_BESIDE, IsWarm, kIcon}, {IDC_BUTTON_ICON_ABOVE, IsWarm, kIcon},
        {IDC_BUTTON_HOT_NORMAL, IsBlue, kIcon}, {IDC_BUTTON_DARKER, IsWarm, kIcon}, {IDC_BUTTON_CHECKBOX, IsBlue, kIcon},
        {IDC_BUTTON_BITMAP, IsGreen, kBitmap}, {IDC_BUTTON_FLAT, IsDark, kCaption}, {IDC_BUTTON_MENU, IsDark, kCaption},
        {IDC_BUTTON_LINK, IsDark, kCaption}, {IDC_BUTTON_CURSOR_SOUND, IsDark, kCaption}, {IDC_LINK_WEB, IsLink, kLabel},
        {IDC_LINK_MAIL, IsLink, kLabel}, {IDC_LINK_MISSING, IsLink, kLabel}, {IDC_LINK_VISITED, IsLink, kLabel}};
    // clang-format on
    SIZE at100[std::size(seen)] = {};
    for (const UINT dpi : {96u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        ASSERT_EQ(
            ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi, sizeof(dpi)),
            ERROR_SUCCESS);
        Start(demo::GalleryPath(), kGalleryCaption);
        MoveTo(demo::CentreOf(Control(IDC_GALLERY_STATUS)));
        demo::Settle();
        const int iconSize = afx::GetSystemMetricForDpi(SM_CXICON, dpi);
        const int iconAt100 = afx::GetSystemMetricForDpi(SM_CXICON, afx::kDefaultDpi);
        for (std::size_t i = 0; i < std::size(seen); ++i) {
            const std::unique_ptr<demo::Picture> shown = Shown(Control(seen[i].id));
            const RECT box = shown->Box(seen[i].match);
            const SIZE size{Width(box), box.bottom - box.top};
            if (dpi == afx::kDefaultDpi) at100[i] = size;
            // Drawn alike at each size: icons grow as the system's icon size, the rest as the DPI.
            const auto scaled = [&](LONG at) {
                return seen[i].kind == kIcon ? ::MulDiv(at, iconSize, iconAt100) : afx::ScaleForDpi(at, dpi);
            };
            const LONG width = scaled(at100[i].cx);
            EXPECT_NEAR(size.cx, width, seen[i].kind >= kCaption ? width / 10 : 2) << seen[i].id;
            EXPECT_NEAR(size.cy, seen[i].kind < kCaption ? scaled(at100[i].cy) : size.cy, 2) << seen[i].id;
            EXPECT_NEAR(size.cx, seen[i].kind == kLabel ? shown->width() : size.cx, 1)
                << seen[i].id << ": a label fits its text";
            EXPECT_TRUE(seen[i].kind != kCaption ||
                        (box.left > 0 && box.right < shown->width() && box.bottom < shown->height()))
                << seen[i].id << ": a caption inside its button";
        }
        const auto themed = Shown(Control(IDC_THEMED_STANDARD));
        EXPECT_EQ(themed->Differing(*Shown(Control(IDC_SYSTEM_BUTTON))), 0) << "the system's look, the system's pixels";
        Stop();
    }
}

}  // namespace
