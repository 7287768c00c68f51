// Cell colours, bubbles and outlines, and the cells the model reports while it runs.
#include <algorithm>

#include "ViewFixture.h"

namespace {

struct ColourCase {
    double temperature;
    int g;
};

class CellColourTest : public ViewTest, public ::testing::WithParamInterface<ColourCase> {};

TEST_P(CellColourTest, EveryPixelOfTheCellTakesTheColour) {
    const ColourCase c = GetParam();
    SetCell(3, 4, c.temperature, c.temperature, PHASE_LIQUID);
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    const PixelRect r = view.CellRect(3, 4);
    EXPECT_EQ(BoundsOf(Blue(c.g), PixelBox(0, 0, 566, 439)),
              Inclusive(r.left, r.top, r.right, r.bottom))
        << c.temperature << " C";
    // The neighbours keep their colour.
    EXPECT_EQ(Pixel(r.left - 1, r.top), Blue(36));
    EXPECT_EQ(Pixel(r.right, r.bottom), Blue(36));
}

INSTANTIATE_TEST_SUITE_P(
    Samples, CellColourTest,
    ::testing::Values(ColourCase{0, 6}, ColourCase{1, 6}, ColourCase{2, 6}, ColourCase{2.4, 6},
                      ColourCase{2.5, 12}, ColourCase{3, 12}, ColourCase{5, 12}, ColourCase{10, 24},
                      ColourCase{20, 48}, ColourCase{25, 60}, ColourCase{26, 66},
                      ColourCase{50, 120}, ColourCase{51, 120}, ColourCase{75, 180},
                      ColourCase{90, 216}, ColourCase{97, 228}, ColourCase{98, 234},
                      ColourCase{99, 234}, ColourCase{100, 240}, ColourCase{-5, 6},
                      ColourCase{130, 240}, ColourCase{-0.6, 6}, ColourCase{99.5, 240}));

TEST_F(ViewTest, BubbleStandsOnTheCellsLastColour) {
    const PixelRect r = view.CellRect(3, 4);
    SetCell(3, 4, 50, 50, PHASE_LIQUID);
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    // A hover outline on the cell is wiped by the bubble's repaint.
    view.DrawCellMarker(3, 4, kYellow);
    SetCell(3, 4, 100, 639, PHASE_VAPOUR);
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    EXPECT_EQ(Pixel(r.left, r.top), Blue(120));
    EXPECT_EQ(Pixel(r.right - 1, r.bottom - 1), Blue(120));
    EXPECT_EQ(Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kBubble);
    EXPECT_TRUE(BoundsOf(kYellow).isNull());
    // The bubble stays inside its cell, touching the middle of each side.
    EXPECT_EQ(BoundsOf(kBubble), Inclusive(r.left, r.top, r.right, r.bottom));

    // Redrawn as vapour again, it keeps the background it stands on.
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    EXPECT_EQ(Pixel(r.left, r.top), Blue(120));
    EXPECT_EQ(Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kBubble);
}

TEST_F(ViewTest, BubbleAfterARebuildStandsOnBlack) {
    const PixelRect r = view.CellRect(3, 4);
    SetCell(3, 4, 100, 639, PHASE_VAPOUR);
    view.FullRebuild(true);
    EXPECT_EQ(Pixel(r.left, r.top), kBlack);
    EXPECT_EQ(Pixel(r.right - 1, r.top), kBlack);
    EXPECT_EQ(Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2), kBubble);
    // The cells around it are drawn as usual.
    EXPECT_EQ(Pixel(r.left - 1, r.top), Blue(36));
}

struct FlatGridCase {
    int columns;
    int rows;
    int cx;
    int cy;
    Extent cell;
};

class FlatGridTest : public ViewTest, public ::testing::WithParamInterface<FlatGridCase> {};

// Bubbles at the walls, the surface and the floor of grids with flat or tall cells change
// no pixel outside their own cells and fill each cell from side to side.
TEST_P(FlatGridTest, BubblesKeepToTheirCells) {
    const FlatGridCase c = GetParam();
    Start(c.columns, c.rows, c.cx, c.cy);
    view.ClearSelection();
    view.FullRebuild(true);
    ASSERT_EQ((Extent{view.CellWidth(), view.CellHeight()}), c.cell);
    const PixelBuffer before = view.Frame();
    const std::pair<int, int> vapour[] = {
        {0, 0}, {c.columns - 1, c.rows - 1}, {0, c.rows - 1}, {c.columns / 2, c.rows / 2}};
    std::vector<PixelBox> cells;
    for (const auto& [col, row] : vapour) {
        SetCell(col, row, 100, 639, PHASE_VAPOUR);
        view.DrawCell(sim.Cell(row, col), col, row);
        const PixelRect r = view.CellRect(col, row);
        cells.push_back(Inclusive(r.left, r.top, r.right, r.bottom));
        EXPECT_EQ(BoundsOf(kBubble, Inclusive(r.left, r.top, r.right, r.bottom)),
                  Inclusive(r.left, r.top, r.right, r.bottom))
            << col << ", " << row;
    }
    const PixelBuffer& after = view.Frame();
    for (int y = 0; y < after.Height(); ++y) {
        for (int x = 0; x < after.Width(); ++x) {
            const bool inCell = std::any_of(cells.begin(), cells.end(),
                                            [x, y](const PixelBox& b) { return b.contains(x, y); });
            if (!inCell) {
                ASSERT_EQ(after.Pixel(x, y), before.Pixel(x, y)) << x << ", " << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, FlatGridTest,
                         ::testing::Values(FlatGridCase{3, 40, 640, 480, {181, 8}},
                                           FlatGridCase{80, 30, 1900, 200, {22, 3}},
                                           FlatGridCase{80, 80, 1200, 300, {13, 2}},
                                           FlatGridCase{60, 3, 640, 480, {9, 108}},
                                           FlatGridCase{20, 20, 640, 480, {27, 16}}));

// The ring of a cell: every pixel of its outermost row and column has the colour, the
// inside has not.
void ExpectRing(const PixelBuffer& image, const PixelRect& r, Rgb ring, Rgb inside) {
    for (int x = r.left; x < r.right; ++x) {
        EXPECT_EQ(image.Pixel(x, r.top), ring) << x;
        EXPECT_EQ(image.Pixel(x, r.bottom - 1), ring) << x;
    }
    for (int y = r.top; y < r.bottom; ++y) {
        EXPECT_EQ(image.Pixel(r.left, y), ring) << y;
        EXPECT_EQ(image.Pixel(r.right - 1, y), ring) << y;
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        for (int x = r.left + 1; x < r.right - 1; ++x) {
            ASSERT_EQ(image.Pixel(x, y), inside) << x << ", " << y;
        }
    }
}

TEST_F(ViewTest, SelectedCellGetsItsRingAfterEveryRedraw) {
    ASSERT_EQ(view.Selection(), (CellHit{10, 10}));
    ExpectRing(view.Frame(), view.CellRect(10, 10), kBlack, Blue(36));
    // Only the selected cell has black inside the grid.
    const PixelRect r = view.CellRect(10, 10);
    EXPECT_EQ(BoundsOf(kBlack, Inclusive(15, 25, 555, 345)),
              Inclusive(r.left, r.top, r.right, r.bottom));

    SetCell(10, 10, 80, 80, PHASE_LIQUID);
    view.DrawCell(sim.Cell(10, 10), 10, 10);
    ExpectRing(view.Frame(), r, kBlack, Blue(192));

    SetCell(10, 10, 100, 639, PHASE_VAPOUR);
    view.DrawCell(sim.Cell(10, 10), 10, 10);
    EXPECT_EQ(Pixel(r.left, r.top), kBlack);
    EXPECT_EQ(Pixel(r.right - 1, r.bottom - 1), kBlack);

    // Another cell drawn gets no ring.
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    EXPECT_EQ(Pixel(view.CellRect(3, 4).left, view.CellRect(3, 4).top), Blue(36));
}

TEST_F(ViewTest, MarkerCoversOnlyTheOutermostRing) {
    view.DrawCellMarker(2, 7, kYellow);
    ExpectRing(view.Frame(), view.CellRect(2, 7), kYellow, Blue(36));
    const PixelRect r = view.CellRect(2, 7);
    EXPECT_EQ(BoundsOf(kYellow), Inclusive(r.left, r.top, r.right, r.bottom));
}

TEST_F(ViewTest, CellsOfTheRunningModelShowTheirState) {
    sim.SetSeed(7);
    sim.SetRedrawObserver(&view);
    for (int tick = 0; tick < 60000; ++tick) {
        sim.Step();
    }
    sim.SetRedrawObserver(nullptr);
    int bubbles = 0;
    for (int row = 0; row < 20; ++row) {
        for (int col = 0; col < 20; ++col) {
            const CCell& cell = sim.Cell(row, col);
            const PixelRect r = view.CellRect(col, row);
            const Rgb centre = Pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            if (cell.m_nPhase == PHASE_VAPOUR) {
                ++bubbles;
                EXPECT_EQ(centre, kBubble) << col << ", " << row;
            } else {
                const int t = std::clamp(static_cast<int>(cell.m_dTemperature + 0.5), 0, 100);
                EXPECT_EQ(centre, Blue(6 + 6 * (39 * t / 100))) << col << ", " << row;
            }
        }
    }
    EXPECT_GT(bubbles, 0) << "the run should have boiled somewhere";
}

}  // namespace
