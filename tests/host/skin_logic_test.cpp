// The skin engine's portable arithmetic: fitting an image into its control,
// where each back type places it, GDI colours to ARGB, a font's style and
// size rules, and the PNG button's draw-state table.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "skin/argb.h"
#include "skin/control_props.h"
#include "skin/draw_state.h"
#include "skin/font_rules.h"
#include "skin/image_place.h"

namespace {

using namespace skin;

TEST(FitSize, ShrinksOnlyAndKeepsTheAspect) {
    EXPECT_EQ(FitSize(200, 100, 100, 100), (Size32{100, 50})) << "too wide: width to the box";
    EXPECT_EQ(FitSize(50, 50, 100, 100), (Size32{50, 50})) << "fits: its own size";
    EXPECT_EQ(FitSize(100, 200, 100, 100), (Size32{50, 100})) << "too tall: the second step";
    // Both steps: 400x300 in 100x50 is 100x75 after the first, then 66x50 (truncated).
    EXPECT_EQ(FitSize(400, 300, 100, 50), (Size32{66, 50}));
    // Step two divides by the height of step one, not the image's.
    EXPECT_EQ(FitSize(300, 299, 100, 90), (Size32{90, 90}));
    EXPECT_EQ(FitSize(30, 30, 10, 200), (Size32{10, 10})) << "never enlarges to fill the box";
    EXPECT_EQ(FitSize(7, 3, 2, 100), (Size32{2, 0})) << "truncated toward zero";
}

TEST(FitSize, DegenerateBoxesAndHugeImagesStayDefined) {
    EXPECT_EQ(FitSize(10, 10, 0, 0), (Size32{0, 0}));
    EXPECT_EQ(FitSize(0, 0, 10, 10), (Size32{0, 0}));
    // 32-bit products would overflow; double precision does not.
    EXPECT_EQ(FitSize(100000, 50000, 40000, 40000), (Size32{40000, 20000}));
    EXPECT_EQ(FitSize(10, 0, 5, -1), (Size32{0, -1})) << "a zero height is no division by zero";
}

TEST(TruncToInt, TowardZeroAndSaturating) {
    EXPECT_EQ(TruncToInt(2.9), 2);
    EXPECT_EQ(TruncToInt(-2.9), -2);
    EXPECT_EQ(TruncToInt(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(TruncToInt(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(TruncToInt(std::nan("")), 0);
}

TEST(PlaceImage, EachBackType) {
    // Fit: a 200x100 image in a 100x100 control at (10, 20) is 100x50 at (x, y + 25) ...
    EXPECT_EQ(PlaceImage(kBackFit, 200, 100, 10, 20, 100, 100), (ImagePlacement{false, 10, 45, 100, 50}));
    // ... and a 50x50 one keeps its size at (x + 25, y + 25).
    EXPECT_EQ(PlaceImage(kBackFit, 50, 50, 10, 20, 100, 100), (ImagePlacement{false, 35, 45, 50, 50}));
    // Odd margins: the half is truncated.
    EXPECT_EQ(PlaceImage(kBackFit, 50, 50, 0, 0, 101, 55), (ImagePlacement{false, 25, 2, 50, 50}));
    // Fit truncates fractional image sizes before fitting.
    EXPECT_EQ(PlaceImage(kBackFit, 50.9, 50.9, 0, 0, 100, 100), (ImagePlacement{false, 25, 25, 50, 50}));
    // Stretch: the control's own rectangle whatever the image.
    EXPECT_EQ(PlaceImage(kBackStretch, 7, 900, 3, 4, 60, 30), (ImagePlacement{false, 3, 4, 60, 30}));
}

TEST(PlaceImage, NaturalSizeIsCutWhenLargerInEitherDirection) {
    EXPECT_EQ(PlaceImage(kBackNatural, 40, 30, 5, 6, 100, 100), (ImagePlacement{false, 5, 6, 40, 30}));
    EXPECT_EQ(PlaceImage(kBackNatural, 100, 100, 5, 6, 100, 100), (ImagePlacement{false, 5, 6, 100, 100}))
        << "exactly the control's size is not cut";
    EXPECT_EQ(PlaceImage(kBackNatural, 101, 10, 5, 6, 100, 100), (ImagePlacement{true, 5, 6, 100, 100}));
    EXPECT_EQ(PlaceImage(kBackNatural, 10, 100.5, 5, 6, 100, 100), (ImagePlacement{true, 5, 6, 100, 100}));
    EXPECT_EQ(PlaceImage(kBackNatural, 100 + 1e-8, 10, 0, 0, 100, 100).cut, false) << "within the tolerance";
    // Unknown back types are natural size.
    EXPECT_EQ(PlaceImage(7, 200, 10, 0, 0, 100, 100), (ImagePlacement{true, 0, 0, 100, 100}));
    EXPECT_EQ(PlaceImage(-1, 20, 10, 0, 0, 100, 100), (ImagePlacement{false, 0, 0, 20, 10}));
}

TEST(ToArgb, ReordersBytesAndKeepsTheLowAlphaByte) {
    EXPECT_EQ(ToArgb(0x000000FF, 128), 0x80FF0000u) << "pure red";
    EXPECT_EQ(ToArgb(0x00123456, 255), 0xFF563412u);
    EXPECT_EQ(ToArgb(0xAB000000, 0), 0x00000000u) << "byte 3 of the colour is ignored";
    EXPECT_EQ(ToArgb(0x00FF0000, 0x1FF), 0xFF0000FFu) << "alpha above 255: its low 8 bits";
    EXPECT_EQ(ToArgb(0x0000FF00, 0x180), 0x8000FF00u);
    EXPECT_EQ(ToArgb(0xFFFFFFFF, -1), 0xFFFFFFFFu) << "no fill (-1) as a colour";
}

TEST(FontRules, OnlySixAndSevenHundredAreBold) {
    EXPECT_EQ(FontStyleOf(400, 0, 0, 0), 0);
    EXPECT_EQ(FontStyleOf(600, 0, 0, 0), kFontStyleBold);
    EXPECT_EQ(FontStyleOf(700, 0, 0, 0), kFontStyleBold);
    EXPECT_EQ(FontStyleOf(800, 0, 0, 0), 0);
    EXPECT_EQ(FontStyleOf(900, 0, 0, 0), 0);
    EXPECT_EQ(FontStyleOf(700, 1, 1, 1), kFontStyleBold | kFontStyleItalic | kFontStyleUnderline | kFontStyleStrikeout);
    EXPECT_EQ(FontStyleOf(0, 2, 255, 1), kFontStyleStrikeout) << "flags count only when exactly 1";
}

TEST(FontRules, EmSizeFromHeight) {
    EXPECT_EQ(EmSizeOf(-14), 14.0f);
    EXPECT_EQ(EmSizeOf(16), 16.0f);
    EXPECT_EQ(EmSizeOf(0), 0.0f);
    EXPECT_EQ(EmSizeOf(std::numeric_limits<std::int32_t>::min()), 2147483648.0f) << "no overflow";
}

// The whole table: for each state the event leads to (state, recompose, track).
TEST(DrawState, TransitionTable) {
    struct Row {
        ButtonEvent event;
        StateChange from[4];
    };
    const Row rows[] = {
        {ButtonEvent::MouseMove, {{1, true, true}, {1, false, false}, {2, false, false}, {1, true, true}}},
        {ButtonEvent::MouseLeave, {{0, true, false}, {0, true, false}, {0, true, false}, {0, true, false}}},
        {ButtonEvent::LeftDown, {{2, true, false}, {2, true, false}, {2, true, false}, {2, true, false}}},
        {ButtonEvent::LeftUp, {{0, true, false}, {0, true, false}, {1, true, false}, {0, true, false}}},
        {ButtonEvent::Enabled, {{0, true, false}, {0, true, false}, {0, true, false}, {0, true, false}}},
        {ButtonEvent::Disabled, {{3, true, false}, {3, true, false}, {3, true, false}, {3, true, false}}},
    };
    for (const Row& row : rows)
        for (std::int32_t from = 0; from < 4; ++from) {
            const StateChange got = NextDrawState(from, row.event);
            const StateChange& want = row.from[from];
            SCOPED_TRACE(testing::Message() << "event " << int(row.event) << " from " << from);
            EXPECT_EQ(got.state, want.state);
            EXPECT_EQ(got.recompose, want.recompose);
            EXPECT_EQ(got.track_leave, want.track_leave);
        }
}

TEST(DrawState, UnknownStoredValuesActLikeNormal) {
    const StateChange move = NextDrawState(9, ButtonEvent::MouseMove);
    EXPECT_EQ(move.state, kStateHover);
    EXPECT_TRUE(move.track_leave);
    EXPECT_EQ(NextDrawState(-1, ButtonEvent::LeftUp).state, kStateNormal);
}

}  // namespace
