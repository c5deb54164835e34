// Drawing a control's frame so that no draw depends on what an earlier one
// left behind: every draw begins from one known device-context state, in an
// off-screen surface shared by the thread's controls (or, when GDI refuses a
// surface that large, on the target itself), and reaches the screen in one
// copy. A right-to-left target is drawn right-to-left off-screen too, while
// images keep their own orientation (CUnmirrored), as the system's buttons
// show them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "afx/handles.h"

namespace afx {

// The device pixels that a rectangle of dc's logical coordinates covers
// (mirrored in a right-to-left DC), left <= right.
RECT DeviceRect(HDC dc, const RECT& logical);

// Puts dc into the state every draw starts from, whatever was done with it
// before: black text on an opaque white background, copy pen mode,
// left/top text alignment, the stock white brush and black pen selected,
// the DC brush white and the DC pen black, no extra character spacing,
// colour-on-colour stretching, alternate filling and the brush origin at
// brushOrigin (device pixels). The font, layout, clipping and mapping are
// left to the caller.
void ResetDrawingState(HDC dc, POINT brushOrigin);

// A 32-bit top-down DIB of size: how a CDibSurface holds its pixels, and
// how pixels read from one are handed to GDI again.
BITMAPINFO TopDownDibInfo(SIZE size);

// A 32-bit top-down DIB section selected into a memory DC of its own: an
// off-screen surface of the same format whatever DC it is drawn for, whose
// pixels can also be read and written directly. Made on the first Reserve,
// grown when an area outgrows it, never shrunk.
class CDibSurface {
public:
    // Makes the surface at least size big; false when GDI refuses, and the
    // surface is then left as it was.
    bool Reserve(SIZE size);
    HDC GetSafeHdc() const { return m_dc.get(); }
    SIZE GetSize() const { return m_size; }

    // The pixels of a device rectangle inside the surface, row by row, from
    // or into out/in (width x height values). Each flushes GDI first.
    void Read(const RECT& device, std::uint32_t* out) const;
    void Write(const RECT& device, const std::uint32_t* in);
    bool Equals(const RECT& device, const std::uint32_t* in) const;

private:
    friend class CPaintScope;
    bool m_inUse = false;  // a draw is under way in it (a nested one goes in place)
    afx::unique_hdc m_dc;
    afx::unique_hbitmap m_bitmap;
    afx::unique_select_object m_selected;  // after the two: let go first
    std::uint32_t* m_pixels = nullptr;
    SIZE m_size{};
};

// One draw of area on target. The drawing goes to buffer when it can hold
// the area (laid out as the target), no other draw is using it and GDI can
// read the target back (not a printer or a metafile), otherwise to the
// target itself; StartDrawing readies it, and the DC is
// handed back as it came when the scope ends. Nothing reaches a buffered
// target until Commit.
class [[nodiscard]] CPaintScope {
public:
    // buffer may be null: the draw goes to the target.
    CPaintScope(HDC target, const RECT& area, CDibSurface* buffer);
    ~CPaintScope();
    CPaintScope(const CPaintScope&) = delete;
    CPaintScope& operator=(const CPaintScope&) = delete;

    // The DC to draw in, from ResetDrawingState with the target's font, in
    // the target's logical coordinates; a buffer starts with the target's
    // pixels. Not needed for a frame written whole into the buffer.
    HDC StartDrawing();
    // The DC drawn in.
    HDC dc() const { return m_dc; }
    // The surface drawn in, when it is the buffer; null on the target.
    CDibSurface* Buffer() const { return m_buffer; }
    // The area's device pixels in the DC drawn in.
    const RECT& Device() const { return m_device; }
    // Copies the drawn area onto the target (nothing when drawn in place).
    void Commit();

private:
    HDC m_target;
    RECT m_area;
    CDibSurface* m_buffer = nullptr;
    HDC m_dc = nullptr;
    int m_saved = 0;
    RECT m_device{};
};

// Within its scope, dc draws in device pixels, left to right, so that an
// image drawn at Rect() shows the right way round where the logical
// rectangle lies, in a right-to-left DC too.
class [[nodiscard]] CUnmirrored {
public:
    CUnmirrored(HDC dc, const RECT& logical);
    ~CUnmirrored() { ::RestoreDC(m_dc, m_saved); }
    CUnmirrored(const CUnmirrored&) = delete;
    CUnmirrored& operator=(const CUnmirrored&) = delete;

    const RECT& Rect() const { return m_rect; }

private:
    HDC m_dc;
    int m_saved;
    RECT m_rect;
};

}  // namespace afx
