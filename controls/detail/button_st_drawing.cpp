#include "controls/detail/button_st_drawing.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace button_st {

namespace {

thread_local bool t_plainly = false;

}  // namespace

HBITMAP Surfaces::Work(SIZE size) {
    if (workBitmap && size.cx <= workSize.cx && size.cy <= workSize.cy) return workBitmap.get();
    const SIZE grown{std::max(size.cx, workSize.cx), std::max(size.cy, workSize.cy)};
    const afx::unique_window_dc screen = afx::GetDC(nullptr);
    afx::unique_hbitmap made(::CreateCompatibleBitmap(screen.get().dc, grown.cx, grown.cy));
    if (!made) return nullptr;
    workBitmap = std::move(made);
    workSize = grown;
    return workBitmap.get();
}

bool FrameKey::operator==(const FrameKey& other) const {
    return std::memcmp(&fixed, &other.fixed, sizeof(fixed)) == 0 && text == other.text;
}

bool FrameMemo::PutBack(const FrameKey& key, HDC target, const RECT& area) const {
    const LONG width = area.right - area.left, height = area.bottom - area.top;
    if (!m_valid || (::GetLayout(target) & LAYOUT_RTL) != 0 || !(key == m_key) || m_pixels.size() != PixelCount(area))
        return false;
    // The kept pixels are a top-down 32-bit DIB of the area: one copy.
    const BITMAPINFO info = afx::TopDownDibInfo({width, height});
    return ::StretchDIBits(target, area.left, area.top, width, height, 0, 0, width, height, m_pixels.data(), &info,
                           DIB_RGB_COLORS, SRCCOPY) == height;
}

bool FrameMemo::PutBack(const FrameKey& key, const afx::CPaintScope& scope) const {
    if (!m_valid || scope.Buffer() == nullptr || !(key == m_key) || m_pixels.size() != PixelCount(scope.Device()))
        return false;
    scope.Buffer()->Write(scope.Device(), m_pixels.data());
    return true;
}

void FrameMemo::Keep(FrameKey key, const afx::CPaintScope& scope) {
    m_valid = false;
    if (scope.Buffer() == nullptr) return;
    m_pixels.resize(PixelCount(scope.Device()));
    scope.Buffer()->Read(scope.Device(), m_pixels.data());
    m_key = std::move(key);
    m_valid = true;
}

DrawPlainly::DrawPlainly() : m_previous(std::exchange(t_plainly, true)) {}

DrawPlainly::~DrawPlainly() { t_plainly = m_previous; }

bool DrawingPlainly() { return t_plainly; }

}  // namespace button_st
