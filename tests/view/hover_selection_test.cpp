// The info panel, the hover and selection outlines, and the frame's lifecycle.
#include <cmath>

#include "ViewFixture.h"

namespace {

struct InfoCase {
    int col;
    int row;
    double temperature;
    double heat;
    const char* cell;
    const char* temp;
    const char* joules;
};

class CellInfoFormat : public ::testing::TestWithParam<InfoCase> {};

TEST_P(CellInfoFormat, ShowsColumnRowDegreesAndJoules) {
    const InfoCase c = GetParam();
    const CellInfoText text =
        CVesselView::FormatCellInfo(c.col, c.row, CCell(c.temperature, c.heat, PHASE_LIQUID));
    EXPECT_EQ(text.cell, c.cell);
    EXPECT_EQ(text.temperature, c.temp);
    EXPECT_EQ(text.heat, c.joules);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CellInfoFormat,
    ::testing::Values(
        // Truncated degrees (37, not 38) and rounded joules (37.9 * 4.18 = 158.4).
        InfoCase{5, 12, 37.9, 37.9, "Cell: ( 5,12)", "Temp.:  37 [ﾟC]", "Heat: 158 [J]"},
        InfoCase{0, 0, 100, 639, "Cell: ( 0, 0)", "Temp.: 100 [ﾟC]", "Heat: 2671 [J]"},
        InfoCase{79, 79, 99.99, 0.1, "Cell: (79,79)", "Temp.:  99 [ﾟC]", "Heat:   0 [J]"},
        InfoCase{3, 4, -0.5, -0.5, "Cell: ( 3, 4)", "Temp.:   0 [ﾟC]", "Heat:  -1 [J]"},
        // A run gone astray: values that are not finite never read as 0 or as a limit.
        InfoCase{1, 2, std::nan(""), std::nan(""), "Cell: ( 1, 2)", "Temp.: NaN [ﾟC]",
                 "Heat: NaN [J]"},
        InfoCase{1, 2, -HUGE_VAL, HUGE_VAL, "Cell: ( 1, 2)", "Temp.: -inf [ﾟC]", "Heat: inf [J]"}));

TEST(CellInfoFormat, DegreeMarkIsTheHalfWidthSemiVoicedMark) {
    const CellInfoText text = CVesselView::FormatCellInfo(0, 0, CCell(20, 20, PHASE_LIQUID));
    EXPECT_EQ(text.temperature.find("\uFF9F"), 12u);  // three bytes of UTF-8
    EXPECT_EQ(text.temperature.size(), 17u);
}

TEST_F(ViewTest, PanelIsClearedAndHoldsThreeLines) {
    SetCell(5, 12, 37.9, 37.9, PHASE_LIQUID);
    view.Frame().Fill(kWhite);
    view.DrawCellInfo(5, 12);
    // Black exactly on the panel, apart from the text.
    EXPECT_EQ(BoundsWhere(PixelBox(0, 0, 640, 439), [](Rgb c) { return c != kWhite; }),
              Inclusive(477, 364, 634, 435));
    EXPECT_EQ(Pixel(477, 434), kBlack);
    EXPECT_EQ(Pixel(633, 364), kBlack);
    EXPECT_EQ(Pixel(633, 434), kBlack);

    // On a black panel, every lit pixel lies in one of the three measured line boxes.
    view.FullRebuild(true);
    view.DrawCellInfo(5, 12);
    const CellInfoText text = CVesselView::FormatCellInfo(5, 12, sim.Cell(12, 5));
    MemoryDC measure;
    const int h = measure.GetTextExtent("T").height;
    const PixelBox lines[] = {
        PixelBox(477, 364, measure.GetTextExtent(text.cell).width, h),
        PixelBox(477, 364 + h + 2, measure.GetTextExtent(text.temperature).width, h),
        PixelBox(477, 364 + 2 * h + 4, measure.GetTextExtent(text.heat).width, h)};
    auto lit = [](Rgb c) { return c != kBlack; };
    for (const PixelBox& line : lines) {
        EXPECT_FALSE(BoundsWhere(line, lit).isNull()) << line.top();
    }
    const PixelBox panel = Inclusive(477, 364, 634, 435);
    for (int y = panel.top(); y <= panel.bottom(); ++y) {
        for (int x = panel.left(); x <= panel.right(); ++x) {
            if (lit(Pixel(x, y))) {
                const bool inLine =
                    lines[0].contains(x, y) || lines[1].contains(x, y) || lines[2].contains(x, y);
                ASSERT_TRUE(inLine) << x << ", " << y;
            }
        }
    }
}

// The widest values a cell can show (the int limits) fit the panel of the default frame; on
// any frame, a narrower value drawn after a wider one leaves nothing of it behind.
TEST_F(ViewTest, WideValuesFitThePanelAndLeaveNothingBehind) {
    const struct {
        int cx, cy;
        bool fits;
    } frames[] = {{640, 480, true}, {400, 300, false}, {151, 101, false}};
    for (const auto& f : frames) {
        Start(20, 20, f.cx, f.cy);
        const PixelRect p = view.InfoPanelRect();
        SetCell(5, 12, 1, 1, PHASE_LIQUID);
        view.DrawCellInfo(5, 12);
        const PixelBuffer narrow = view.Frame();
        for (const double wide : {-1e300, 1e300}) {
            SetCell(5, 12, wide, wide, PHASE_LIQUID);
            view.DrawCellInfo(5, 12);
            const PixelBox lit =
                BoundsWhere(PixelBox(p.left, p.top, f.cx, f.cy), [](Rgb c) { return c != kBlack; });
            EXPECT_EQ(Inclusive(p.left, p.top, p.right, p.bottom).contains(lit), f.fits)
                << f.cx << " " << wide;
            SetCell(5, 12, 1, 1, PHASE_LIQUID);
            view.DrawCellInfo(5, 12);
            EXPECT_TRUE(view.Frame() == narrow) << f.cx << " " << wide;
        }
    }
}

TEST_F(ViewTest, RebuildLeavesThePanelBlack) {
    view.DrawCellInfo(10, 10);
    view.FullRebuild(true);
    EXPECT_TRUE(
        BoundsWhere(PixelBox(477, 364, 157, 71), [](Rgb c) { return c != kBlack; }).isNull());
}

// Colour of the top-left pixel of a cell: its outline colour, or the cell's own colour.
class MouseTest : public ViewTest {
protected:
    Rgb Corner(int col, int row) const {
        const PixelRect r = view.CellRect(col, row);
        return Pixel(r.left, r.top);
    }
    PixelBuffer Panel() const { return view.Frame().Copy(477, 364, 157, 71); }
};

TEST_F(MouseTest, HoverOutlineFollowsTheCursor) {
    view.MouseMove(300, 200);  // cell (10, 10), the selected one
    EXPECT_EQ(Corner(10, 10), kYellow);
    EXPECT_FALSE(view.ShowsSelected());
    EXPECT_EQ(view.Hover(), (CellHit{10, 10}));

    view.MouseMove(330, 200);  // cell (11, 10): the selected cell gets its black ring back
    EXPECT_EQ(Corner(10, 10), kBlack);
    EXPECT_EQ(Corner(11, 10), kYellow);
    EXPECT_EQ(view.Hover().col, 11);

    view.MouseMove(331, 199);  // inside the same cell: redrawn with its outline again
    EXPECT_EQ(Corner(11, 10), kYellow);
    EXPECT_EQ(BoundsOf(kYellow), Inclusive(312, 185, 339, 201));

    view.MouseMove(5, 5);  // off the grid: outline gone, the panel follows the selection
    EXPECT_EQ(Corner(11, 10), Blue(36));
    EXPECT_TRUE(BoundsOf(kYellow).isNull());
    EXPECT_TRUE(view.ShowsSelected());
    EXPECT_EQ(view.Hover(), (CellHit{11, 10}));
}

TEST_F(MouseTest, PanelShowsTheHoveredCellThenTheSelectedOne) {
    SetCell(2, 3, 90, 90, PHASE_LIQUID);
    view.MouseMove(15 + 2 * 27 + 5, 25 + 3 * 16 + 5);
    const PixelBuffer hovered = Panel();
    view.DrawCellInfo(2, 3);
    EXPECT_EQ(Panel(), hovered);

    view.MouseMove(600, 5);
    const PixelBuffer selected = Panel();
    EXPECT_NE(selected, hovered);
    view.DrawCellInfo(10, 10);
    EXPECT_EQ(Panel(), selected);
}

TEST_F(MouseTest, ClickMovesTheSelection) {
    view.MouseMove(100, 100);  // cell (3, 4)
    EXPECT_TRUE(view.LButtonUp(100, 100));
    EXPECT_EQ(view.Selection(), (CellHit{3, 4}));
    EXPECT_EQ(Corner(3, 4), kBlack);      // black over the yellow until the cursor moves
    EXPECT_EQ(Corner(10, 10), Blue(36));  // the old selection lost its ring
    EXPECT_FALSE(view.ShowsSelected());   // a click leaves the panel mode alone

    // Clicking the selected cell again keeps its ring.
    EXPECT_TRUE(view.LButtonUp(100, 100));
    EXPECT_EQ(Corner(3, 4), kBlack);

    // A release off the grid changes nothing.
    const PixelBuffer before = view.Frame();
    EXPECT_FALSE(view.LButtonUp(600, 400));
    EXPECT_EQ(view.Frame(), before);
    EXPECT_EQ(view.Selection().col, 3);
}

TEST_F(MouseTest, StepRefreshesThePanelOnlyWhileItFollowsTheSelection) {
    view.RefreshSelectedInfo();
    const PixelBuffer fifteen = Panel();
    SetCell(10, 10, 60, 60, PHASE_LIQUID);
    view.RefreshSelectedInfo();
    EXPECT_NE(Panel(), fifteen);

    view.MouseMove(100, 100);  // now the panel shows the hovered cell
    const PixelBuffer hovered = Panel();
    SetCell(10, 10, 20, 20, PHASE_LIQUID);
    view.RefreshSelectedInfo();
    EXPECT_EQ(Panel(), hovered);
}

TEST_F(MouseTest, AfterATickThePanelShowsTheCurrentValuesOfTheCellItShows) {
    // Under a resting pointer: the hovered cell's new values, as moving the pointer shows them.
    view.MouseMove(100, 100);
    const PixelBuffer before = Panel();
    const CellHit hovered = view.Hover();
    SetCell(hovered.col, hovered.row, 100, 639, PHASE_VAPOUR);
    view.RefreshInfo();
    const PixelBuffer refreshed = Panel();
    EXPECT_NE(refreshed, before);
    view.MouseMove(100, 100);
    EXPECT_EQ(Panel(), refreshed);

    // Off the grid: the selected cell's.
    view.MouseMove(600, 400);
    const PixelBuffer selected = Panel();
    SetCell(10, 10, 60, 60, PHASE_LIQUID);
    view.RefreshInfo();
    EXPECT_NE(Panel(), selected);
}

TEST_F(ViewTest, TheKeyboardCursorActsAsThePointer) {
    // The first key puts it on the cell the panel shows: the selected centre cell.
    view.MoveCursor(1, 0);
    EXPECT_EQ(view.Cursor(), (CellHit{10, 10}));
    EXPECT_FALSE(view.ShowsSelected());
    view.MoveCursor(1, 0);
    EXPECT_EQ(view.Hover(), (CellHit{11, 10}));
    const PixelRect r = view.CellRect(11, 10);
    EXPECT_EQ(Pixel(r.left, r.top), HOVER_COLOUR);
    // It stops at the grid's edges; the panel follows it.
    for (int i = 0; i < 30; ++i) {
        view.MoveCursor(1, -1);
    }
    EXPECT_EQ(view.Cursor(), (CellHit{19, 0}));
    EXPECT_EQ(view.PanelText()->cell, "Cell: (19, 0)");
    EXPECT_TRUE(view.SelectAtCursor());
    EXPECT_EQ(view.Selection(), (CellHit{19, 0}));

    // Left, the panel shows the selected cell again; selecting needs a cursor.
    view.LeaveCursor();
    EXPECT_FALSE(view.Cursor().has_value());
    EXPECT_TRUE(view.ShowsSelected());
    EXPECT_NE(Pixel(r.left, r.top), HOVER_COLOUR);
    EXPECT_FALSE(view.SelectAtCursor());
    // The mouse takes over from it.
    view.MoveCursor(0, 0);
    view.MouseMove(600, 400);
    EXPECT_FALSE(view.Cursor().has_value());
}

TEST_F(ViewTest, FrameIsReplacedNeverResized) {
    EXPECT_TRUE(view.HasFrame());
    view.CreateFrame(800, 600);
    EXPECT_EQ(view.ViewRect(), (PixelRect{0, 0, 800, 550}));
    EXPECT_EQ(view.Frame().Size(), (Extent{800, 550}));
    // A new frame is black until it is rebuilt.
    EXPECT_EQ(BoundsOf(kBlack), PixelBox(0, 0, 800, 550));
    view.ReleaseFrame();
    EXPECT_FALSE(view.HasFrame());
    EXPECT_TRUE(view.Frame().IsNull());
    view.ReleaseFrame();  // nothing left to release: no failure
    EXPECT_FALSE(view.HasFrame());
}

}  // namespace
