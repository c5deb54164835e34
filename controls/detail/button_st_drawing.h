// What CButtonST keeps for drawing, private to the button's sources (not
// installed with the package): the surfaces all buttons of a thread share,
// and the two memos that spare a repaint of an unchanged button its work.
//
// A memo is right only when its key holds everything its result depends
// on. The frame memo's key holds what the drawing reads that no setter
// announces (every setter forgets the frame through Repaint); the icon
// memo's key holds everything the system's icon drawing reads, the pixels
// under the icon included. tests/win/button_st_frames_test.cpp compares both,
// over long random runs, with frames drawn plainly (DrawPlainly).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "afx/handles.h"
#include "afx/paint_scope.h"

namespace button_st {

// The surfaces every button of a thread draws with, made on first use and
// grown to the largest asked for: the frame buffer, the memory DCs that
// hold a bitmap image and its mask while it is drawn, and the work bitmap
// (with its DC) that a greyed bitmap is composed in.
struct Surfaces {
    afx::CDibSurface frame;
    afx::unique_hdc image{::CreateCompatibleDC(nullptr)};
    afx::unique_hdc mask{::CreateCompatibleDC(nullptr)};
    afx::unique_hdc work{::CreateCompatibleDC(nullptr)};
    afx::unique_hbitmap workBitmap;
    SIZE workSize{};

    // The work bitmap, at least size big; null when GDI refuses one.
    HBITMAP Work(SIZE size);
};

// How many pixels a rectangle holds, as the memos keep them.
inline std::size_t PixelCount(const RECT& r) {
    return static_cast<std::size_t>(r.right - r.left) * static_cast<std::size_t>(r.bottom - r.top);
}

// Everything a CButtonST frame depends on besides the state its setters
// change (they forget the frame). Compared byte for byte: a new font may
// come back with an old one's handle, so the font is its description.
struct FrameKey {
    struct Fixed {
        RECT item, client;
        UINT state;  // the item state bits the drawing reads
        BOOL hover, menuOpen, isDefault, isCheckBox, highContrast, themed;
        int check;
        DWORD layout;
        UINT dpi;
        COLORREF system[6];
        LOGFONTW font;
    } fixed{};
    std::wstring text;

    bool operator==(const FrameKey& other) const;
};

// The last frame a button drew into the buffer, with its key.
class FrameMemo {
public:
    // Puts the kept frame straight onto a left-to-right target at area when
    // key is its key; false (nothing drawn) otherwise.
    bool PutBack(const FrameKey& key, HDC target, const RECT& area) const;
    // Writes the kept frame into the scope's buffer when key is its key;
    // false (nothing written) otherwise.
    bool PutBack(const FrameKey& key, const afx::CPaintScope& scope) const;
    // Keeps the frame just drawn in the scope's buffer under key.
    void Keep(FrameKey key, const afx::CPaintScope& scope);
    void Forget() { m_valid = false; }

private:
    bool m_valid = false;
    FrameKey m_key;
    std::vector<std::uint32_t> m_pixels;
};

// What the system's icon drawing read besides the pixels under the icon.
struct IconKey {
    HICON icon;
    UINT flags;
    LONG width, height;      // the extent drawn in
    COLORREF text, back;     // a monochrome icon is drawn in the DC's colours
    COLORREF light, shadow;  // the greyed (disabled) look
    bool operator==(const IconKey&) const = default;
};

// The system's icon drawing is slow (a third of a millisecond for a 32 px
// icon under Wine): an icon drawn again with the same key on the same
// pixels gets the pixels its last drawing gave.
class IconMemo {
public:
    // Draws with draw() at device rectangle at of surface, or writes what
    // the last drawing with an equal key on equal pixels gave.
    template <class DrawFn>
    void Draw(afx::CDibSurface& surface, const RECT& at, const IconKey& key, DrawFn draw);
    // The icon's handle may come back for another icon.
    void Forget() { m_valid = false; }

private:
    bool m_valid = false;
    IconKey m_key{};
    std::vector<std::uint32_t> m_under, m_drawn;  // the area before and after the last drawing
};

template <class DrawFn>
void IconMemo::Draw(afx::CDibSurface& surface, const RECT& at, const IconKey& key, DrawFn draw) {
    const std::size_t count = PixelCount(at);
    if (m_valid && key == m_key && m_under.size() == count && surface.Equals(at, m_under.data())) {
        surface.Write(at, m_drawn.data());
        return;
    }
    m_valid = false;
    m_under.resize(count);
    surface.Read(at, m_under.data());
    draw();
    m_drawn.resize(count);
    surface.Read(at, m_drawn.data());
    m_key = key;
    m_valid = true;
}

// While one lives, the thread's buttons draw every frame whole and straight
// on the target: no buffer, no memo. What the tests compare the buffered,
// memoised frames with.
class [[nodiscard]] DrawPlainly {
public:
    DrawPlainly();
    ~DrawPlainly();
    DrawPlainly(const DrawPlainly&) = delete;
    DrawPlainly& operator=(const DrawPlainly&) = delete;

private:
    bool m_previous;
};
bool DrawingPlainly();

// A button's share of its thread's surfaces, its memos and the draw under way.
struct Drawing {
    std::shared_ptr<Surfaces> surfaces;
    DWORD thread = 0;  // the thread whose surfaces they are
    FrameMemo frame;
    IconMemo icon;
    const afx::CPaintScope* scope = nullptr;  // while DrawItem runs
};

}  // namespace button_st
