// Pictures of the screen, or of a part of it, kept as 24-bit DIBs and
// written as .bmp files.
#pragma once

#include <windows.h>

#include <memory>

#include "afx/handles.h"

namespace demo {

class Picture {
public:
    // A blank picture; valid() tells whether GDI could make it.
    Picture(int width, int height) noexcept;
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    [[nodiscard]] bool valid() const noexcept { return m_bits != nullptr && m_dc; }
    [[nodiscard]] int width() const noexcept { return m_width; }
    [[nodiscard]] int height() const noexcept { return m_height; }
    // A memory DC drawing into the picture.
    [[nodiscard]] HDC dc() const noexcept { return m_dc.get(); }

    // Copies the area of source whose top-left corner is (left, top).
    bool CopyFrom(HDC source, int left, int top) const noexcept;
    [[nodiscard]] COLORREF PixelAt(int x, int y) const noexcept;
    // How many of the picture's pixels have the colour.
    [[nodiscard]] int Count(COLORREF color) const noexcept;
    // How many pixels differ from other's (a picture of the same size).
    [[nodiscard]] int Differing(const Picture& other) const noexcept;
    // The box of the pixels that match(colour); empty (left >= right) if none.
    template <class Match>
    [[nodiscard]] RECT Box(Match match) const {
        RECT box{m_width, m_height, 0, 0};
        for (LONG y = 0; y < m_height; ++y)
            for (LONG x = 0; x < m_width; ++x)
                if (match(PixelAt(x, y)))
                    box = {box.left < x ? box.left : x, box.top < y ? box.top : y,
                           box.right > x + 1 ? box.right : x + 1, box.bottom > y + 1 ? box.bottom : y + 1};
        return box;
    }
    bool SaveBmp(const wchar_t* path) const noexcept;

private:
    int m_width;
    int m_height;
    void* m_bits = nullptr;
    afx::unique_hbitmap m_bitmap;
    afx::unique_hdc m_dc;
    afx::unique_select_object m_selected;  // last: the bitmap is selected out before the DC goes
};

// The part of the screen inside area (screen coordinates, cut to the
// screen), or null when nothing of it is on the screen.
std::unique_ptr<Picture> ScreenPicture(const RECT& area);

// The whole (virtual) screen as the calling thread's desktop shows it.
bool SaveScreenPicture(const wchar_t* path) noexcept;

// The part of the screen inside area (screen coordinates, cut to the
// screen). With a window's GetWindowRect: the window of another process as
// the screen shows it, frame and all, without relying on reading that
// process's window DC from outside.
bool SaveScreenArea(const RECT& area, const wchar_t* path) noexcept;

}  // namespace demo
