#include "afx/dialog_template_data.h"

#include <gtest/gtest.h>

#include "template_builder.h"

using namespace afx::dlgtemplate;

namespace {

const std::u16string kShellDlg = u"MS Shell Dlg";

// The control items are the tail of the template, starting at the first
// DWORD boundary after the header.
std::vector<std::uint8_t> ItemBlock(const std::vector<std::uint8_t>& whole, std::size_t headerEnd) {
    while (headerEnd % 4) ++headerEnd;
    return {whole.begin() + static_cast<std::ptrdiff_t>(headerEnd), whole.end()};
}

class BothLayouts : public ::testing::TestWithParam<bool> {};

}  // namespace

TEST_P(BothLayouts, FontIsReplacedAndControlsKeptByteForByte) {
    const TemplateBuilder builder(GetParam());
    const auto original = builder.Build(0x90CA00C8, u"Vornix Utility", &kShellDlg, 8, 5);
    ASSERT_EQ(TemplateSize(original), original.size());
    EXPECT_EQ(IsExtended(original), GetParam());

    const auto revised = WithFont(original, u"Segoe UI", 0xFFF2);
    ASSERT_FALSE(revised.empty());
    EXPECT_EQ(TemplateSize(revised), revised.size());
    const FontInfo font = ReadFont(revised);
    EXPECT_TRUE(font.present);
    EXPECT_EQ(font.face, u"Segoe UI");
    EXPECT_EQ(font.size, 0xFFF2);  // stored as is, not turned into 14 or 9
    EXPECT_EQ(ReadStyle(revised), 0x90CA00C8u);
    if (GetParam()) {
        EXPECT_EQ(font.weight, 700);
        EXPECT_EQ(font.italic, 1);
        EXPECT_EQ(font.charset, 0xEE);
    }

    // The face got shorter, so the items moved; they must still be the same
    // bytes, starting on a DWORD boundary.
    const std::u16string segoe = u"Segoe UI";
    const std::size_t headerOriginal = builder.Build(0x90CA00C8, u"Vornix Utility", &kShellDlg, 8, 0).size();
    const std::size_t headerRevised = builder.Build(0x90CA00C8, u"Vornix Utility", &segoe, 0xFFF2, 0).size();
    EXPECT_EQ(ItemBlock(original, headerOriginal), ItemBlock(revised, headerRevised));
}

TEST_P(BothLayouts, TemplateWithoutFontGetsSetFontAndTheFont) {
    const TemplateBuilder builder(GetParam());
    const auto original = builder.Build(0x80C80080, u"About", nullptr, 0, 3);
    ASSERT_EQ(TemplateSize(original), original.size());
    EXPECT_FALSE(ReadFont(original).present);

    const auto revised = WithFont(original, u"Segoe UI", 0xFFF2);
    ASSERT_FALSE(revised.empty());
    EXPECT_EQ(ReadStyle(revised), 0x80C80080u | kStyleSetFont);
    const FontInfo font = ReadFont(revised);
    EXPECT_TRUE(font.present);
    EXPECT_EQ(font.face, u"Segoe UI");
    EXPECT_EQ(font.size, 0xFFF2);
    EXPECT_EQ(TemplateSize(revised), revised.size());
}

TEST_P(BothLayouts, MalformedTemplatesGiveEmptyResults) {
    const TemplateBuilder builder(GetParam());
    const auto whole = builder.Build(0x90CA00C8, u"Vornix Utility", &kShellDlg, 8, 2);
    // Every truncation is malformed: the reader must notice and never read past the end.
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const std::span<const std::uint8_t> part(whole.data(), cut);
        EXPECT_EQ(TemplateSize(part), 0u) << "cut at " << cut;
        EXPECT_TRUE(WithFont(part, u"Segoe UI", 0xFFF2).empty()) << "cut at " << cut;
        EXPECT_FALSE(ReadFont(part).present) << "cut at " << cut;
    }
    // Trailing bytes beyond the template are not part of it.
    auto longer = whole;
    longer.insert(longer.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(TemplateSize(longer), whole.size());
}

INSTANTIATE_TEST_SUITE_P(ClassicAndExtended, BothLayouts, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Extended" : "Classic"; });
