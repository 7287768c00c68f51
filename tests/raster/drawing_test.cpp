#include <gtest/gtest.h>

#include <algorithm>

#include "Drawing.h"
#include "FatalTrap.h"
#include "PixelBox.h"

namespace {

constexpr Rgb kBlack = RGB(0, 0, 0);
constexpr Rgb kRed = RGB(255, 0, 0);
constexpr Rgb kBlue = RGB(0, 0, 255);

// A 40 x 30 black frame selected into a memory context.
class DrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bitmap.Create(40, 30));
        ASSERT_TRUE(dc.Create());
        ASSERT_NE(dc.SelectBitmap(&bitmap), nullptr);
    }

    // Pixels of colour c inside [0,40) x [0,30), as a bounding box (l, t, r, b) inclusive.
    PixelBox BoundsOf(Rgb c) const {
        PixelBox box;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (bitmap.Pixels().Pixel(x, y) == c) {
                    box = box.united(PixelBox(x, y, 1, 1));
                }
            }
        }
        return box;
    }

    FatalTrap trap;
    FrameBitmap bitmap;
    MemoryDC dc;
};

TEST_F(DrawingTest, NewFrameIsBlack) {
    EXPECT_EQ(BoundsOf(kBlack), PixelBox(0, 0, 40, 30));
}

TEST_F(DrawingTest, RectRegionFillCoversRightAndBottomExclusive) {
    Region region;
    Brush brush;
    ASSERT_TRUE(region.CreateRect(3, 4, 10, 12));
    ASSERT_TRUE(brush.CreateSolid(kBlue));
    dc.FillRegion(region, brush);
    EXPECT_EQ(BoundsOf(kBlue), PixelBox(Point{3, 4}, Point{9, 11}));
}

TEST_F(DrawingTest, EmptyRectRegionChangesNothing) {
    Region region;
    Brush brush;
    ASSERT_TRUE(region.CreateRect(3, 4, 3, 12));
    ASSERT_TRUE(brush.CreateSolid(kBlue));
    dc.FillRegion(region, brush);
    EXPECT_TRUE(BoundsOf(kBlue).isNull());
}

TEST_F(DrawingTest, PolygonRegionExcludesRightAndBottomEdges) {
    Region region;
    Brush brush;
    ASSERT_TRUE(region.CreatePolygon({{2, 2}, {12, 2}, {12, 8}, {2, 8}}));
    ASSERT_TRUE(brush.CreateSolid(kRed));
    dc.FillRegion(region, brush);
    EXPECT_EQ(BoundsOf(kRed), PixelBox(Point{2, 2}, Point{11, 7}));
}

// The vessel's shape: a U of 2-pixel walls and floor around a 6 x 5 hollow. The hollow
// stays untouched, the outer right and bottom edges are left out.
TEST_F(DrawingTest, UShapedPolygonFillsTheWallsAndLeavesTheHollow) {
    Region region;
    Brush brush;
    ASSERT_TRUE(region.CreatePolygon(
        {{3, 4}, {5, 4}, {5, 9}, {11, 9}, {11, 4}, {13, 4}, {13, 11}, {3, 11}}));
    ASSERT_TRUE(brush.CreateSolid(kRed));
    dc.FillRegion(region, brush);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool wall = (x >= 3 && x < 5 && y >= 4 && y < 11) ||
                              (x >= 11 && x < 13 && y >= 4 && y < 11) ||
                              (x >= 3 && x < 13 && y >= 9 && y < 11);
            EXPECT_EQ(dc.GetPixel(x, y), wall ? kRed : kBlack) << x << ", " << y;
        }
    }
}

// Parts of a polygon off the bitmap are clipped; a polygon of fewer than three corners
// fills nothing.
TEST_F(DrawingTest, PolygonsAreClippedToTheBitmap) {
    Region region;
    Brush brush;
    ASSERT_TRUE(brush.CreateSolid(kRed));
    ASSERT_TRUE(region.CreatePolygon({{-10, -10}, {50, -10}, {50, 2}, {-10, 2}}));
    dc.FillRegion(region, brush);
    EXPECT_EQ(BoundsOf(kRed), PixelBox(0, 0, 40, 2));
    ASSERT_TRUE(region.CreatePolygon({{5, 5}, {20, 20}}));
    dc.FillRegion(region, brush);
    EXPECT_EQ(BoundsOf(kRed), PixelBox(0, 0, 40, 2));
}

TEST_F(DrawingTest, RectangleOutlinesWithPenAndFillsWithBrush) {
    Pen pen;
    Brush brush;
    ASSERT_TRUE(pen.CreateSolid(kRed));
    ASSERT_TRUE(brush.CreateSolid(kBlue));
    dc.SelectPen(&pen);
    dc.SelectBrush(&brush);
    dc.Rectangle(5, 5, 15, 12);
    EXPECT_EQ(BoundsOf(kRed), PixelBox(Point{5, 5}, Point{14, 11}));
    EXPECT_EQ(BoundsOf(kBlue), PixelBox(Point{6, 6}, Point{13, 10}));
}

// Ellipses of every shape the view makes: its pen outlines and its brush fills a shape
// that keeps to [left, right - 1] x [top, bottom - 1], touches all four sides, has a pixel
// in every row and column and is symmetric about the box's centre.
class EllipseTest : public ::testing::TestWithParam<Extent> {};

TEST_P(EllipseTest, StaysInsideItsBoxAndTouchesEverySide) {
    const int w = GetParam().width;
    const int h = GetParam().height;
    FrameBitmap frame;
    MemoryDC dc;
    Pen pen;
    Brush brush;
    ASSERT_TRUE(frame.Create(w + 20, h + 20));
    ASSERT_TRUE(dc.Create());
    ASSERT_NE(dc.SelectBitmap(&frame), nullptr);
    ASSERT_TRUE(pen.CreateSolid(kRed));
    ASSERT_TRUE(brush.CreateSolid(kBlue));
    dc.SelectPen(&pen);
    dc.SelectBrush(&brush);
    dc.Ellipse(10, 10, 10 + w, 10 + h);

    const PixelBuffer& image = frame.Pixels();
    const PixelBox box(10, 10, w, h);
    PixelBox drawn;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            if (image.Pixel(x, y) != kBlack) {
                ASSERT_TRUE(box.contains(x, y)) << "spills to " << x << ", " << y;
                drawn |= PixelBox(x, y, 1, 1);
                const bool lit = image.Pixel(2 * box.center().x + (w + 1) % 2 - x,
                                             2 * box.center().y + (h + 1) % 2 - y) != kBlack;
                EXPECT_TRUE(lit) << "not symmetric at " << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(drawn, box);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        EXPECT_NE(image.Pixel(box.center().x, y), kBlack) << "row " << y;
    }
    for (int x = box.left(); x <= box.right(); ++x) {
        EXPECT_NE(image.Pixel(x, box.center().y), kBlack) << "column " << x;
    }
    EXPECT_EQ(image.Pixel(box.left(), box.center().y), kRed);
    EXPECT_EQ(image.Pixel(box.center().x, box.top()), kRed);
    if (w > 2 && h > 2) {
        EXPECT_EQ(image.Pixel(box.center().x, box.center().y), kBlue);
    }
}

INSTANTIATE_TEST_SUITE_P(BoxSizes, EllipseTest,
                         ::testing::Values(Extent{1, 1}, Extent{7, 1}, Extent{1, 7}, Extent{2, 2},
                                           Extent{3, 2}, Extent{40, 2}, Extent{13, 4},
                                           Extent{40, 4}, Extent{30, 6}, Extent{181, 8},
                                           Extent{27, 16}, Extent{10, 25}, Extent{4, 40},
                                           Extent{6, 108}, Extent{30, 73}));

struct LineCase {
    Point from;
    Point to;
    int pixels;
};

class LineTest : public DrawingTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTest, LeavesOutTheEndPoint) {
    Pen pen;
    ASSERT_TRUE(pen.CreateSolid(kRed));
    dc.SelectPen(&pen);
    const LineCase c = GetParam();
    dc.MoveTo(c.from.x, c.from.y);
    dc.LineTo(c.to.x, c.to.y);
    EXPECT_EQ(dc.GetPixel(c.from.x, c.from.y), c.pixels > 0 ? kRed : kBlack);
    EXPECT_EQ(dc.GetPixel(c.to.x, c.to.y), kBlack);
    int count = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            count += dc.GetPixel(x, y) == kRed ? 1 : 0;
        }
    }
    EXPECT_EQ(count, c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Directions, LineTest,
                         ::testing::Values(LineCase{{2, 3}, {2, 10}, 7},
                                           LineCase{{9, 3}, {2, 3}, 7},
                                           LineCase{{2, 2}, {12, 12}, 10},
                                           LineCase{{20, 5}, {0, 6}, 20},
                                           LineCase{{4, 4}, {4, 4}, 0}));

TEST_F(DrawingTest, OffFramePixelsAreClippedAndReadAsZero) {
    Pen pen;
    ASSERT_TRUE(pen.CreateSolid(kRed));
    dc.SelectPen(&pen);
    dc.MoveTo(-5, 1);
    dc.LineTo(45, 1);
    EXPECT_EQ(BoundsOf(kRed), PixelBox(0, 1, 40, 1));
    dc.SetPixel(40, 0, kRed);
    dc.SetPixel(-1, -1, kRed);
    EXPECT_EQ(dc.GetPixel(40, 0), 0u);
}

TEST_F(DrawingTest, SelectionReturnsWhatItDisplaces) {
    Pen first;
    Pen second;
    Pen* stock = dc.SelectPen(&first);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(dc.SelectPen(&second), &first);
    EXPECT_EQ(dc.SelectPen(stock), &second);
}

TEST_F(DrawingTest, TextIsMeasuredAndWrittenFromItsTopLeft) {
    const Extent hundred = dc.GetTextExtent("100");
    const Extent zero = dc.GetTextExtent("0");
    EXPECT_GT(hundred.width, zero.width);
    EXPECT_GT(zero.height, 0);
    dc.SetTransparentText();
    dc.SetTextColor(RGB(255, 255, 255));
    dc.TextOut(10, 8, "88");
    // Some ink lands inside the measured box, none left of, above or below it.
    int ink = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (dc.GetPixel(x, y) != kBlack) {
                ++ink;
                EXPECT_GE(x, 10);
                EXPECT_GE(y, 8);
                EXPECT_LT(y, 8 + dc.GetTextExtent("88").height);
            }
        }
    }
    EXPECT_GT(ink, 0);
}

struct SeamCase {
    ResourceStep step;
    int occurrence;
};

class SeamTest : public DrawingTest, public ::testing::WithParamInterface<SeamCase> {};

// Runs every kind of resource step in three rounds; the armed occurrence is the first and
// only step to fail (later steps of that round may fail as a consequence).
TEST_P(SeamTest, FailsExactlyTheArmedOccurrence) {
    const SeamCase c = GetParam();
    FailureSeam::Arm(c.step, c.occurrence);
    for (int round = 1; round <= 3; ++round) {
        FrameBitmap b;
        MemoryDC d;
        Pen pen;
        Brush brush;
        Region region;
        const std::pair<ResourceStep, bool> results[] = {
            {ResourceStep::CreateBitmap, b.Create(2, 2)},
            {ResourceStep::CreateMemoryDC, d.Create()},
            {ResourceStep::SelectBitmap, d.SelectBitmap(&b) != nullptr},
            {ResourceStep::CreateRegion, region.CreateRect(0, 0, 1, 1)},
            {ResourceStep::CreatePolygonRegion, region.CreatePolygon({{0, 0}, {1, 1}, {0, 1}})},
            {ResourceStep::DeleteRegion, region.Delete()},
            {ResourceStep::CreatePen, pen.CreateSolid(0)},
            {ResourceStep::SelectPen, d.SelectPen(&pen) != nullptr},
            {ResourceStep::DeletePen, pen.Delete()},
            {ResourceStep::CreateBrush, brush.CreateSolid(0)},
            {ResourceStep::SelectBrush, d.SelectBrush(&brush) != nullptr},
            {ResourceStep::DeleteBrush, brush.Delete()},
            {ResourceStep::DeleteMemoryDC, d.Delete()},
            {ResourceStep::DeleteBitmap, b.Delete()},
            {ResourceStep::CreateWindow, FailureSeam::Pass(ResourceStep::CreateWindow)}};
        const auto firstFailure = std::find_if(std::begin(results), std::end(results),
                                               [](const auto& r) { return !r.second; });
        if (round != c.occurrence) {
            EXPECT_EQ(firstFailure, std::end(results)) << "round " << round;
        } else {
            ASSERT_NE(firstFailure, std::end(results));
            EXPECT_EQ(firstFailure->first, c.step);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SeamTest,
    ::testing::Values(
        SeamCase{ResourceStep::CreateBitmap, 1}, SeamCase{ResourceStep::CreateMemoryDC, 2},
        SeamCase{ResourceStep::SelectBitmap, 3}, SeamCase{ResourceStep::CreateRegion, 1},
        SeamCase{ResourceStep::CreatePolygonRegion, 2}, SeamCase{ResourceStep::DeleteRegion, 1},
        SeamCase{ResourceStep::CreatePen, 3}, SeamCase{ResourceStep::SelectPen, 2},
        SeamCase{ResourceStep::DeletePen, 1}, SeamCase{ResourceStep::CreateBrush, 2},
        SeamCase{ResourceStep::SelectBrush, 1}, SeamCase{ResourceStep::DeleteBrush, 3},
        SeamCase{ResourceStep::DeleteMemoryDC, 1}, SeamCase{ResourceStep::DeleteBitmap, 2},
        SeamCase{ResourceStep::CreateWindow, 3}));

TEST(FatalError, ReachesTheInstalledHandlerWithTextAndCode) {
    const FatalTrap trap;
    try {
        FatalError("ブラシの作成に失敗しました。", -26);
    } catch (const FatalReport& report) {
        EXPECT_STREQ(report.what(), "ブラシの作成に失敗しました。");
        EXPECT_EQ(report.code, -26);
    }
}

TEST(FatalErrorDeathTest, DefaultHandlerWritesTheMessageAndExitsWithTheCode) {
    EXPECT_EXIT(FatalError("ビットマップの作成に失敗しました。", -5),
                ::testing::ExitedWithCode(-5 & 0xFF), "ビットマップの作成に失敗しました。");
}

}  // namespace
