#include "afx/paint_scope.h"

#include <algorithm>
#include <cstring>

namespace afx {

namespace {

// Larger surfaces are refused rather than asked of GDI: a side this long is
// no control's, and the byte count stays far from any overflow.
constexpr LONG kLargestSide = 16384;

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

// Copies area (logical coordinates of both) from one DC to the other laid
// out alike: both mirror alike, so the pixels keep their order. A DC that
// keeps bitmaps unmirrored would turn them round, so not for this copy.
void CopyArea(HDC to, HDC from, const RECT& area) {
    const DWORD toLayout = ::GetLayout(to), fromLayout = ::GetLayout(from);
    if (toLayout & LAYOUT_BITMAPORIENTATIONPRESERVED) ::SetLayout(to, toLayout & ~LAYOUT_BITMAPORIENTATIONPRESERVED);
    if (fromLayout & LAYOUT_BITMAPORIENTATIONPRESERVED)
        ::SetLayout(from, fromLayout & ~LAYOUT_BITMAPORIENTATIONPRESERVED);
    ::BitBlt(to, area.left, area.top, Width(area), Height(area), from, area.left, area.top, SRCCOPY);
    if (toLayout & LAYOUT_BITMAPORIENTATIONPRESERVED) ::SetLayout(to, toLayout);
    if (fromLayout & LAYOUT_BITMAPORIENTATIONPRESERVED) ::SetLayout(from, fromLayout);
}

// GDI reads pixels back from the screen and from bitmaps only: the buffer
// starts as a copy of the target, and a printer's or a metafile's would
// leave it as the last draw left it.
bool ReadsBack(HDC dc) {
    const DWORD type = ::GetObjectType(dc);
    return type == OBJ_MEMDC || (type == OBJ_DC && ::GetDeviceCaps(dc, TECHNOLOGY) == DT_RASDISPLAY);
}

}  // namespace

RECT DeviceRect(HDC dc, const RECT& logical) {
    POINT corners[2] = {{logical.left, logical.top}, {logical.right, logical.bottom}};
    ::LPtoDP(dc, corners, 2);
    RECT device{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    // Mirrored, logical x lands on device pixel m - x: the rectangle's
    // pixels run from just right of its right edge's image to its left
    // edge's image, inclusive.
    if (device.left > device.right) device = {corners[1].x + 1, device.top, corners[0].x + 1, device.bottom};
    if (device.top > device.bottom) std::swap(device.top, device.bottom);
    return device;
}

void ResetDrawingState(HDC dc, POINT brushOrigin) {
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, OPAQUE);
    ::SetROP2(dc, R2_COPYPEN);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::SetDCBrushColor(dc, RGB(255, 255, 255));
    ::SetDCPenColor(dc, RGB(0, 0, 0));
    ::SetTextCharacterExtra(dc, 0);
    ::SetTextJustification(dc, 0, 0);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::SetPolyFillMode(dc, ALTERNATE);
    ::SetBrushOrgEx(dc, brushOrigin.x, brushOrigin.y, nullptr);
    ::MoveToEx(dc, 0, 0, nullptr);
}

BITMAPINFO TopDownDibInfo(SIZE size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    return info;
}

bool CDibSurface::Reserve(SIZE size) {
    if (size.cx <= 0 || size.cy <= 0 || size.cx > kLargestSide || size.cy > kLargestSide) return false;
    if (m_dc && size.cx <= m_size.cx && size.cy <= m_size.cy) return true;
    if (!m_dc) m_dc.reset(::CreateCompatibleDC(nullptr));
    if (!m_dc) return false;
    const SIZE grown{std::max(size.cx, m_size.cx), std::max(size.cy, m_size.cy)};
    const BITMAPINFO info = TopDownDibInfo(grown);
    void* bits = nullptr;
    afx::unique_hbitmap made(::CreateDIBSection(m_dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!made || bits == nullptr) return false;
    m_selected.reset();  // the old bitmap leaves the DC before it is deleted
    m_bitmap = std::move(made);
    m_selected = afx::SelectObject(m_dc.get(), m_bitmap.get());
    m_pixels = static_cast<std::uint32_t*>(bits);
    m_size = grown;
    return true;
}

void CDibSurface::Read(const RECT& device, std::uint32_t* out) const {
    ::GdiFlush();
    const auto width = static_cast<std::size_t>(Width(device));
    for (LONG y = device.top; y < device.bottom; ++y, out += width)
        std::memcpy(out, m_pixels + y * m_size.cx + device.left, width * sizeof(std::uint32_t));
}

void CDibSurface::Write(const RECT& device, const std::uint32_t* in) {
    ::GdiFlush();
    const auto width = static_cast<std::size_t>(Width(device));
    for (LONG y = device.top; y < device.bottom; ++y, in += width)
        std::memcpy(m_pixels + y * m_size.cx + device.left, in, width * sizeof(std::uint32_t));
}

bool CDibSurface::Equals(const RECT& device, const std::uint32_t* in) const {
    ::GdiFlush();
    const auto width = static_cast<std::size_t>(Width(device));
    for (LONG y = device.top; y < device.bottom; ++y, in += width)
        if (std::memcmp(m_pixels + y * m_size.cx + device.left, in, width * sizeof(std::uint32_t)) != 0) return false;
    return true;
}

CPaintScope::CPaintScope(HDC target, const RECT& area, CDibSurface* buffer) : m_target(target), m_area(area) {
    // Window origins of mirrored DCs are not taken alike everywhere (Wine
    // moves them the other way): a right-to-left area is drawn off-screen
    // only where no origin is needed across, at the left edge.
    const bool mirrored = (::GetLayout(target) & LAYOUT_RTL) != 0;
    if (buffer != nullptr && !buffer->m_inUse && (!mirrored || area.left == 0) && ReadsBack(target) &&
        buffer->Reserve({Width(area), Height(area)})) {
        const HDC dc = buffer->GetSafeHdc();
        m_saved = ::SaveDC(dc);
        ::SetLayout(dc, ::GetLayout(target) & LAYOUT_RTL);
        ::SetMapMode(dc, MM_TEXT);
        ::SetViewportOrgEx(dc, 0, 0, nullptr);
        ::SetWindowOrgEx(dc, area.left, area.top, nullptr);
        const RECT device = DeviceRect(dc, area);
        // An area that does not land inside the surface is drawn in place.
        const SIZE held = buffer->GetSize();
        if (device.left >= 0 && device.top >= 0 && device.right <= held.cx && device.bottom <= held.cy &&
            Width(device) == Width(area) && Height(device) == Height(area)) {
            m_buffer = buffer;
            m_buffer->m_inUse = true;
            m_dc = dc;
            m_device = device;
        } else {
            ::RestoreDC(dc, m_saved);
        }
    }
    if (m_buffer == nullptr) {
        m_dc = target;
        m_saved = ::SaveDC(target);
        m_device = DeviceRect(target, area);
    }
}

HDC CPaintScope::StartDrawing() {
    if (m_buffer != nullptr) {
        ::SelectObject(m_dc, ::GetCurrentObject(m_target, OBJ_FONT));
        // The buffer starts as the target is: what a draw leaves unpainted
        // shows what it shows when drawn in place.
        CopyArea(m_dc, m_target, m_area);
    }
    ResetDrawingState(m_dc, {m_device.left, m_device.top});
    return m_dc;
}

CPaintScope::~CPaintScope() {
    ::RestoreDC(m_dc, m_saved);
    if (m_buffer != nullptr) m_buffer->m_inUse = false;
}

void CPaintScope::Commit() {
    if (m_buffer != nullptr) CopyArea(m_target, m_dc, m_area);
}

CUnmirrored::CUnmirrored(HDC dc, const RECT& logical)
    : m_dc(dc), m_saved(::SaveDC(dc)), m_rect(DeviceRect(dc, logical)) {
    ::SetLayout(dc, 0);
    ::SetMapMode(dc, MM_TEXT);
    ::SetWindowOrgEx(dc, 0, 0, nullptr);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
}

}  // namespace afx
