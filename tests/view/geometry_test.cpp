// The picture of the default run in a 640 x 480 client area: W = 640, H = 439, cells of
// 27 x 16, grid width 540, grid bottom 345, scale step 8.
#include <algorithm>
#include <vector>

#include "ViewFixture.h"

namespace {

// Everything left of the colour scale, whose segments share the cells' colours.
const PixelBox kLeftOfScale(0, 0, 566, 439);

// A colour of the cells and the scale: red and green equal and below full, blue full.
bool IsCellColour(Rgb c) {
    return BlueOf(c) == 255 && RedOf(c) == GreenOf(c) && RedOf(c) < 255;
}

TEST(ViewRect, FollowsTheClientSize) {
    EXPECT_EQ(CVesselView::ViewRectFor(640, 480), (PixelRect{0, 0, 640, 439}));
    EXPECT_EQ(CVesselView::ViewRectFor(151, 101), (PixelRect{0, 0, 151, 88}));
    EXPECT_EQ(CVesselView::ViewRectFor(1000, 800), (PixelRect{0, 0, 1000, 735}));
}

TEST_F(ViewTest, WorkedExampleGeometry) {
    EXPECT_EQ(view.Frame().Size(), (Extent{640, 439}));
    EXPECT_EQ(view.CellWidth(), 27);
    EXPECT_EQ(view.CellHeight(), 16);
    EXPECT_EQ(view.ScaleStep(), 8);
    EXPECT_EQ(view.CellRect(0, 0), (PixelRect{15, 25, 42, 41}));
    EXPECT_EQ(view.CellRect(19, 19), (PixelRect{528, 329, 555, 345}));
    EXPECT_EQ(view.InfoPanelRect(), (PixelRect{477, 364, 634, 435}));
}

TEST_F(ViewTest, CellsFillTheGridExactly) {
    // Every cell is at 15 C; the selected centre cell carries its black ring.
    EXPECT_EQ(BoundsOf(Blue(36), kLeftOfScale), Inclusive(15, 25, 555, 345));
    EXPECT_EQ(BoundsOf(Blue(36), Inclusive(15, 25, 42, 41)), Inclusive(15, 25, 42, 41));
    EXPECT_EQ(BoundsOf(Blue(36), Inclusive(528, 329, 555, 345)), Inclusive(528, 329, 555, 345));
}

struct PixelCase {
    int x;
    int y;
    Rgb colour;
    const char* what;
};

class VesselPixelTest : public ViewTest, public ::testing::WithParamInterface<PixelCase> {};

TEST_P(VesselPixelTest, HasItsColour) {
    const PixelCase c = GetParam();
    EXPECT_EQ(Pixel(c.x, c.y), c.colour) << c.what << " at (" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Vertices, VesselPixelTest,
    ::testing::Values(PixelCase{5, 10, kGrey, "top of the left wall"},
                      PixelCase{4, 10, kBlack, "left of the left wall"},
                      PixelCase{5, 9, kBlack, "above the left wall"},
                      PixelCase{14, 10, kGrey, "inner top corner of the left wall"},
                      PixelCase{15, 10, kBlack, "band inside the walls"},
                      PixelCase{15, 24, kBlack, "band just above the grid"},
                      PixelCase{300, 17, kBlack, "band in the middle"},
                      PixelCase{554, 24, kBlack, "band at the right"},
                      PixelCase{14, 200, kGrey, "left wall"},
                      PixelCase{555, 10, kGrey, "top of the right wall"},
                      PixelCase{564, 10, kGrey, "outer top corner of the right wall"},
                      PixelCase{565, 10, kBlack, "right of the right wall"},
                      PixelCase{555, 344, kGrey, "right wall beside the last row"},
                      PixelCase{15, 345, kGrey, "floor under the first cell"},
                      PixelCase{554, 354, kGrey, "floor at the bottom"},
                      PixelCase{5, 354, kGrey, "bottom left corner"},
                      PixelCase{564, 354, kGrey, "bottom right corner"},
                      PixelCase{5, 355, kBlack, "below the floor"},
                      PixelCase{300, 355, kBlack, "below the floor, middle"},
                      PixelCase{565, 354, kBlack, "right of the floor"}));

TEST_F(ViewTest, BeforeAStartTheVesselIsEmpty) {
    view.FullRebuild(false);
    EXPECT_EQ(Pixel(15, 25), kBlack);
    EXPECT_EQ(Pixel(300, 200), kBlack);
    EXPECT_EQ(Pixel(554, 344), kBlack);
    EXPECT_EQ(Pixel(14, 200), kGrey);
    EXPECT_TRUE(BoundsOf(Blue(36), kLeftOfScale).isNull());
}

TEST_F(ViewTest, ColourScaleSegmentsRunFromPaleToDeep) {
    EXPECT_EQ(BoundsWhere(PixelBox(566, 0, 74, 439), IsCellColour), Inclusive(615, 15, 635, 335));
    for (int i = 0; i < 40; ++i) {
        const int top = 15 + 8 * i;
        const Rgb expected = Blue(240 - 6 * i);
        EXPECT_EQ(BoundsOf(expected, PixelBox(566, 0, 74, 439)), Inclusive(615, top, 635, top + 8))
            << "segment " << i;
    }
}

TEST_F(ViewTest, LabelsEndLeftOfTheScaleAtTheirTops) {
    MemoryDC measure;
    const char* labels[] = {"100", "80", "60", "40", "20", "0"};
    const int height = measure.GetTextExtent("0").height;
    std::vector<int> leftmost;
    for (int j = 0; j < 6; ++j) {
        const int top = 7 + 64 * j;
        const int width = measure.GetTextExtent(labels[j]).width;
        // The ink of the label lies in its measured box that ends at x = 612.
        const PixelBox ink =
            BoundsWhere(PixelBox(566, top, 49, height), [](Rgb c) { return c != kBlack; });
        ASSERT_FALSE(ink.isNull()) << labels[j];
        EXPECT_GE(ink.left(), 612 - width) << labels[j];
        EXPECT_LE(ink.right(), 611) << labels[j];
        EXPECT_GE(ink.top(), top) << labels[j];
        leftmost.push_back(ink.left());
        // The label is white text: grey levels of white on black, its strokes near white.
        int brightest = 0;
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            for (int x = ink.left(); x <= ink.right(); ++x) {
                const Rgb c = Pixel(x, y);
                EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << x << ", " << y;
                brightest = std::max(brightest, RedOf(c));
            }
        }
        EXPECT_GE(brightest, 240) << labels[j];
    }
    EXPECT_LT(leftmost.front(), leftmost.back());
    // Nothing but the labels lies between the vessel and the scale above the flames.
    std::function<bool(Rgb)> lit = [](Rgb c) { return c != kBlack; };
    PixelBox labelRows;
    for (int j = 0; j < 6; ++j) {
        labelRows = labelRows.united(PixelBox(565, 7 + 64 * j, 50, height));
    }
    const PixelBox all = BoundsWhere(PixelBox(565, 0, 50, 356), lit);
    EXPECT_TRUE(labelRows.contains(all)) << all.top() << ".." << all.bottom();
    EXPECT_TRUE(BoundsWhere(PixelBox(612, 0, 3, 356), lit).isNull());
}

struct FlameCase {
    int ends;
    int centre;
};

// Expected flame box at an anchor for a level, as an inclusive PixelBox (null when off).
PixelBox FlameBox(int anchor, int level) {
    switch (level) {
        case FLAME_STRONG:
            return PixelBox(Point{anchor, 364}, Point{anchor + 29, 436});
        case FLAME_MEDIUM:
            return PixelBox(Point{anchor + 5, 386}, Point{anchor + 24, 436});
        case FLAME_WEAK:
            return PixelBox(Point{anchor + 10, 408}, Point{anchor + 19, 436});
        default:
            return PixelBox();
    }
}

class FlameTest : public ViewTest, public ::testing::WithParamInterface<FlameCase> {};

TEST_P(FlameTest, EllipsesStandAtTheirAnchors) {
    const FlameCase c = GetParam();
    view.DrawFlames(FLAME_STRONG, FLAME_STRONG);  // whatever was there is cleared first
    view.DrawFlames(c.ends, c.centre);
    const std::pair<int, int> anchors[] = {
        {108, c.ends}, {432, c.ends}, {216, c.centre}, {324, c.centre}};
    PixelBox all;
    for (const auto& [anchor, level] : anchors) {
        EXPECT_EQ(BoundsOf(kRed, PixelBox(anchor, 0, 30, 439)), FlameBox(anchor, level))
            << "anchor " << anchor;
        all = all.united(FlameBox(anchor, level));
    }
    EXPECT_EQ(BoundsOf(kRed), all);
}

INSTANTIATE_TEST_SUITE_P(Levels, FlameTest,
                         ::testing::Values(FlameCase{FLAME_WEAK, FLAME_MEDIUM},
                                           FlameCase{FLAME_STRONG, FLAME_STRONG},
                                           FlameCase{FLAME_MEDIUM, FLAME_WEAK},
                                           FlameCase{FLAME_OFF, FLAME_STRONG},
                                           FlameCase{FLAME_OFF, FLAME_OFF}));

TEST_F(ViewTest, FlameAreaIsClearedExactly) {
    view.Frame().Fill(kWhite);
    view.ClearFlameArea();
    EXPECT_EQ(BoundsOf(kBlack), Inclusive(5, 356, 565, 437));
    view.Frame().Fill(kWhite);
    view.DrawFlames(FLAME_OFF, FLAME_OFF);
    EXPECT_EQ(BoundsOf(kBlack), Inclusive(5, 356, 565, 437));
}

TEST_F(ViewTest, SmallestViewStillHasAScale) {
    Start(20, 20, 151, 101);
    EXPECT_EQ(view.Frame().Size(), (Extent{151, 88}));
    EXPECT_GE(view.ScaleStep(), 1);
    EXPECT_EQ(view.CellWidth(), 2);
    EXPECT_EQ(view.CellHeight(), 2);
    // 40 segments of s pixels from y = 15, at x 126..145.
    const int s = view.ScaleStep();
    EXPECT_EQ(BoundsWhere(PixelBox(126, 0, 25, 88), IsCellColour),
              Inclusive(126, 15, 146, 15 + 40 * s));
    EXPECT_EQ(Pixel(15, 25), Blue(36));
}

struct EmptyCellCase {
    int columns;
    int rows;
};

class EmptyCellTest : public ViewTest, public ::testing::WithParamInterface<EmptyCellCase> {};

TEST_P(EmptyCellTest, NothingIsDrawnAndNothingIsHit) {
    const EmptyCellCase c = GetParam();
    Start(c.columns, c.rows, 151, 101);
    EXPECT_TRUE(view.CellWidth() == 0 || view.CellHeight() == 0);
    SetCell(1, 1, 100, 700, PHASE_VAPOUR);
    view.FullRebuild(false);
    const PixelBuffer withoutCells = view.Frame();
    view.FullRebuild(true);
    EXPECT_EQ(view.Frame(), withoutCells);
    view.DrawCell(sim.Cell(1, 1), 1, 1);
    view.DrawCellMarker(0, 0, kYellow);
    EXPECT_EQ(view.Frame(), withoutCells);
    for (int y = 0; y < 88; ++y) {
        for (int x = 0; x < 151; ++x) {
            ASSERT_FALSE(view.HitTest(x, y).has_value()) << x << ", " << y;
        }
    }
    EXPECT_FALSE(view.LButtonUp(15, 25));
    view.MouseMove(15, 25);
    EXPECT_TRUE(view.ShowsSelected());
}

INSTANTIATE_TEST_SUITE_P(Grids, EmptyCellTest,
                         ::testing::Values(EmptyCellCase{80, 20}, EmptyCellCase{20, 80},
                                           EmptyCellCase{80, 80}));

struct HitCase {
    int x;
    int y;
    int cellWidth;
    int cellHeight;
    std::optional<CellHit> expected;
};

class HitTestTable : public ::testing::TestWithParam<HitCase> {};

TEST_P(HitTestTable, FindsTheCellUnderThePoint) {
    const HitCase c = GetParam();
    EXPECT_EQ(CVesselView::HitTest(c.x, c.y, 20, 20, c.cellWidth, c.cellHeight), c.expected)
        << "(" << c.x << ", " << c.y << ")";
}

INSTANTIATE_TEST_SUITE_P(
    Edges, HitTestTable,
    ::testing::Values(HitCase{15, 25, 27, 16, CellHit{0, 0}}, HitCase{14, 25, 27, 16, {}},
                      HitCase{15, 24, 27, 16, {}}, HitCase{41, 40, 27, 16, CellHit{0, 0}},
                      HitCase{42, 41, 27, 16, CellHit{1, 1}},
                      HitCase{554, 25, 27, 16, CellHit{19, 0}}, HitCase{555, 25, 27, 16, {}},
                      HitCase{554, 344, 27, 16, CellHit{19, 19}}, HitCase{554, 345, 27, 16, {}},
                      HitCase{300, 200, 27, 16, CellHit{10, 10}}, HitCase{555, 200, 27, 16, {}},
                      HitCase{-5, -5, 27, 16, {}}, HitCase{15, 25, 0, 16, {}},
                      HitCase{15, 25, 27, 0, {}}));

}  // namespace
