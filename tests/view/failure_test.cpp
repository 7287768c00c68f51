// Every resource step that may fail ends the program with its own message and code; the
// releases whose failure changes nothing are not fatal.
#include <functional>

#include "ViewFixture.h"

namespace {

using Action = std::function<void(CSimulation&, CVesselView&)>;

const Action kRecreateFrame = [](CSimulation&, CVesselView& v) { v.CreateFrame(640, 480); };
const Action kReleaseFrame = [](CSimulation&, CVesselView& v) { v.ReleaseFrame(); };
const Action kFreshView = [](CSimulation& s, CVesselView&) {
    CVesselView fresh(s);
    fresh.CreateFrame(640, 480);
};
const Action kLiquid = [](CSimulation&, CVesselView& v) { v.DrawLiquidCell(3, 4, 50); };
const Action kBubble = [](CSimulation&, CVesselView& v) { v.DrawBubbleCell(3, 4); };
const Action kClearView = [](CSimulation&, CVesselView& v) { v.ClearView(); };
const Action kVessel = [](CSimulation&, CVesselView& v) { v.DrawVessel(); };
const Action kScale = [](CSimulation&, CVesselView& v) { v.DrawColorScale(); };
const Action kFlames = [](CSimulation&, CVesselView& v) { v.DrawFlames(FLAME_STRONG, FLAME_OFF); };
const Action kClearFlames = [](CSimulation&, CVesselView& v) { v.ClearFlameArea(); };
const Action kCellInfo = [](CSimulation&, CVesselView& v) { v.DrawCellInfo(5, 12); };
const Action kRebuild = [](CSimulation&, CVesselView& v) { v.FullRebuild(true); };
// A vapour cell in the grid: the rebuild draws flames before the cells.
const Action kRebuildWithBubble = [](CSimulation& s, CVesselView& v) {
    s.SetCell(0, 0, CCell(100, 639, PHASE_VAPOUR));
    v.FullRebuild(true);
};
// A tick of the model on the bottom row reaches the view through the redraw observer.
const Action kModelTick = [](CSimulation& s, CVesselView& v) {
    s.SetRedrawObserver(&v);
    s.StepCell(4, s.Rows() - 1);
    s.SetRedrawObserver(nullptr);
};
const Action kHover = [](CSimulation&, CVesselView& v) { v.MouseMove(300, 200); };

struct FailureCase {
    const char* name;
    Action action;
    ResourceStep step;
    int occurrence;
    const char* message;
    int code;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class FatalSiteTest : public ViewTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FatalSiteTest, ReportsItsMessageAndCode) {
    const FailureCase& c = GetParam();
    FailureSeam::Arm(c.step, c.occurrence);
    ExpectFatal([&] { c.action(sim, view); }, c.message, c.code);
}

constexpr const char* kRegionCreate = "リージョンの作成に失敗しました。";
constexpr const char* kRegionDelete = "リージョンの解放に失敗しました。";
constexpr const char* kBrushCreate = "ブラシの作成に失敗しました。";
constexpr const char* kBrushSelect = "ブラシの選択に失敗しました。";
constexpr const char* kBrushDelete = "ブラシの解放に失敗しました。";
constexpr const char* kPenCreate = "ペンの作成に失敗しました。";
constexpr const char* kPenSelect = "ペンの選択に失敗しました。";
constexpr const char* kPenDelete = "ペンの解放に失敗しました。";

using RS = ResourceStep;

INSTANTIATE_TEST_SUITE_P(
    Frame, FatalSiteTest,
    ::testing::Values(FailureCase{"ReleaseDetach", kReleaseFrame, RS::SelectBitmap, 1,
                                  "ビットマップの切り放しに失敗しました。", -2},
                      FailureCase{"ReleaseDC", kReleaseFrame, RS::DeleteMemoryDC, 1,
                                  "メモリデバイスコンテキストの解放に失敗しました。", -3},
                      FailureCase{"ReleaseBitmap", kReleaseFrame, RS::DeleteBitmap, 1,
                                  "ビットマップの解放に失敗しました。", -4},
                      FailureCase{"ResizeReleasesFirst", kRecreateFrame, RS::SelectBitmap, 1,
                                  "ビットマップの切り放しに失敗しました。", -2},
                      FailureCase{"CreateBitmap", kRecreateFrame, RS::CreateBitmap, 1,
                                  "ビットマップの作成に失敗しました。", -5},
                      FailureCase{"CreateDC", kRecreateFrame, RS::CreateMemoryDC, 1,
                                  "メモリデバイスコンテキストの作成に失敗しました。", -6},
                      FailureCase{"SelectBitmap", kRecreateFrame, RS::SelectBitmap, 2,
                                  "ビットマップの割り当てに失敗しました。", -7},
                      FailureCase{"FirstFrameSelect", kFreshView, RS::SelectBitmap, 1,
                                  "ビットマップの割り当てに失敗しました。", -7}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Cells, FatalSiteTest,
    ::testing::Values(
        FailureCase{"LiquidRegion", kLiquid, RS::CreateRegion, 1, kRegionCreate, -25},
        FailureCase{"LiquidBrush", kLiquid, RS::CreateBrush, 1, kBrushCreate, -26},
        FailureCase{"LiquidBrushDelete", kLiquid, RS::DeleteBrush, 1, kBrushDelete, -27},
        FailureCase{"LiquidRegionDelete", kLiquid, RS::DeleteRegion, 1, kRegionDelete, -28},
        FailureCase{"ModelTickLiquid", kModelTick, RS::CreateRegion, 1, kRegionCreate, -25},
        FailureCase{"Bubble1PenCreate", kBubble, RS::CreatePen, 1, kPenCreate, -33},
        FailureCase{"Bubble1PenSelect", kBubble, RS::SelectPen, 1, kPenSelect, -34},
        FailureCase{"Bubble1BrushCreate", kBubble, RS::CreateBrush, 1, kBrushCreate, -35},
        FailureCase{"Bubble1BrushSelect", kBubble, RS::SelectBrush, 1, kBrushSelect, -36},
        FailureCase{"Bubble1BrushRestore", kBubble, RS::SelectBrush, 2,
                    "ブラシの解除に失敗しました。", -37},
        FailureCase{"Bubble1BrushDelete", kBubble, RS::DeleteBrush, 1, kBrushDelete, -38},
        FailureCase{"Bubble1PenRestore", kBubble, RS::SelectPen, 2, "ペンの解除に失敗しました。",
                    -39},
        FailureCase{"Bubble1PenDelete", kBubble, RS::DeletePen, 1, kPenDelete, -40},
        FailureCase{"Bubble2PenCreate", kBubble, RS::CreatePen, 2, kPenCreate, -33},
        FailureCase{"Bubble2PenSelect", kBubble, RS::SelectPen, 3, kPenSelect, -34},
        FailureCase{"Bubble2BrushCreate", kBubble, RS::CreateBrush, 2, kBrushCreate, -35},
        FailureCase{"Bubble2BrushSelect", kBubble, RS::SelectBrush, 3, kBrushSelect, -36},
        FailureCase{"Bubble2BrushRestore", kBubble, RS::SelectBrush, 4,
                    "ブラシの解除に失敗しました。", -37},
        FailureCase{"Bubble2BrushDelete", kBubble, RS::DeleteBrush, 2, kBrushDelete, -38},
        FailureCase{"Bubble2PenRestore", kBubble, RS::SelectPen, 4, "ペンの解除に失敗しました。",
                    -39},
        FailureCase{"Bubble2PenDelete", kBubble, RS::DeletePen, 2, kPenDelete, -40},
        // The hover first redraws the selected cell, a liquid one.
        FailureCase{"HoverRedraw", kHover, RS::DeleteRegion, 1, kRegionDelete, -28}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Figures, FatalSiteTest,
    ::testing::Values(
        FailureCase{"ClearViewBrush", kClearView, RS::CreateBrush, 1, kBrushCreate, -8},
        FailureCase{"ClearViewRegion", kClearView, RS::CreateRegion, 1, kRegionCreate, -9},
        FailureCase{"VesselBrush", kVessel, RS::CreateBrush, 1, kBrushCreate, -11},
        FailureCase{"VesselPolygon", kVessel, RS::CreatePolygonRegion, 1,
                    "多角形リージョンの作成に失敗しました。", -11},
        FailureCase{"VesselBrushDelete", kVessel, RS::DeleteBrush, 1, kBrushDelete, -11},
        FailureCase{"VesselPolygonDelete", kVessel, RS::DeleteRegion, 1,
                    "多角形リージョンの解放に失敗しました。", -11},
        FailureCase{"ScaleFirstBrush", kScale, RS::CreateBrush, 1, kBrushCreate, -12},
        FailureCase{"ScaleThirdRegion", kScale, RS::CreateRegion, 3, kRegionCreate, -13},
        FailureCase{"ScaleLastBrush", kScale, RS::CreateBrush, 40, kBrushCreate, -12},
        FailureCase{"FlameAreaRegion", kClearFlames, RS::CreateRegion, 1, kRegionCreate, -21},
        FailureCase{"FlameAreaBrush", kClearFlames, RS::CreateBrush, 1, kBrushCreate, -22},
        FailureCase{"FlameAreaBrushDelete", kClearFlames, RS::DeleteBrush, 1, kBrushDelete, -23},
        FailureCase{"FlameAreaRegionDelete", kClearFlames, RS::DeleteRegion, 1, kRegionDelete, -24},
        FailureCase{"FlamesClearFirst", kFlames, RS::CreateRegion, 1, kRegionCreate, -21},
        FailureCase{"FlamesPenCreate", kFlames, RS::CreatePen, 1, kPenCreate, -15},
        FailureCase{"FlamesPenSelect", kFlames, RS::SelectPen, 1, kPenSelect, -16},
        FailureCase{"FlamesBrushCreate", kFlames, RS::CreateBrush, 2, kBrushCreate, -14},
        FailureCase{"FlamesBrushSelect", kFlames, RS::SelectBrush, 1, kBrushSelect, -15},
        FailureCase{"FlamesPenRestore", kFlames, RS::SelectPen, 2, "ペンの取り外しに失敗しました。",
                    -17},
        FailureCase{"FlamesPenDelete", kFlames, RS::DeletePen, 1, kPenDelete, -18},
        FailureCase{"FlamesBrushRestore", kFlames, RS::SelectBrush, 2,
                    "ブラシの取り外しに失敗しました。", -19},
        FailureCase{"FlamesBrushDelete", kFlames, RS::DeleteBrush, 2, kBrushDelete, -20},
        FailureCase{"PanelBrush", kCellInfo, RS::CreateBrush, 1, kBrushCreate, -12},
        FailureCase{"PanelRegion", kCellInfo, RS::CreateRegion, 1, kRegionCreate, -13}),
    [](const auto& info) { return std::string(info.param.name); });

// The rebuild's fixed order decides which site a given occurrence reaches: background
// (brush 1), vessel (brush 2), 40 scale segments (brushes 3 to 42), the flame area
// (brush 43), the flames (brush 44), then the cells.
INSTANTIATE_TEST_SUITE_P(
    RebuildOrder, FatalSiteTest,
    ::testing::Values(
        FailureCase{"Background", kRebuild, RS::CreateBrush, 1, kBrushCreate, -8},
        FailureCase{"Vessel", kRebuild, RS::CreateBrush, 2, kBrushCreate, -11},
        FailureCase{"ScaleSegment", kRebuild, RS::CreateBrush, 3, kBrushCreate, -12},
        FailureCase{"LastScaleSegment", kRebuild, RS::CreateBrush, 42, kBrushCreate, -12},
        FailureCase{"FlameArea", kRebuild, RS::CreateBrush, 43, kBrushCreate, -22},
        FailureCase{"Flames", kRebuild, RS::CreateBrush, 44, kBrushCreate, -14},
        FailureCase{"FirstCell", kRebuild, RS::CreateBrush, 45, kBrushCreate, -26},
        FailureCase{"FlamesBeforeBubble", kRebuildWithBubble, RS::CreatePen, 1, kPenCreate, -15},
        FailureCase{"Bubble", kRebuildWithBubble, RS::CreatePen, 2, kPenCreate, -33}),
    [](const auto& info) { return std::string(info.param.name); });

struct IgnoredCase {
    const char* name;
    Action action;
    ResourceStep step;
    int occurrence;
};

void PrintTo(const IgnoredCase& c, std::ostream* os) {
    *os << c.name;
}

class IgnoredFailureTest : public ViewTest, public ::testing::WithParamInterface<IgnoredCase> {};

TEST_P(IgnoredFailureTest, IsNotFatal) {
    const IgnoredCase& c = GetParam();
    FailureSeam::Arm(c.step, c.occurrence);
    EXPECT_NO_THROW(c.action(sim, view));
}

const Action kMarker = [](CSimulation&, CVesselView& v) { v.DrawCellMarker(3, 4, kYellow); };

INSTANTIATE_TEST_SUITE_P(
    Releases, IgnoredFailureTest,
    ::testing::Values(IgnoredCase{"ClearViewBrush", kClearView, RS::DeleteBrush, 1},
                      IgnoredCase{"ClearViewRegion", kClearView, RS::DeleteRegion, 1},
                      IgnoredCase{"ScaleBrush", kScale, RS::DeleteBrush, 7},
                      IgnoredCase{"ScaleRegion", kScale, RS::DeleteRegion, 40},
                      IgnoredCase{"PanelBrush", kCellInfo, RS::DeleteBrush, 1},
                      IgnoredCase{"PanelRegion", kCellInfo, RS::DeleteRegion, 1},
                      IgnoredCase{"MarkerPenCreate", kMarker, RS::CreatePen, 1},
                      IgnoredCase{"MarkerPenSelect", kMarker, RS::SelectPen, 1},
                      IgnoredCase{"MarkerPenRestore", kMarker, RS::SelectPen, 2},
                      IgnoredCase{"MarkerPenDelete", kMarker, RS::DeletePen, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewTest, MarkerWithoutItsPenDrawsNothing) {
    FailureSeam::Arm(ResourceStep::SelectPen, 1);
    view.DrawCellMarker(3, 4, kYellow);
    EXPECT_TRUE(BoundsOf(kYellow).isNull());
}

TEST_F(ViewTest, MarkerWhosePenStaysSelectedLeavesLaterFiguresIntact) {
    FailureSeam::Arm(ResourceStep::SelectPen, 2);  // the restore after the outline
    view.DrawCellMarker(3, 4, kYellow);
    // The bubble and the flames select and restore their own pens as usual.
    SetCell(3, 4, 100, 639, PHASE_VAPOUR);
    view.DrawCell(sim.Cell(4, 3), 3, 4);
    view.DrawFlames(FLAME_STRONG, FLAME_STRONG);
    view.DrawCellMarker(5, 5, kYellow);
    EXPECT_EQ(Pixel(view.CellRect(5, 5).left, view.CellRect(5, 5).top), kYellow);
}

}  // namespace
