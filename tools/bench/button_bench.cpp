// vornix_button_bench.exe: what the owner-drawn button costs to repaint,
// against the system's own push button of the same size and caption, what
// it creates while it draws, and whether it leaks; run under Wine by
// scripts/bench-button.sh.
//
//   vornix_button_bench.exe [REPAINTS [REPLACEMENTS]]   (default 10000, 1000)
//
// Repaints go the whole way a real one goes: invalidate, WM_PAINT to the
// button, WM_DRAWITEM to its parent, reflected back to the button's
// DrawItem. The GDI objects a draw creates are counted by pointing the
// executable's imports of GDI's creating functions at counting wrappers
// (the controls are linked into it, so their calls go through them). Wine's GetGuiResources always answers 0, so GDI
// objects are counted through the handle table itself: how many brushes can still be made before GDI refuses, before
// and after (every object alive takes a slot). Icons, cursors and menus are user objects, counted through the handles
// the button held, each checked right after it was replaced.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "afx/common_controls.h"
#include "afx/handles.h"
#include "afx/message_map.h"
#include "afx/wnd.h"
#include "controls/button_st.h"
#include "control_host.h"
#include "gdi_probe.h"
#include "import_redirect.h"

namespace {

using Clock = std::chrono::steady_clock;

// GDI objects created while counting is on.
long g_created = 0;

// A counting stand-in for one GDI function of signature R(A...).
template <class R, class... A>
struct Counted {
    static inline R(WINAPI* original)(A...) = nullptr;
    static R WINAPI Call(A... arguments) {
        ++g_created;
        return original(arguments...);
    }
};

template <class R, class... A>
bool Count(const char* name, R(WINAPI*)(A...)) {
    return probe::RedirectImport(name, &Counted<R, A...>::Call, Counted<R, A...>::original);
}

// Every GDI function that makes an object a button could call.
void CountGdiObjectsMade() {
    Count("CreateSolidBrush", &::CreateSolidBrush);
    Count("CreatePen", &::CreatePen);
    Count("CreateCompatibleDC", &::CreateCompatibleDC);
    Count("CreateCompatibleBitmap", &::CreateCompatibleBitmap);
    Count("CreateBitmap", &::CreateBitmap);
    Count("CreateFontIndirectW", &::CreateFontIndirectW);
    Count("CreateRectRgnIndirect", &::CreateRectRgnIndirect);
}

// Microseconds per repaint of each button over count repaints of each,
// taken in turns of a hundred, so that whatever else the machine does
// weighs on every button alike.
template <std::size_t N>
std::array<double, N> TimeRepaints(const HWND (&buttons)[N], int count) {
    std::array<double, N> micros{};
    for (int done = 0; done < count; done += 100) {
        for (std::size_t b = 0; b < N; ++b) {
            const Clock::time_point start = Clock::now();
            for (int i = done; i < std::min(done + 100, count); ++i) {
                ::InvalidateRect(buttons[b], nullptr, TRUE);
                ::UpdateWindow(buttons[b]);
            }
            micros[b] += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        }
    }
    for (double& each : micros) each /= count;
    return micros;
}

// Microseconds per DrawItem alone, into a memory bitmap of the button's
// size: the same state every time (the last frame is put back), or the
// focus changing every time (every step drawn).
double TimeDrawItem(CButtonST& button, int count, bool changing = false) {
    RECT client{};
    button.GetClientRect(&client);
    const probe::Canvas canvas(client.right, client.bottom);
    DRAWITEMSTRUCT item{ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, 0, button.m_hWnd, canvas.dc(), client, 0};
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (changing) item.itemState = i % 2 ? ODS_FOCUS : 0;
        button.DrawItem(&item);
    }
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

// Replaces the button's icons (given and derived), bitmaps, cursor and
// menu count times; returns the user objects left alive behind it.
long ReplaceAll(CButtonST& button, HWND owner, int count) {
    long alive = 0;
    for (int i = 0; i < count; ++i) {
        HICON icons[] = {button.GetIcon(0), button.GetIcon(1)};
        button.SetIcons(probe::MakeIcon(RGB(200, 0, 0), 32), reinterpret_cast<HICON>(i % 2 ? -2 : -3));
        for (HICON icon : icons) alive += icon != nullptr && probe::IconAlive(icon);
        button.SetBitmaps(probe::MakeHalfBitmap(RGB(255, 0, 255), RGB(0, 120, 0), 32), RGB(255, 0, 255),
                          probe::MakeHalfBitmap(RGB(255, 0, 255), RGB(0, 120, 0), 32), RGB(255, 0, 255));
        HCURSOR cursor = button.GetBtnCursor();
        button.SetBtnCursor(static_cast<HCURSOR>(::CopyImage(::LoadCursorW(nullptr, IDC_HAND), IMAGE_CURSOR, 0, 0, 0)));
        alive += cursor != nullptr && probe::IconAlive(cursor);
        HMENU menu = button.GetMenu();
        button.SetMenu(::CreateMenu(), owner, false);
        alive += menu != nullptr && ::IsMenu(menu);
    }
    return alive;
}

// The system's push button, the owner-drawn one with an icon and caption of
// the same size (in its classic look and in the system's), and a flat one,
// on a host window: repaints timed, then the
// icon button's images, cursor and menu replaced; everything destroyed at
// the end. Reports the GDI objects the buttons hold while they exist.
void RunButtons(int repaints, int replacements, long freeAtStart, bool report) {
    probe::ControlHost host({580, 120});  // a framework window: WM_DRAWITEM is reflected to the buttons
    const auto add = [&](const wchar_t* caption, int x) {
        return host.AddChild(L"BUTTON", caption, BS_PUSHBUTTON, {x, 10, x + 130, 70}, 0);
    };
    const HWND system = add(L"Icon and caption", 290);
    CButtonST iconCaption, flatHovered, themed;
    iconCaption.SubclassWindow(add(L"Icon and caption", 10));
    flatHovered.SubclassWindow(add(L"Flat, hovered", 150));
    themed.SubclassWindow(add(L"Icon and caption", 430));
    for (CButtonST* standard : {&iconCaption, &themed}) {
        standard->SetFlatStyle(false);
        standard->SetIcons(probe::MakeIcon(RGB(0, 120, 200), 32), reinterpret_cast<HICON>(-2));
    }
    themed.SetThemedLook(true);
    ::UpdateWindow(host.m_hWnd);
    // Hover needs the pointer really over the button.
    POINT centre{60, 30};
    ::ClientToScreen(flatHovered.m_hWnd, &centre);
    ::SetCursorPos(centre.x, centre.y);
    flatHovered.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(60, 30));

    g_created = 0;  // only the owner-drawn buttons' draws call the counted functions
    const HWND timed[] = {system, iconCaption.m_hWnd, flatHovered.m_hWnd, themed.m_hWnd};
    const auto [systemMicros, iconMicros, flatMicros, themedMicros] = TimeRepaints(timed, repaints);
    const long createdPerRepaints = g_created / 3;
    const double drawMicros = TimeDrawItem(iconCaption, repaints);
    const double themedDrawMicros = TimeDrawItem(themed, repaints);
    const double changingMicros = TimeDrawItem(iconCaption, repaints, true);
    const long userAlive = ReplaceAll(iconCaption, host.m_hWnd, replacements);
    if (!report) return;
    std::printf("repaint, system push button: %.1f us\n", systemMicros);
    std::printf("repaint, standard button with icon and caption: %.1f us\n", iconMicros);
    std::printf("repaint ratio, owner-drawn to system: %.2f\n", iconMicros / systemMicros);
    std::printf("repaint, themed standard button with icon and caption: %.1f us\n", themedMicros);
    std::printf("repaint ratio, themed owner-drawn to system: %.2f\n", themedMicros / systemMicros);
    std::printf("DrawItem alone, standard button with icon and caption: %.1f us\n", drawMicros);
    std::printf("DrawItem alone, themed standard button with icon and caption: %.1f us\n", themedDrawMicros);
    std::printf("DrawItem alone, a new state every time (every step drawn): %.1f us\n", changingMicros);
    std::printf("GDI objects created per draw: %g\n", static_cast<double>(createdPerRepaints) / repaints);
    std::printf("repaint, flat button, hovered (%s): %.1f us\n", flatHovered.IsHovering() ? "hover on" : "HOVER OFF",
                flatMicros);
    std::printf("after %d repaints each and %d replacements: replaced icons, cursors and menus still alive: %ld\n",
                repaints, replacements, userAlive);
    std::printf("GDI objects alive while the buttons hold their last images: %ld\n",
                freeAtStart - probe::FreeGdiSlots());
}

// The GDI objects the process holds with count buttons on a host, each with
// an icon and its derived greyscale icon and a caption, all drawn: system
// push buttons with the images kept beside them, or owner-drawn buttons
// holding them.
long HeldWithButtons(int count, bool ownerDrawn, long freeAtStart, bool themed = false) {
    probe::ControlHost host({20 * 40 + 20, 10 * 40 + 20});
    std::vector<std::unique_ptr<CButtonST>> buttons;
    std::vector<afx::unique_hicon> images;  // the system buttons' images, kept as a button keeps them
    for (int i = 0; i < count; ++i) {
        const int x = 10 + (i % 20) * 40, y = 10 + (i / 20 % 10) * 40;
        const HWND window = host.AddChild(L"BUTTON", L"Go", BS_PUSHBUTTON, {x, y, x + 38, y + 38}, 0);
        HICON hot = probe::MakeIcon(RGB(0, 120, 200), 16);
        if (ownerDrawn) {
            buttons.push_back(std::make_unique<CButtonST>());
            buttons.back()->SubclassWindow(window);
            buttons.back()->SetIcons(hot, reinterpret_cast<HICON>(CButtonST::kGrayscaleNormal));
            buttons.back()->SetThemedLook(themed);
        } else {
            images.emplace_back(CButtonST::CreateGrayscaleIcon(hot));
            images.emplace_back(hot);
        }
    }
    ::UpdateWindow(host.m_hWnd);
    return freeAtStart - probe::FreeGdiSlots();
}

// GDI objects an owner-drawn button holds beyond its images: count of them
// against as many system buttons with the same images beside them.
double HeldPerButton(int count, bool themed) {
    const long freeAtStart = probe::FreeGdiSlots();
    const long system = HeldWithButtons(count, false, freeAtStart);
    const long ownerDrawn = HeldWithButtons(count, true, freeAtStart, themed);
    return static_cast<double>(ownerDrawn - system) / count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int repaints = argc > 1 ? _wtoi(argv[1]) : 10000;
    const int replacements = argc > 2 ? _wtoi(argv[2]) : 1000;
    if (repaints <= 0 || replacements <= 0) {
        std::printf("usage: vornix_button_bench.exe [REPAINTS [REPLACEMENTS]]\n");
        return 2;
    }
    AfxInitCommonControls(ICC_WIN95_CLASSES);
    CountGdiObjectsMade();
    // One small round first: the system makes objects it keeps for the
    // process (fonts, window class and DC caches) on first use, and those are
    // not the button's.
    RunButtons(10, 10, 0, false);
    HeldWithButtons(10, true, 0);
    HeldWithButtons(10, false, 0);
    std::printf("GDI objects held per button beyond its images (200 buttons): %.2f\n", HeldPerButton(200, false));
    std::printf("GDI objects held per themed button beyond its images (200 buttons): %.2f\n", HeldPerButton(200, true));
    const long freeAtStart = probe::FreeGdiSlots();
    RunButtons(repaints, replacements, freeAtStart, true);
    const long freeAtEnd = probe::FreeGdiSlots();
    std::printf("GDI objects alive once the buttons are destroyed: %ld (free slots %ld before, %ld after)\n",
                freeAtStart - freeAtEnd, freeAtStart, freeAtEnd);
    return 0;
}
