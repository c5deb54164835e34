// Reading and rewriting the bytes of an in-memory dialog template, in both
// the classic (DLGTEMPLATE) and the extended (DLGTEMPLATEEX) layout.
// Portable: it works on plain bytes, so it is tested and fuzzed natively.
//
// Every function treats the bytes as untrusted: a template that is cut short
// or whose strings run past the end gives the documented empty result, never
// a read outside the span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace afx::dlgtemplate {

inline constexpr std::uint32_t kStyleSetFont = 0x40;    // DS_SETFONT
inline constexpr std::uint32_t kStyleShellFont = 0x48;  // DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)

struct FontInfo {
    bool present = false;      // the template carries a font (DS_SETFONT)
    std::uint16_t size = 0;    // the 16-bit point size value as stored
    std::uint16_t weight = 0;  // extended templates only
    std::uint8_t italic = 0;   // extended templates only
    std::uint8_t charset = 0;  // extended templates only
    std::u16string face;
};

// Whether the bytes start with the extended layout's version 1 and 0xFFFF signature.
bool IsExtended(std::span<const std::uint8_t> bytes);

// The template's total length in bytes: header and every control item.
// 0 when the template is malformed or longer than the span.
std::size_t TemplateSize(std::span<const std::uint8_t> bytes);

// The font the template names; present is false when it names none or the
// template is malformed.
FontInfo ReadFont(std::span<const std::uint8_t> bytes);

// Whether the template leaves the dialog's position to the program: it
// places it at (0, 0) and asks for neither centring nor absolute alignment.
bool IsUnplaced(std::span<const std::uint8_t> bytes);

// The dialog style word (0 for a malformed template).
std::uint32_t ReadStyle(std::span<const std::uint8_t> bytes);

// A copy of the template with its font set to face and size (the 16-bit
// value stored as is). A template without a font gets DS_SETFONT and the
// font; an extended template keeps its font's weight, italic flag and
// character set. Controls are carried over unchanged. Empty when the
// template is malformed.
std::vector<std::uint8_t> WithFont(std::span<const std::uint8_t> bytes, std::u16string_view face, std::uint16_t size);

}  // namespace afx::dlgtemplate
