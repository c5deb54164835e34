// The button's frames as drawn (buffered, memos in use) against frames drawn plainly over a
// seeded random run (VORNIX_FRAMES_SEED replays one); a right-to-left button on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <numeric>
#include <random>
#include <sstream>

#include "afx/handles.h"
#include "afx/paint_scope.h"
#include "afx/thread_shared.h"
#include "control_host.h"
#include "controls/button_st.h"
#include "controls/detail/button_st_drawing.h"
#include "gdi_probe.h"
#include "real_input.h"

namespace {

constexpr int kSteps = 5000;
constexpr int kCanvasWidth = 180, kCanvasHeight = 100;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
// clang-format off
constexpr COLORREF kPalette[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                 RGB(200, 30, 40), RGB(20, 140, 60), RGB(30, 60, 200), RGB(250, 220, 90)};
constexpr const wchar_t* kCaptions[] = {L"", L"Go", L"Apply", L"A caption long enough to wrap in two",
                                        L"Two\nlines", L"x"};
constexpr int kSystemElements[] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_BTNHIGHLIGHT, COLOR_3DLIGHT,
                                   COLOR_BTNSHADOW, COLOR_3DDKSHADOW};
constexpr DWORD kTypes[] = {BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, BS_CHECKBOX};
// Changes that leave most pixels alone come more often: a key's gap shows there.
constexpr double kWeights[] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 3, 3, 2, 1, 1, 1, 4, 1, 1, 1, 1, 2, 2};
// clang-format on

// The button, its host, and what the drawing's target carries (font, layout, state, offset).
class FrameRun {
public:
    explicit FrameRun(unsigned seed) : m_random(seed) {
        for (int i = 0; i < 3; ++i) MakeFont(i);
        for (int i = 0; i < 6; ++i) m_colors[i] = ::GetSysColor(kSystemElements[i]);
        NewButton();
    }
    ~FrameRun() { ::SetSysColors(6, kSystemElements, m_colors); }

    // One random change; returns what it was, for the failure's story.
    std::string Step() {
        std::ostringstream said;
        CButtonST& b = *m_button;
        // clang-format off
        switch (std::discrete_distribution<int>(std::begin(kWeights), std::end(kWeights))(m_random)) {
            case 0: said << "flat " << b.SetFlatStyle(Pick(2), Pick(2)); break;
            case 1: said << "push offset style " << b.SetPushOffsetStyle(static_cast<std::uint8_t>(Pick(3)), Pick(2)); break;
            case 2: said << "reset colours " << b.ResetColors(Pick(2)); break;
            case 3: said << "colour " << b.SetColor(Pick(7), Color(), Pick(2)); break;
            case 4: said << "align " << b.SetAlign(static_cast<std::uint8_t>(Pick(4)), Pick(2)); break;
            case 5: said << "image origin " << b.SetImageOrigin({Pick(9) - 2, Pick(9) - 2}, Pick(2)); break;
            case 6: said << "transparent " << b.SetDrawTransparent(Pick(2), Pick(2)); break;
            case 7: said << "border " << b.SetDrawBorder(Pick(2), Pick(2)); break;
            case 8: said << "flat focus " << b.SetDrawFlatFocus(Pick(2), Pick(2)); break;
            case 9: said << "gray bitmap " << b.SetGrayDisabledBitmap(Pick(2), Pick(2)); break;
            case 10: said << "icons " << SetIcons(); break;
            case 11: said << "bitmaps " << SetBitmaps(); break;
            case 12: said << "check " << b.SendMessage(BM_SETCHECK, Pick(3)); break;
            case 13: said << "hover " << Hover(); break;
            case 14: said << "item state " << (m_state = Pick(2) * ODS_SELECTED | Pick(2) * ODS_FOCUS); break;
            case 15: said << "enabled " << !::EnableWindow(b.m_hWnd, Pick(2)); break;
            case 16: said << "caption " << ::SetWindowTextW(b.m_hWnd, kCaptions[Pick(std::size(kCaptions))]); break;
            case 17: said << "font " << (m_font = Pick(3)); if (Pick(3) == 0) MakeFont(m_font); break;
            case 18: said << "size " << ::MoveWindow(b.m_hWnd, 10, 10, 24 + Pick(150), 14 + Pick(80), TRUE); break;
            case 19: said << "system colour " << SetSystemColor(); break;
            case 20: said << "layout " << (m_layout = Pick(2) * LAYOUT_RTL); break;
            case 21: if (Pick(4) == 0) said << "refused buffer " << RefusedBuffer(); break;
            case 22: said << "new button"; NewButton(); break;
            case 23: said << "style " << b.SendMessage(BM_SETSTYLE, Pick(2), TRUE); break;
            case 24: said << "themed look " << b.SetThemedLook(Pick(2), Pick(2)); break;
            default: said << "repainted on screen"; DispatchPending(); break;  // also nothing at all changes
        }
        // clang-format on
        if (Pick(4) == 0) said << ", offset " << (m_offset = Pick(12));
        return said.str();
    }

    // The first pixel where the frame as drawn and drawn plainly differ, or {-1, -1}.
    POINT Compare() {
        const COLORREF under = Color();
        probe::Canvas drawn(kCanvasWidth, kCanvasHeight), plain(kCanvasWidth, kCanvasHeight);
        const RECT area = DrawInto(drawn, under);
        {
            const button_st::DrawPlainly plainly;
            DrawInto(plain, under);
        }
        return drawn.FirstDifference(plain, afx::DeviceRect(drawn.dc(), area));
    }

private:
    int Pick(std::size_t count) { return static_cast<int>(m_random() % count); }
    COLORREF Color() { return kPalette[Pick(std::size(kPalette))]; }

    void MakeFont(int index) {  // the old handle may come back for the new font
        m_fonts[index].reset(::CreateFontW(-(9 + Pick(10)), 0, 0, 0, Pick(2) ? FW_BOLD : FW_NORMAL, 0, 0, 0, 0, 0, 0,
                                           Pick(2) ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY, 0, L"Tahoma"));
    }

    void NewButton() {
        m_button.reset();
        m_button = std::make_unique<CButtonST>();
        const RECT at{10, 10, 34 + Pick(140), 24 + Pick(70)};
        m_button->SubclassWindow(m_host.AddChild(L"BUTTON", L"Go", kTypes[Pick(std::size(kTypes))], at, 100));
        m_state = 0;
    }

    DWORD SetIcons() {
        const int size = 8 << Pick(3), chosen = Pick(4);
        HICON hot = Pick(5) == 0 ? nullptr : probe::MakeHalfIcon(Color(), Color(), size);
        HICON normal[] = {nullptr, reinterpret_cast<HICON>(CButtonST::kGrayscaleNormal),
                          reinterpret_cast<HICON>(CButtonST::kDarkerNormal), probe::MakeIcon(Color(), size)};
        if (chosen != 3) ::DestroyIcon(normal[3]);
        return m_button->SetIcons(hot, hot != nullptr ? normal[chosen] : nullptr);
    }

    DWORD SetBitmaps() {
        const int size = 8 << Pick(3);
        return m_button->SetBitmaps(probe::MakeHalfBitmap(kMagenta, Color(), size), kMagenta,
                                    Pick(2) ? probe::MakeHalfBitmap(Color(), kMagenta, size) : nullptr, kMagenta);
    }

    bool Hover() {  // over it: the pointer there and the move told; away: the leave told
        const bool over = Pick(2) == 0;
        ::SetCursorPos(over ? CentreOf(m_button->m_hWnd).x : 0, over ? CentreOf(m_button->m_hWnd).y : 0);
        m_button->SendMessage(over ? WM_MOUSEMOVE : WM_MOUSELEAVE, 0, MAKELPARAM(5, 5));
        return m_button->IsHovering();
    }

    int SetSystemColor() {
        const int element = kSystemElements[Pick(std::size(kSystemElements))];
        const COLORREF color = Color();
        ::SetSysColors(1, &element, &color);
        if (Pick(2) == 0) m_host.SendMessage(WM_SYSCOLORCHANGE);  // as the system tells top-level windows
        return element;
    }

    // A draw GDI refuses a buffer for (it must grow, and no object can be
    // made); nothing of it is compared, only what follows.
    LONG RefusedBuffer() {
        const SIZE held = afx::ThreadShared<button_st::Surfaces>()->frame.GetSize();
        const probe::Canvas canvas(kCanvasWidth, kCanvasHeight);
        const probe::GdiExhausted exhausted;
        Draw(canvas.dc(), {0, 0, held.cx + 1, held.cy + 1});
        return held.cx;
    }

    void Draw(HDC dc, const RECT& area) {
        const UINT state = m_state | (::IsWindowEnabled(m_button->m_hWnd) ? 0 : ODS_DISABLED);
        DRAWITEMSTRUCT item{ODT_BUTTON, 100, 0, ODA_DRAWENTIRE, state, m_button->m_hWnd, dc, area, 0};
        m_button->DrawItem(&item);
    }

    // The frame in canvas, set up as the steps left the target, with a careless
    // user's state left in the DC; the item's rectangle.
    RECT DrawInto(probe::Canvas& canvas, COLORREF under) {
        const HDC dc = canvas.dc();
        const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        ::SetDCBrushColor(dc, under);
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        ::SetLayout(dc, m_layout);
        ::SelectObject(dc, m_fonts[m_font].get());
        ::SetTextColor(dc, RGB(250, 0, 0));
        ::SetBkColor(dc, RGB(0, 250, 0));
        ::SetROP2(dc, R2_XORPEN);
        RECT area{};
        m_button->GetClientRect(&area);
        ::OffsetRect(&area, m_offset, m_offset / 2);
        Draw(dc, area);
        ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));  // the font may be remade
        return area;
    }

    std::mt19937 m_random;
    probe::ControlHost m_host{{kCanvasWidth + 40, kCanvasHeight + 40}};
    std::unique_ptr<CButtonST> m_button;
    afx::unique_hfont m_fonts[3];
    COLORREF m_colors[6];  // the system colours before the run
    int m_font = 0, m_offset = 0;
    UINT m_state = 0;
    DWORD m_layout = 0;
};

TEST(ButtonFrames, EveryFrameEqualsTheFrameDrawnPlainlyOverALongRandomRunOfChanges) {
    const char* given = std::getenv("VORNIX_FRAMES_SEED");
    const unsigned seed =
        given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    FrameRun run(seed);
    std::deque<std::string> story;  // the last steps, for the report
    for (int step = 0; step < kSteps; ++step) {
        story.push_back("\n  " + run.Step());
        if (story.size() > 12) story.pop_front();
        if (const POINT differs = run.Compare(); differs.x >= 0)
            FAIL() << "seed " << seed << " (VORNIX_FRAMES_SEED), step " << step << ": pixel " << differs.x << ","
                   << differs.y << " differs from the plain frame after:"
                   << std::accumulate(story.begin(), story.end(), std::string());
    }
}

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 220, 0);  // neither counts as dark
bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 192; }

// Which pixels of box are dark, row by row.
std::string Dark(const probe::Canvas& canvas, const RECT& box) {
    std::string dark;
    for (LONG y = box.top; y < box.bottom; ++y)
        for (LONG x = box.left; x < box.right; ++x) dark += IsDark(canvas.At(x, y)) ? '#' : '.';
    return dark;
}

TEST(ButtonFrames, InARightToLeftWindowCaptionsAndImagesReadTheRightWayRoundAndTheImageSitsOnTheRight) {
    probe::ControlHost host({220, 80}, WS_EX_LAYOUTRTL);
    const afx::unique_hfont font(
        ::CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    CButtonST withIcon, withBitmap;
    ASSERT_TRUE(withIcon.SubclassWindow(host.AddChild(L"BUTTON", L"Fig", BS_PUSHBUTTON, {10, 10, 130, 60}, 101)));
    ASSERT_TRUE(withBitmap.SubclassWindow(host.AddChild(L"BUTTON", L"", BS_PUSHBUTTON, {140, 10, 200, 60}, 102)));
    withIcon.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()));
    withIcon.SetIcons(probe::MakeHalfIcon(kRed, kGreen, 16), nullptr);
    withBitmap.SetBitmaps(probe::MakeHalfBitmap(kRed, kGreen, 16), kMagenta);
    ::UpdateWindow(host.m_hWnd);
    DispatchPending();

    const probe::Canvas icon(withIcon.m_hWnd), bitmap(withBitmap.m_hWnd);
    const auto box = [](const probe::Canvas& shown, COLORREF color) {
        return shown.Box([color](COLORREF c) { return c == color; });
    };
    const RECT red = box(icon, kRed), green = box(icon, kGreen);
    EXPECT_EQ(red.right, green.left) << "the icon unmirrored: red half, then green";
    EXPECT_EQ(green.right, icon.width() - 3) << "3 px from the right edge, where a left image goes mirrored";
    EXPECT_EQ(box(bitmap, kRed).right, box(bitmap, kGreen).left) << "the bitmap unmirrored";

    const RECT caption = icon.Box(IsDark);
    ASSERT_LT(caption.left, caption.right) << "a caption was drawn";
    EXPECT_LT(caption.right, red.left) << "the caption left of the image";
    // The same text in the same font, drawn left to right.
    probe::Canvas reference(icon.width(), icon.height());
    RECT all{0, 0, icon.width(), icon.height()};
    ::FillRect(reference.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SelectObject(reference.dc(), font.get());
    ::DrawTextW(reference.dc(), L"Fig", -1, &all, DT_LEFT | DT_TOP);
    ::SelectObject(reference.dc(), ::GetStockObject(SYSTEM_FONT));
    const RECT glyphs = reference.Box(IsDark);
    EXPECT_EQ(Dark(icon, caption), Dark(reference, glyphs)) << "the caption's glyphs as they read left to right";
}

}  // namespace
