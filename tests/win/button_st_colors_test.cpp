// The button's derived icons and colours, to the level: where only double
// precision gives the result, exact fractions or the x87 unit's wider
// intermediates are one level off.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <utility>

#include "afx/handles.h"
#include "controls/button_st.h"
#include "gdi_probe.h"

TEST(ButtonSTColors, DerivedIconsAndColoursAreTheDoublePrecisionOnesOnEitherArchitecture) {
    const struct {
        COLORREF source, gray, darker;
    } icons[] = {
        {RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
        {RGB(255, 255, 255), RGB(255, 255, 255), RGB(191, 191, 191)},
        {RGB(128, 128, 128), RGB(127, 127, 127), RGB(96, 96, 96)},
        {RGB(1, 1, 1), RGB(0, 0, 0), RGB(0, 0, 0)},
        {RGB(255, 0, 0), RGB(76, 76, 76), RGB(191, 0, 0)},
        {RGB(0, 72, 24), RGB(44, 44, 44), RGB(0, 54, 18)},  // grey 45 exactly, 44.999999999999993 in doubles
        {RGB(10, 10, 10), RGB(10, 10, 10), RGB(7, 7, 7)},
        {RGB(0, 10, 45), RGB(11, 11, 11), RGB(0, 7, 33)},
    };
    for (const auto& row : icons) {
        const afx::unique_hicon source(probe::MakeIcon(row.source, 4));
        for (const auto& [made, expected] :
             {std::pair{afx::unique_hicon(CButtonST::CreateGrayscaleIcon(source.get())), row.gray},
              std::pair{afx::unique_hicon(CButtonST::CreateDarkerIcon(source.get())), row.darker}}) {
            ASSERT_TRUE(made);
            const probe::Canvas canvas(4, 4);
            ::DrawIconEx(canvas.dc(), 0, 0, made.get(), 4, 4, 0, nullptr, DI_IMAGE);
            EXPECT_EQ(canvas.At(1, 1), expected) << std::hex << row.source;
        }
    }
    EXPECT_EQ(CButtonST::CreateGrayscaleIcon(nullptr), nullptr);
    const struct {
        COLORREF color;
        double factor;
        COLORREF darker;
    } darkenings[] = {
        {RGB(10, 5, 30), 0.1, RGB(9, 4, 27)},  // 10 x 0.1 is 1 in doubles, a little more exactly
        {RGB(10, 15, 250), 0.2, RGB(8, 12, 200)},
        {RGB(10, 60, 255), 0.9, RGB(1, 6, 25)},
        {RGB(200, 100, 50), 1.0, RGB(0, 0, 0)},
        {RGB(200, 100, 50), 1.5, RGB(200, 100, 50)},  // factors out of range
        {RGB(200, 100, 50), std::nan(""), RGB(200, 100, 50)},
    };
    for (const auto& row : darkenings)
        EXPECT_EQ(CButtonST::DarkenColor(row.color, row.factor), row.darker) << std::hex << row.color;
}
