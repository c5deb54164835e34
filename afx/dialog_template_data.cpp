#include "afx/dialog_template_data.h"

#include <optional>

namespace afx::dlgtemplate {
namespace {

// A bounds-checked little-endian cursor over the template bytes.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t pos() const { return m_pos; }
    bool ok() const { return m_ok; }

    std::uint16_t u16() {
        if (!need(2)) return 0;
        const std::uint16_t v = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::uint32_t u32() {
        const std::uint32_t lo = u16();
        const std::uint32_t hi = u16();
        return lo | (hi << 16);
    }
    std::uint8_t u8() {
        if (!need(1)) return 0;
        return m_bytes[m_pos++];
    }
    void skip(std::size_t n) {
        if (need(n)) m_pos += n;
    }
    // A zero-terminated UTF-16 string.
    std::u16string string() {
        std::u16string s;
        for (;;) {
            const std::uint16_t c = u16();
            if (!m_ok || c == 0) return s;
            s.push_back(static_cast<char16_t>(c));
        }
    }
    // A "string or ordinal" field: 0 (none), 0xFFFF + ordinal, or a string.
    void stringOrOrdinal() {
        const std::uint16_t first = u16();
        if (!m_ok || first == 0) return;
        if (first == 0xFFFF) {
            u16();
            return;
        }
        while (m_ok && u16() != 0) {
        }
    }
    void alignTo(std::size_t n) {
        const std::size_t rem = m_pos % n;
        if (rem != 0) skip(n - rem);
    }

private:
    bool need(std::size_t n) {
        if (!m_ok || m_bytes.size() - m_pos < n) m_ok = false;
        return m_ok;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

// Where the parts of a template lie.
struct Layout {
    bool extended = false;
    std::uint16_t x = 0;
    std::uint16_t y = 0;
    std::size_t styleOffset = 0;
    std::uint32_t style = 0;
    std::uint16_t itemCount = 0;
    std::size_t fontOffset = 0;   // where the font fields start (or would start)
    std::size_t fontEnd = 0;      // where they end (== fontOffset when there is no font)
    std::size_t itemsOffset = 0;  // first item, DWORD aligned
    std::size_t totalSize = 0;
    FontInfo font;
};

std::optional<Layout> Parse(std::span<const std::uint8_t> bytes) {
    Layout l;
    Reader r(bytes);
    l.extended = IsExtended(bytes);
    if (l.extended) {
        r.skip(4);  // version, signature
        r.u32();    // help id
        r.u32();    // extended style
        l.styleOffset = r.pos();
        l.style = r.u32();
    } else {
        l.styleOffset = r.pos();
        l.style = r.u32();
        r.u32();  // extended style
    }
    l.itemCount = r.u16();
    l.x = r.u16();
    l.y = r.u16();
    r.skip(4);            // cx, cy
    r.stringOrOrdinal();  // menu
    r.stringOrOrdinal();  // window class
    r.string();           // title
    l.fontOffset = r.pos();
    if (l.style & kStyleSetFont) {
        l.font.present = true;
        l.font.size = r.u16();
        if (l.extended) {
            l.font.weight = r.u16();
            l.font.italic = r.u8();
            l.font.charset = r.u8();
        }
        l.font.face = r.string();
    }
    l.fontEnd = r.pos();
    for (std::uint16_t i = 0; i < l.itemCount && r.ok(); ++i) {
        r.alignTo(4);
        if (i == 0) l.itemsOffset = r.pos();
        r.skip(l.extended ? 24 : 18);  // fixed part of the item
        r.stringOrOrdinal();           // class
        r.stringOrOrdinal();           // title
        r.skip(r.u16());               // creation data
    }
    if (!r.ok()) return std::nullopt;
    if (l.itemCount == 0) l.itemsOffset = r.pos();
    l.totalSize = r.pos();
    return l;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

}  // namespace

bool IsExtended(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
}

std::size_t TemplateSize(std::span<const std::uint8_t> bytes) {
    const auto layout = Parse(bytes);
    return layout ? layout->totalSize : 0;
}

FontInfo ReadFont(std::span<const std::uint8_t> bytes) {
    const auto layout = Parse(bytes);
    return layout ? layout->font : FontInfo{};
}

bool IsUnplaced(std::span<const std::uint8_t> bytes) {
    constexpr std::uint32_t kCentre = 0x0800 | 0x1000;  // DS_CENTER, DS_CENTERMOUSE
    constexpr std::uint32_t kAbsolute = 0x0001;         // DS_ABSALIGN
    const auto layout = Parse(bytes);
    return layout && layout->x == 0 && layout->y == 0 && (layout->style & (kCentre | kAbsolute)) == 0;
}

std::uint32_t ReadStyle(std::span<const std::uint8_t> bytes) {
    const auto layout = Parse(bytes);
    return layout ? layout->style : 0;
}

std::vector<std::uint8_t> WithFont(std::span<const std::uint8_t> bytes, std::u16string_view face, std::uint16_t size) {
    const auto layout = Parse(bytes);
    if (!layout) return {};
    const Layout& l = *layout;

    std::vector<std::uint8_t> out(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(l.fontOffset));
    const std::uint32_t style = l.style | kStyleSetFont;
    for (int i = 0; i < 4; ++i)
        out[l.styleOffset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(style >> (8 * i));

    Put16(out, size);
    if (l.extended) {
        Put16(out, l.font.present ? l.font.weight : 0);
        out.push_back(l.font.present ? l.font.italic : 0);
        out.push_back(l.font.present ? l.font.charset : 1 /* DEFAULT_CHARSET */);
    }
    for (char16_t c : face) Put16(out, static_cast<std::uint16_t>(c));
    Put16(out, 0);

    // Items start on a DWORD boundary; their inner alignment is relative to
    // that boundary, so the block is copied whole after re-padding.
    if (l.itemCount == 0) return out;
    while (out.size() % 4 != 0) out.push_back(0);
    out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(l.itemsOffset),
               bytes.begin() + static_cast<std::ptrdiff_t>(l.totalSize));
    return out;
}

}  // namespace afx::dlgtemplate
