// Making small images and counting what is alive, for the checks that a
// control gives back every icon, bitmap, cursor, menu and window it holds:
// shared by the Windows tests and the button benchmark. Wine's
// GetGuiResources always answers 0, so objects are counted through the
// handles themselves and through GDI's handle table.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

#include "afx/handles.h"
#include "afx/paint_scope.h"

namespace probe {

// A 32-bit bitmap (the screen's format) selected into a memory DC:
// somewhere to draw out of sight and read the pixels back, by device
// position whatever the DC's layout.
class Canvas {
public:
    Canvas(int width, int height);
    // The screen's pixels in area (screen coordinates), or a window's as
    // the screen shows them, in the screen's order.
    explicit Canvas(const RECT& area);
    explicit Canvas(HWND window);
    HDC dc() const { return m_surface.GetSafeHdc(); }
    int width() const { return m_width; }
    int height() const { return m_height; }
    // Copies the screen's pixels from its top-left corner at (left, top).
    void CopyScreen(int left, int top);
    // Negative coordinates count from the right or bottom edge.
    COLORREF At(int x, int y) const;
    // The box of the pixels that match(colour); empty (left >= right) if none.
    template <class Match>
    RECT Box(Match match) const {
        RECT box{m_width, m_height, 0, 0};
        for (LONG y = 0; y < m_height; ++y)
            for (LONG x = 0; x < m_width; ++x)
                if (match(At(x, y)))
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
        return box;
    }
    // How many of its pixels have the colour.
    int Count(COLORREF color) const;
    // The first pixel of the device rectangle within (row by row) that
    // differs from other's (of the same size); {-1, -1} when none does.
    POINT FirstDifference(const Canvas& other, const RECT& within) const;

private:
    int m_width, m_height;
    afx::CDibSurface m_surface;
};

// A size x size icon, its left half left and its right half right; the
// caller owns it.
HICON MakeHalfIcon(COLORREF left, COLORREF right, int size = 16);

// A size x size icon of one colour, fully opaque; the caller owns it.
HICON MakeIcon(COLORREF color, int size = 16);

// A size x size bitmap, its left half left and its right half right; the
// caller owns it.
HBITMAP MakeHalfBitmap(COLORREF left, COLORREF right, int size = 16);

// Whether the icon (or cursor) handle still names an icon. A freed handle's
// value can come back for a later object, so ask right after the change
// that should have freed it.
bool IconAlive(HICON icon);

// Every GDI object the process may still make taken by brushes, until the
// guard goes: whatever GDI is asked for meanwhile, it refuses.
class GdiExhausted {
public:
    GdiExhausted();
    ~GdiExhausted();
    GdiExhausted(const GdiExhausted&) = delete;
    GdiExhausted& operator=(const GdiExhausted&) = delete;
    long taken() const { return static_cast<long>(m_brushes.size()); }

private:
    std::vector<HBRUSH> m_brushes;
};

// How many more GDI objects the process may make now. Every object alive
// takes a slot, so the difference between two counts is what was made and
// kept in between.
inline long FreeGdiSlots() { return GdiExhausted().taken(); }

// The windows of the calling thread whose class is className (any depth).
int CountThreadWindows(const wchar_t* className);

}  // namespace probe
