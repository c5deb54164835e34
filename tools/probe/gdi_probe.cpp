#include "gdi_probe.h"

#include <cstdint>
#include <vector>

#include "afx/handles.h"

namespace probe {

namespace {

struct Count {
    const wchar_t* className;
    int found;
};

BOOL CALLBACK CountIfNamed(HWND window, LPARAM data) noexcept {
    auto* count = reinterpret_cast<Count*>(data);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    count->found += ::lstrcmpiW(name, count->className) == 0;
    return TRUE;
}

// A top-level window of the thread, then every window under it.
BOOL CALLBACK CountTree(HWND window, LPARAM data) noexcept {
    CountIfNamed(window, data);
    ::EnumChildWindows(window, &CountIfNamed, data);
    return TRUE;
}

}  // namespace

Canvas::Canvas(int width, int height) : m_width(width), m_height(height) { m_surface.Reserve({width, height}); }

Canvas::Canvas(const RECT& area) : Canvas(area.right - area.left, area.bottom - area.top) {
    CopyScreen(area.left, area.top);
}

Canvas::Canvas(HWND window)
    : Canvas([window] {
          RECT frame{};
          ::GetWindowRect(window, &frame);
          return frame;
      }()) {}

void Canvas::CopyScreen(int left, int top) {
    const afx::unique_window_dc screen = afx::GetDC(nullptr);
    ::BitBlt(dc(), 0, 0, m_width, m_height, screen.get().dc, left, top, SRCCOPY);
}

COLORREF Canvas::At(int x, int y) const {
    x = x < 0 ? m_width + x : x;
    y = y < 0 ? m_height + y : y;
    std::uint32_t pixel = 0;
    m_surface.Read({x, y, x + 1, y + 1}, &pixel);
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);  // stored as 0x00RRGGBB
}

int Canvas::Count(COLORREF color) const {
    int count = 0;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) count += At(x, y) == color;
    return count;
}

POINT Canvas::FirstDifference(const Canvas& other, const RECT& within) const {
    const RECT all{0, 0, m_width, m_height};
    RECT area{};
    if (!::IntersectRect(&area, &within, &all)) return {-1, -1};
    const auto width = static_cast<std::size_t>(area.right - area.left);
    std::vector<std::uint32_t> mine(width * static_cast<std::size_t>(area.bottom - area.top)), theirs(mine.size());
    m_surface.Read(area, mine.data());
    other.m_surface.Read(area, theirs.data());
    for (std::size_t i = 0; i < mine.size(); ++i)
        if ((mine[i] ^ theirs[i]) & 0xFFFFFF)
            return {area.left + static_cast<LONG>(i % width), area.top + static_cast<LONG>(i / width)};
    return {-1, -1};
}

HICON MakeIcon(COLORREF color, int size) { return MakeHalfIcon(color, color, size); }

HBITMAP MakeHalfBitmap(COLORREF left, COLORREF right, int size) {
    const afx::unique_window_dc screen = afx::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen.get().dc, size, size);
    const afx::unique_hdc dc(::CreateCompatibleDC(screen.get().dc));
    const auto selected = afx::SelectObject(dc.get(), bitmap);
    const RECT halves[] = {{0, 0, size / 2, size}, {size / 2, 0, size, size}};
    const afx::unique_hbrush brushes[] = {afx::unique_hbrush(::CreateSolidBrush(left)),
                                          afx::unique_hbrush(::CreateSolidBrush(right))};
    for (int half = 0; half < 2; ++half) ::FillRect(dc.get(), &halves[half], brushes[half].get());
    return bitmap;
}

HICON MakeHalfIcon(COLORREF left, COLORREF right, int size) {
    const afx::unique_hbitmap bits(MakeHalfBitmap(left, right, size));
    const afx::unique_hbitmap mask(::CreateBitmap(size, size, 1, 1, nullptr));  // all 0: opaque
    ICONINFO info{TRUE, 0, 0, mask.get(), bits.get()};
    return ::CreateIconIndirect(&info);
}

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) return false;
    afx::unique_hbitmap(info.hbmMask).reset();
    afx::unique_hbitmap(info.hbmColor).reset();
    return true;
}

GdiExhausted::GdiExhausted() {
    while (HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3))) m_brushes.push_back(brush);
}

GdiExhausted::~GdiExhausted() {
    for (HBRUSH brush : m_brushes) ::DeleteObject(brush);
}

int CountThreadWindows(const wchar_t* className) {
    Count count{className, 0};
    ::EnumThreadWindows(::GetCurrentThreadId(), &CountTree, reinterpret_cast<LPARAM>(&count));
    return count.found;
}

}  // namespace probe
