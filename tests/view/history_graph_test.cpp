#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "Drawing.h"
#include "HistoryGraph.h"

namespace {

constexpr Rgb kBlack = RGB(0, 0, 0);
constexpr Rgb kGrey = RGB(50, 50, 50);
constexpr Rgb kBlue = RGB(0, 0, 255);
constexpr Rgb kRed = RGB(255, 0, 0);

struct PlotYCase {
    int value;
    int height;
    double fullScale;
    int y;
};

class PlotYTest : public ::testing::TestWithParam<PlotYCase> {};

TEST_P(PlotYTest, MapsValueToRow) {
    const PlotYCase c = GetParam();
    EXPECT_EQ(PlotY(c.value, c.height, c.fullScale), c.y);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, PlotYTest,
    ::testing::Values(PlotYCase{15, 200, TEMPERATURE_FULL_SCALE, 163},  // 180 - 27 + 10
                      PlotYCase{63, 200, HEAT_FULL_SCALE, 185},         // 180 - 4.25 -> 175
                      PlotYCase{0, 200, TEMPERATURE_FULL_SCALE, 190},
                      PlotYCase{0, 78, HEAT_FULL_SCALE, 68},
                      // -10.8 truncates toward zero to -10, which still lands on row 0.
                      PlotYCase{106, 200, TEMPERATURE_FULL_SCALE, 0},
                      PlotYCase{107, 200, TEMPERATURE_FULL_SCALE, -2},
                      PlotYCase{INT_MIN, 200, TEMPERATURE_FULL_SCALE, INT_MAX}));

TEST(PlotY, HugeValuesDoNotOverflow) {
    // INT_MAX * 180 does not fit an int; the row must still lie far above the surface.
    EXPECT_LT(PlotY(INT_MAX, 200, TEMPERATURE_FULL_SCALE), -1'000'000'000);
    EXPECT_LT(PlotY(INT_MAX, 4000, HEAT_FULL_SCALE), -1'000'000);
    EXPECT_GT(PlotY(INT_MIN + 1, 4000, HEAT_FULL_SCALE), 1'000'000);
}

// A surface of any size, including the ones narrower than the window ever gives.
class GraphSurface : public ::testing::Test {
protected:
    void Make(int width, int height) {
        w = width;
        h = height;
        ASSERT_TRUE(bitmap.Create(w, h));
        ASSERT_TRUE(dc.Create());
        ASSERT_NE(dc.SelectBitmap(&bitmap), nullptr);
    }
    void Draw() {
        ClearGraph(dc, w, h);
        DrawGridDots(dc, w, h);
        DrawCurves(dc, w, h, samples.data());
    }
    Rgb At(int x, int y) const { return bitmap.Pixels().Pixel(x, y); }

    int w = 0;
    int h = 0;
    FrameBitmap bitmap;
    MemoryDC dc;
    std::array<HistorySample, HISTORY_SAMPLE_COUNT> samples{};
};

struct DotGridCase {
    int width;
    int height;
};

class DotGridTest : public GraphSurface, public ::testing::WithParamInterface<DotGridCase> {};

TEST_P(DotGridTest, GreyDotsAtHundredthsAndTwentiethsOnBlack) {
    Make(GetParam().width, GetParam().height);
    // Paint the surface white first so that the clearing is checked too.
    bitmap.Pixels().Fill(RGB(255, 255, 255));
    samples.fill(HistorySample{INT_MAX, INT_MAX});  // both curves far above the surface
    Draw();

    PixelBuffer expected;
    ASSERT_TRUE(expected.Allocate(w, h));
    for (int i = 1; i < 100; ++i) {
        for (int j = 1; j < 20; ++j) {
            expected.Row(h * j / 20)[w * i / 100] = kGrey;
        }
    }
    EXPECT_EQ(bitmap.Pixels(), expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DotGridTest,
                         ::testing::Values(DotGridCase{100, 78}, DotGridCase{60, 50},
                                           DotGridCase{337, 151}));

TEST_F(GraphSurface, NarrowSurfaceDrawsEntriesThatShareAColumnAsAVerticalRun) {
    Make(60, 50);                  // band 30: value 0 at y 40, full scale at y 10
    samples[1].temperature = 100;  // entries 0 and 1 both lie at x 0
    Draw();
    for (int y = 10; y < 40; ++y) {
        EXPECT_EQ(At(0, y), kBlue) << "y " << y;
    }
    // The flat heat curve runs at y 40 up to, not including, x 59 and covers the blue.
    EXPECT_EQ(At(0, 40), kRed);
    EXPECT_EQ(At(58, 40), kRed);
    EXPECT_EQ(At(59, 40), kGrey);  // the grid dot under the left-out end point
}

TEST_F(GraphSurface, JumpToAHugeValueIsAClippedVerticalRun) {
    Make(200, 200);
    samples[99].temperature = INT_MAX;
    Draw();
    // Entry 98 sits at (196, 190); the segment to entry 99 leaves through the top edge.
    for (int y = 0; y < 190; ++y) {
        ASSERT_EQ(At(196, y), kBlue) << "y " << y;
    }
    EXPECT_EQ(At(197, 0), kBlack);
    EXPECT_EQ(At(196, 190), kRed);  // the heat curve at 0 J crosses it
}

}  // namespace
