// Rewriting dialog templates of both layouts: the font is replaced, the
// control items travel unchanged, and a template cut short is refused.
#include <gtest/gtest.h>

#include "afx/dialog_template_data.h"

using namespace afx::dlgtemplate;

namespace {

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
}
void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    Put16(b, std::uint16_t(v)), Put16(b, std::uint16_t(v >> 16));
}
void PutText(std::vector<std::uint8_t>& b, std::u16string_view s) {
    for (char16_t c : s) Put16(b, c);
    Put16(b, 0);
}

// A template as a resource compiler lays it out: header, optional font,
// then items on DWORD boundaries, every third with creation data.
std::vector<std::uint8_t> Template(bool extended, std::uint32_t style, const char16_t* face, int items) {
    if (face != nullptr) style |= kStyleSetFont;
    std::vector<std::uint8_t> b;
    if (extended)
        Put16(b, 1), Put16(b, 0xFFFF), Put32(b, 0), Put32(b, 0x40000), Put32(b, style);
    else
        Put32(b, style), Put32(b, 0x40000);
    Put16(b, std::uint16_t(items));
    for (int i = 0; i < 4; ++i) Put16(b, std::uint16_t(i < 2 ? 0 : 100 * i));  // at the origin
    Put16(b, 0xFFFF), Put16(b, 145), Put16(b, 0);                              // menu 145, default class
    PutText(b, u"Vornix Utility");
    if (face != nullptr) {
        Put16(b, 8);
        if (extended) Put16(b, 700), b.push_back(1), b.push_back(0xEE);  // weight, italic, charset
        PutText(b, face);
    }
    for (int i = 0; i < items; ++i) {
        while (b.size() % 4) b.push_back(0);
        if (extended)
            Put32(b, 0), Put32(b, 0), Put32(b, 0x50010000u);
        else
            Put32(b, 0x50010000u), Put32(b, 0);
        for (int k = 0; k < 4; ++k) Put16(b, std::uint16_t(i + k));
        if (extended)
            Put32(b, std::uint32_t(1000 + i));
        else
            Put16(b, std::uint16_t(1000 + i));
        Put16(b, 0xFFFF), Put16(b, 0x0080), PutText(b, i % 2 ? u"Help..." : u"OK");
        Put16(b, std::uint16_t(i % 3 == 2 ? 2 : 0));
        if (i % 3 == 2) Put16(b, 0xBEEF);
    }
    return b;
}

// The items: the bytes after the header (with its font) and its padding.
std::vector<std::uint8_t> Items(const std::vector<std::uint8_t>& whole, std::size_t header) {
    return {whole.begin() + static_cast<std::ptrdiff_t>((header + 3) / 4 * 4), whole.end()};
}

}  // namespace

TEST(DialogTemplate, FontIsSetInBothLayoutsAndItemsTravelUnchanged) {
    for (const bool extended : {false, true}) {
        for (const char16_t* face : {u"MS Shell Dlg", static_cast<const char16_t*>(nullptr)}) {
            SCOPED_TRACE(testing::Message() << "extended " << extended << ", font " << (face != nullptr));
            const auto original = Template(extended, 0x90CA0088, face, 5);
            ASSERT_EQ(TemplateSize(original), original.size());
            EXPECT_EQ(IsExtended(original), extended);

            const auto revised = WithFont(original, u"Segoe UI", 0xFFF2);
            ASSERT_EQ(TemplateSize(revised), revised.size());
            const FontInfo font = ReadFont(revised);
            EXPECT_TRUE(font.present);
            EXPECT_EQ(font.face, u"Segoe UI");
            EXPECT_EQ(font.size, 0xFFF2);  // stored as is: neither 14 nor 9
            EXPECT_EQ(ReadStyle(revised), 0x90CA0088u | kStyleSetFont);
            if (extended && face != nullptr)
                EXPECT_EQ((std::array{font.weight, std::uint16_t(font.italic), std::uint16_t(font.charset)}),
                          (std::array<std::uint16_t, 3>{700, 1, 0xEE}));
            EXPECT_EQ(Items(original, Template(extended, 0x90CA0088, face, 0).size()),
                      Items(revised, Template(extended, 0x90CA0088, u"Segoe UI", 0).size()));
        }
    }
}

TEST(DialogTemplate, TemplatesCutShortAreRefusedWithoutReadingPastTheEnd) {
    for (const bool extended : {false, true}) {
        const auto whole = Template(extended, 0x90CA0088, u"MS Shell Dlg", 3);
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            const std::span<const std::uint8_t> part(whole.data(), cut);
            EXPECT_EQ(TemplateSize(part), 0u) << "cut at " << cut;
            EXPECT_TRUE(WithFont(part, u"Segoe UI", 0xFFF2).empty()) << "cut at " << cut;
            EXPECT_FALSE(ReadFont(part).present) << "cut at " << cut;
        }
        auto longer = whole;
        longer.insert(longer.end(), {1, 2, 3, 4, 5});  // bytes after the template are not part of it
        EXPECT_EQ(TemplateSize(longer), whole.size());
        // A template left at the origin without DS_CENTER is the program's to place.
        EXPECT_TRUE(IsUnplaced(Template(extended, 0x90CA0088, nullptr, 0)));
        EXPECT_FALSE(IsUnplaced(Template(extended, 0x90CA0088 | 0x0800 /* DS_CENTER */, nullptr, 0)));
    }
}
