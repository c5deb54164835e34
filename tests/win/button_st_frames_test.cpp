// The owner-drawn button's frames. A long seeded random run of every kind of
// change compares, after each step, the frame a button draws the way it
// always does (buffered, its memos in use) with the same frame drawn whole,
// straight on the target; and a right-to-left button is read off the screen.
// A failing run prints its seed; VORNIX_FRAMES_SEED runs that seed again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

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
// clang-format on

// The system colours the run changes, as they were before it.
class SystemColors {
public:
    SystemColors() {
        for (int i = 0; i < kCount; ++i) m_saved[i] = ::GetSysColor(kSystemElements[i]);
    }
    ~SystemColors() { ::SetSysColors(kCount, kSystemElements, m_saved); }

private:
    static constexpr int kCount = static_cast<int>(std::size(kSystemElements));
    COLORREF m_saved[kCount];
};

// Every object the process may still make taken by brushes, until the guard
// goes: whatever GDI is asked for meanwhile, it refuses.
class GdiExhausted {
public:
    GdiExhausted() {
        while (HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3))) m_brushes.emplace_back(brush);
    }

private:
    std::vector<afx::unique_hbrush> m_brushes;
};

// The button under test, its host and what the run has set that the
// drawing's target carries (font, layout, item state).
class FrameRun {
public:
    explicit FrameRun(unsigned seed) : m_random(seed) {
        for (int i = 0; i < 3; ++i) MakeFont(i);
        NewButton();
    }

    // One random change; returns what it was, for the failure's story.
    std::string Step() {
        std::ostringstream said;
        // Changes that leave most pixels as they were come more often: they
        // are the ones a memo's missing key lets through.
        // clang-format off
        static constexpr double kWeights[] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 2, 3, 3, 2, 1, 1, 1, 4, 1, 1, 1, 1, 1, 2};
        // clang-format on
        switch (std::discrete_distribution<int>(std::begin(kWeights), std::end(kWeights))(m_random)) {
            case 0: Set(said, "flat", [&](bool b) { m_button->SetFlatStyle(b, Repaint()); }); break;
            case 1: said << "push offset style " << Told(m_button->SetPushOffsetStyle(Byte(3), Repaint())); break;
            case 2:
                said << "reset colours";
                m_button->ResetColors(Repaint());
                break;
            case 3: said << "colour " << Told(m_button->SetColor(Pick(7), Color(), Repaint())); break;
            case 4: said << "align " << Told(m_button->SetAlign(Byte(4), Repaint())); break;
            case 5:
                said << "image origin";
                m_button->SetImageOrigin({Pick(9) - 2, Pick(9) - 2}, Repaint());
                break;
            case 6: Set(said, "transparent", [&](bool b) { m_button->SetDrawTransparent(b, Repaint()); }); break;
            case 7: Set(said, "border", [&](bool b) { m_button->SetDrawBorder(b, Repaint()); }); break;
            case 8: Set(said, "flat focus", [&](bool b) { m_button->SetDrawFlatFocus(b, Repaint()); }); break;
            case 9: Set(said, "gray bitmap", [&](bool b) { m_button->SetGrayDisabledBitmap(b, Repaint()); }); break;
            case 10:
                said << "icons";
                SetIcons();
                break;
            case 11:
                said << "bitmaps";
                SetBitmaps();
                break;
            case 12: said << "check " << Told(m_button->SendMessage(BM_SETCHECK, Pick(3))); break;
            case 13:
                said << "hover";
                Hover();
                break;
            case 14: said << "item state " << (m_state = Pick(2) * ODS_SELECTED | Pick(2) * ODS_FOCUS); break;
            case 15: Set(said, "enabled", [&](bool b) { ::EnableWindow(m_button->m_hWnd, b); }); break;
            case 16:
                said << "caption";
                ::SetWindowTextW(m_button->m_hWnd, kCaptions[Pick(std::size(kCaptions))]);
                break;
            case 17:
                said << "font " << (m_font = Pick(3));
                if (Pick(3) == 0) MakeFont(m_font);
                break;
            case 18:
                said << "size";
                ::MoveWindow(m_button->m_hWnd, 10, 10, 24 + Pick(150), 14 + Pick(80), TRUE);
                break;
            case 19:
                said << "system colour";
                SetSystemColor();
                break;
            case 20: said << "layout " << (m_layout = Pick(2) * LAYOUT_RTL); break;
            case 21:
                if (Pick(4) == 0) {
                    said << "refused buffer";
                    RefusedBuffer();
                }
                break;
            case 22:
                said << "new button";
                NewButton();
                break;
            case 23: said << "style " << Told(m_button->SendMessage(BM_SETSTYLE, Pick(2), TRUE)); break;
            case 24:
                said << "a draw of another format";
                OtherFormat();
                break;
            default:
                said << "repainted on screen";
                DispatchPending();
                break;  // also nothing at all changes
        }
        if (Pick(4) == 0) said << ", offset " << (m_offset = Pick(12));
        return said.str();
    }

    // The frame drawn as the button draws it, then plainly; the first pixel
    // where they differ, or {-1, -1}.
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
    std::uint8_t Byte(int count) { return static_cast<std::uint8_t>(Pick(static_cast<std::size_t>(count))); }
    bool Repaint() { return Pick(2) == 0; }
    COLORREF Color() { return kPalette[Pick(std::size(kPalette))]; }
    static long long Told(long long value) { return value; }
    template <class Apply>
    void Set(std::ostringstream& said, const char* what, Apply apply) {
        const bool on = Pick(2) == 0;
        said << what << " " << on;
        apply(on);
    }

    void MakeFont(int index) {
        LOGFONTW font{};
        font.lfHeight = -(9 + Pick(10));
        font.lfWeight = Pick(2) ? FW_BOLD : FW_NORMAL;
        font.lfQuality = static_cast<BYTE>(Pick(2) ? NONANTIALIASED_QUALITY : ANTIALIASED_QUALITY);
        ::lstrcpyW(font.lfFaceName, L"Tahoma");
        m_fonts[index].reset(::CreateFontIndirectW(&font));  // the old handle may come back for this one
    }

    void NewButton() {
        m_button.reset();
        m_button = std::make_unique<CButtonST>();
        const DWORD type = kTypes[Pick(std::size(kTypes))];
        const HWND window = m_host.AddChild(L"BUTTON", kCaptions[Pick(std::size(kCaptions))], WS_TABSTOP | type,
                                            {10, 10, 34 + Pick(140), 24 + Pick(70)}, 100);
        m_button->SubclassWindow(window);
        m_state = 0;
    }

    void SetIcons() {
        const int size = 8 << Pick(3);
        HICON hot = Pick(5) == 0 ? nullptr : probe::MakeHalfIcon(Color(), Color(), size);
        // clang-format off
        HICON normal[] = {nullptr, reinterpret_cast<HICON>(CButtonST::kGrayscaleNormal),
                          reinterpret_cast<HICON>(CButtonST::kDarkerNormal), probe::MakeIcon(Color(), size)};
        // clang-format on
        const int chosen = Pick(4);
        if (chosen != 3) ::DestroyIcon(normal[3]);
        m_button->SetIcons(hot, hot != nullptr ? normal[chosen] : nullptr);
    }

    void SetBitmaps() {
        const int size = 8 << Pick(3);
        m_button->SetBitmaps(probe::MakeHalfBitmap(kMagenta, Color(), size), kMagenta,
                             Pick(2) ? probe::MakeHalfBitmap(Color(), kMagenta, size) : nullptr, kMagenta);
    }

    // Over it: the pointer there and the move told; away: the leave told.
    void Hover() {
        if (Pick(2) == 0) {
            ::SetCursorPos(CentreOf(m_button->m_hWnd).x, CentreOf(m_button->m_hWnd).y);
            m_button->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        } else {
            ::SetCursorPos(0, 0);
            m_button->SendMessage(WM_MOUSELEAVE);
        }
    }

    void SetSystemColor() {
        const int element = kSystemElements[Pick(std::size(kSystemElements))];
        const COLORREF color = Color();
        ::SetSysColors(1, &element, &color);
        if (Pick(2) == 0) m_host.SendMessage(WM_SYSCOLORCHANGE);  // as the system tells top-level windows
    }

    // A draw GDI refuses a buffer for (it must grow, and no object can be
    // made), with its own layout; nothing of it is compared, only what
    // follows.
    void RefusedBuffer() {
        const SIZE held = afx::ThreadShared<button_st::Surfaces>()->frame.GetSize();
        probe::Canvas canvas(kCanvasWidth, kCanvasHeight);
        DRAWITEMSTRUCT item{ODT_BUTTON,
                            100,
                            0,
                            ODA_DRAWENTIRE,
                            m_state,
                            m_button->m_hWnd,
                            canvas.dc(),
                            {0, 0, held.cx + 1, held.cy + 1},
                            0};
        const GdiExhausted exhausted;
        m_button->DrawItem(&item);
    }

    // A frame drawn for a monochrome target.
    void OtherFormat() {
        const afx::unique_hdc dc(::CreateCompatibleDC(nullptr));  // its own bitmap is monochrome
        const afx::unique_hbitmap mono(::CreateBitmap(kCanvasWidth, kCanvasHeight, 1, 1, nullptr));
        const auto selected = afx::SelectObject(dc.get(), mono.get());
        RECT client{};
        m_button->GetClientRect(&client);
        DRAWITEMSTRUCT item{ODT_BUTTON, 100, 0, ODA_DRAWENTIRE, m_state, m_button->m_hWnd, dc.get(), client, 0};
        m_button->DrawItem(&item);
    }

    // The frame in canvas, its target set up as a run's step left it and
    // with whatever state a careless earlier user left in the DC; the
    // item's rectangle.
    RECT DrawInto(probe::Canvas& canvas, COLORREF under) {
        const HDC dc = canvas.dc();
        const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        ::SetDCBrushColor(dc, under);
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
        ::SetLayout(dc, m_layout);
        ::SelectObject(dc, m_fonts[m_font].get());
        ::SetTextColor(dc, RGB(250, 0, 0));
        ::SetBkColor(dc, RGB(0, 250, 0));
        ::SetBkMode(dc, OPAQUE);
        ::SetROP2(dc, R2_XORPEN);
        RECT area{};
        m_button->GetClientRect(&area);
        ::OffsetRect(&area, m_offset, m_offset / 2);
        const UINT state = m_state | (::IsWindowEnabled(m_button->m_hWnd) ? 0 : ODS_DISABLED);
        DRAWITEMSTRUCT item{ODT_BUTTON, 100, 0, ODA_DRAWENTIRE, state, m_button->m_hWnd, dc, area, 0};
        m_button->DrawItem(&item);
        ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));  // the font may be remade
        return area;
    }

    std::mt19937 m_random;
    probe::ControlHost m_host{{kCanvasWidth + 40, kCanvasHeight + 40}};
    std::unique_ptr<CButtonST> m_button;
    afx::unique_hfont m_fonts[3];
    int m_font = 0, m_offset = 0;
    UINT m_state = 0;
    DWORD m_layout = 0;
};

TEST(ButtonFrames, EveryFrameEqualsTheFrameDrawnPlainlyOverALongRandomRunOfChanges) {
    const char* given = std::getenv("VORNIX_FRAMES_SEED");
    const unsigned seed =
        given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : std::random_device{}();
    const SystemColors restored;
    FrameRun run(seed);
    std::deque<std::string> story;  // the last steps, for the report
    for (int step = 0; step < kSteps; ++step) {
        story.push_back(run.Step());
        if (story.size() > 12) story.pop_front();
        const POINT differs = run.Compare();
        if (differs.x >= 0) {
            std::string told;
            for (const std::string& said : story) told += "\n  " + said;
            FAIL() << "seed " << seed << " (VORNIX_FRAMES_SEED), step " << step << ": pixel " << differs.x << ","
                   << differs.y << " differs from the plain frame after:" << told;
        }
    }
}

}  // namespace

// The pixels of a window as the screen shows them, in the screen's order.
struct Shown : probe::Canvas {
    explicit Shown(HWND window) : Canvas(Size(window).cx, Size(window).cy) {
        RECT frame{};
        ::GetWindowRect(window, &frame);
        const afx::unique_window_dc screen = afx::GetDC(nullptr);
        ::BitBlt(dc(), 0, 0, width(), height(), screen.get().dc, frame.left, frame.top, SRCCOPY);
    }
    static SIZE Size(HWND window) {
        RECT frame{};
        ::GetWindowRect(window, &frame);
        return {frame.right - frame.left, frame.bottom - frame.top};
    }
    // The box of the pixels that match, or an empty box.
    template <class Match>
    RECT Box(Match match) const {
        RECT box{width(), height(), 0, 0};
        for (int y = 0; y < height(); ++y)
            for (int x = 0; x < width(); ++x)
                if (match(At(x, y)))
                    box = {std::min(box.left, LONG{x}), std::min(box.top, LONG{y}), std::max(box.right, LONG{x + 1}),
                           std::max(box.bottom, LONG{y + 1})};
        return box;
    }
    // Which pixels of box are dark, row by row, from the left or mirrored.
    std::string Dark(const RECT& box, bool mirrored = false) const {
        std::string dark;
        for (LONG y = box.top; y < box.bottom; ++y)
            for (LONG x = box.left; x < box.right; ++x) {
                const COLORREF c = At(mirrored ? box.right - 1 - (x - box.left) : x, y);
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 192 ? '#' : '.';
            }
        return dark;
    }
};

TEST(ButtonFrames, InARightToLeftWindowCaptionsAndImagesReadTheRightWayRoundAndTheImageSitsOnTheRight) {
    constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 220, 0);  // neither counts as dark
    constexpr RECT kIconAt{10, 10, 130, 60}, kBitmapAt{140, 10, 200, 60};
    probe::ControlHost host({220, 80}, WS_EX_LAYOUTRTL);
    const afx::unique_hfont font(
        ::CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, NONANTIALIASED_QUALITY, 0, L"Tahoma"));
    CButtonST withIcon, withBitmap;
    ASSERT_TRUE(withIcon.SubclassWindow(host.AddChild(L"BUTTON", L"Fig", BS_PUSHBUTTON, kIconAt, 101)));
    ASSERT_TRUE(withBitmap.SubclassWindow(host.AddChild(L"BUTTON", L"", BS_PUSHBUTTON, kBitmapAt, 102)));
    withIcon.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.get()));
    withIcon.SetIcons(probe::MakeHalfIcon(kRed, kGreen, 16), nullptr);
    withBitmap.SetBitmaps(probe::MakeHalfBitmap(kRed, kGreen, 16), kMagenta);
    ::UpdateWindow(host.m_hWnd);
    DispatchPending();

    const Shown icon(withIcon.m_hWnd), bitmap(withBitmap.m_hWnd);
    const RECT red = icon.Box([](COLORREF c) { return c == kRed; });
    const RECT green = icon.Box([](COLORREF c) { return c == kGreen; });
    EXPECT_EQ(red.right, green.left) << "the icon unmirrored: red half, then green";
    EXPECT_EQ(green.right, icon.width() - 3) << "the image 3 px from the right edge, where a left image goes mirrored";
    EXPECT_EQ(bitmap.Box([](COLORREF c) { return c == kRed; }).right,
              bitmap.Box([](COLORREF c) { return c == kGreen; }).left)
        << "the bitmap unmirrored";

    const RECT caption = icon.Box([&](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 192; });
    ASSERT_LT(caption.left, caption.right) << "a caption was drawn";
    EXPECT_LT(caption.right, red.left) << "the caption left of the image";
    // The same text in the same font, drawn left to right.
    probe::Canvas reference(icon.width(), icon.height());
    const RECT all{0, 0, icon.width(), icon.height()};
    ::FillRect(reference.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SelectObject(reference.dc(), font.get());
    RECT text = all;
    ::DrawTextW(reference.dc(), L"Fig", -1, &text, DT_LEFT | DT_TOP);
    ::SelectObject(reference.dc(), ::GetStockObject(SYSTEM_FONT));
    const Shown& read = static_cast<const Shown&>(reference);
    const RECT glyphs = read.Box([](COLORREF c) { return c == RGB(0, 0, 0); });
    EXPECT_EQ(icon.Dark(caption), read.Dark(glyphs)) << "the caption's glyphs as they read left to right";
    EXPECT_NE(icon.Dark(caption), read.Dark(glyphs, true)) << "not their mirror image";
}
