#include <gtest/gtest.h>

#include "SimulationFixture.h"

namespace {

TEST_F(SimulationTest, BubbleUnderSurfaceCellRisesOneRowAndKeepsItsValues) {
    SetLive(1, 6, 100, 639, PHASE_VAPOUR);
    SetLive(0, 6, 20, 21);
    sim.StepCell(6, 0);
    EXPECT_EQ(Live(0, 6), CCell(100, 639, PHASE_VAPOUR));
    EXPECT_EQ(Live(1, 6), CCell(20, 21, PHASE_LIQUID));
    EXPECT_EQ(LastRedrawn(), (std::pair{0, 6}));  // the chosen row is conducted after the climb
}

TEST_F(SimulationTest, BubbleClimbsThroughTheWholeLiquidColumnInOneStep) {
    for (int row = 0; row <= 7; ++row) {
        SetLive(row, 4, 20 + row, 20 + row);
    }
    SetLive(8, 4, 100, 639, PHASE_VAPOUR);
    sim.StepCell(4, 7);
    EXPECT_EQ(LastRedrawn(), (std::pair{7, 4}));
    EXPECT_EQ(Live(0, 4).m_nPhase, PHASE_VAPOUR);
    EXPECT_EQ(Live(0, 4).m_dHeat, 639);
    for (int former = 0; former <= 7; ++former) {
        const CCell& moved = Live(former + 1, 4);
        EXPECT_EQ(moved.m_nPhase, PHASE_LIQUID);
        if (former + 1 != 7) {  // row 7 is the conducted cell
            EXPECT_EQ(moved.m_dTemperature, 20 + former) << "former row " << former;
        }
    }
    // The liquid that came down into row 7 (formerly row 6, at 26) is conducted from
    // staged values equal to its own: neighbours 27 below, 25 above, 15 left and right.
    EXPECT_DOUBLE_EQ(Live(7, 4).m_dHeat, 26 + 0.035 * (2 - 2 - 22 - 22));
    EXPECT_EQ(Stage(7, 4).m_dHeat, 26);
}

TEST_F(SimulationTest, RisingBubbleStopsUnderAnotherBubble) {
    SetLive(5, 3, 100, 639, PHASE_VAPOUR);
    SetLive(6, 3, 30, 30);
    SetLive(7, 3, 40, 40);
    SetLive(8, 3, 100, 639, PHASE_VAPOUR);
    sim.StepCell(3, 7);
    EXPECT_EQ(Live(5, 3).m_nPhase, PHASE_VAPOUR);
    EXPECT_EQ(Live(6, 3).m_nPhase, PHASE_VAPOUR);
    EXPECT_EQ(Live(7, 3).m_nPhase, PHASE_LIQUID);
    EXPECT_EQ(Stage(7, 3).m_dHeat, 30);  // the liquid from row 6, conducted in row 7
    EXPECT_EQ(Live(8, 3).m_dTemperature, 40);
}

TEST_F(SimulationTest, ChosenInteriorBubbleStaysWhereItIs) {
    SetLive(10, 5, 100, 639, PHASE_VAPOUR);
    SetStage(10, 5, 100, 639);
    sim.StepCell(5, 10);
    EXPECT_EQ(Live(10, 5), CCell(100, 639, PHASE_VAPOUR));
    EXPECT_EQ(Live(9, 5), CCell(15, 15, PHASE_LIQUID));
}

struct BurstCase {
    int col;
    double average;  // of the cell below (heat 30) and the surface neighbours (60 left, 90 right)
};

class BurstTest : public SimulationTest, public ::testing::WithParamInterface<BurstCase> {};

TEST_P(BurstTest, AveragesTheCellBelowAndTheSurfaceNeighboursThatExist) {
    const BurstCase c = GetParam();
    for (int col = 0; col < 20; ++col) {
        SetLive(0, col, 50, 50);
    }
    SetLive(0, c.col, 100, 639, PHASE_VAPOUR);
    SetLive(1, c.col, 30, 30);
    if (c.col > 0) {
        SetLive(0, c.col - 1, 60, 60);
    }
    if (c.col < 19) {
        SetLive(0, c.col + 1, 90, 90);
    }
    sim.StepCell(c.col, 0);
    ASSERT_FALSE(observer.events.empty());
    const RedrawEvent burst = observer.events.front();
    EXPECT_EQ(burst.row, 0);
    EXPECT_EQ(burst.col, c.col);
    EXPECT_DOUBLE_EQ(burst.cell.m_dHeat, c.average);
    EXPECT_DOUBLE_EQ(burst.cell.m_dTemperature, c.average);
    EXPECT_EQ(burst.cell.m_nPhase, PHASE_LIQUID);
    EXPECT_EQ(Live(0, c.col).m_nPhase, PHASE_LIQUID);
}

INSTANTIATE_TEST_SUITE_P(Walls, BurstTest,
                         ::testing::Values(BurstCase{0, (30 + 90) / 2.0},
                                           BurstCase{19, (30 + 60) / 2.0},
                                           BurstCase{8, (30 + 60 + 90) / 3.0}));

TEST_F(SimulationTest, BurstAmongVapourHeatStaysVapour) {
    SetLive(0, 7, 100, 639, PHASE_VAPOUR);
    SetStage(0, 7, 100, 639);
    SetLive(1, 7, 100, 639);
    SetLive(0, 6, 100, 639);
    SetLive(0, 8, 100, 639);
    sim.StepCell(7, 0);
    const RedrawEvent burst = observer.events.front();
    EXPECT_EQ(burst.cell, CCell(100, 639, PHASE_VAPOUR));
    EXPECT_EQ(Live(0, 7), CCell(100, 639, PHASE_VAPOUR));
}

TEST_F(SimulationTest, BurstAboveVapourHeatLeavesTheAverageUncapped) {
    SetLive(0, 7, 100, 639, PHASE_VAPOUR);
    SetLive(1, 7, 100, 700);
    SetLive(0, 6, 100, 700);
    SetLive(0, 8, 100, 700);
    sim.StepCell(7, 0);
    EXPECT_EQ(observer.events.front().cell, CCell(100, 700, PHASE_VAPOUR));
}

TEST_F(SimulationTest, ConvectionMixesTheHotterCellBelowIntoTheStepCell) {
    SetLive(5, 5, 50, 50);
    SetLive(6, 5, 90, 90);
    sim.StepCell(5, 5);
    EXPECT_DOUBLE_EQ(Stage(5, 5).m_dHeat, 78);
    EXPECT_DOUBLE_EQ(Stage(5, 5).m_dTemperature, 78);
    const RedrawEvent lower = observer.events.front();
    EXPECT_EQ(lower.row, 6);
    EXPECT_EQ(lower.col, 5);
    EXPECT_DOUBLE_EQ(lower.cell.m_dHeat, 62);
    EXPECT_DOUBLE_EQ(lower.cell.m_dTemperature, 62);
    // Conduction then works from the mixed heat 78 with D = 78.
    const double flows = (62 - 78.0) * 2 + (15 - 78.0) * 2 * 3;
    EXPECT_DOUBLE_EQ(Live(5, 5).m_dHeat, 78 + 0.035 * flows);
}

TEST_F(SimulationTest, ConvectionWithZeroRatioOnlyStagesThePresentHeatCapped) {
    SimulationSettings settings;
    settings.convectionRatio = 0;
    Fresh(settings);
    SetLive(5, 5, 100, 150);
    SetLive(6, 5, 100, 200);
    sim.StepCell(5, 5);
    EXPECT_EQ(Stage(5, 5).m_dHeat, 150);
    EXPECT_EQ(Stage(5, 5).m_dTemperature, 100);
    EXPECT_EQ(observer.events.front().cell, CCell(100, 200, PHASE_LIQUID));
}

TEST_F(SimulationTest, EqualHeatsGiveNoConvection) {
    SetLive(5, 5, 60, 60);
    SetLive(6, 5, 60, 60);
    SetStage(5, 5, 0, 44);
    sim.StepCell(5, 5);
    // Plain staging: the staged temperature is the previous staged heat.
    EXPECT_EQ(Stage(5, 5).m_dTemperature, 44);
    EXPECT_EQ(Stage(5, 5).m_dHeat, 60);
    // The first redraw is conduction's neighbour below, not a mixed cell below.
    EXPECT_EQ(observer.events.front().row, 6);
    EXPECT_DOUBLE_EQ(observer.events.front().cell.m_dHeat, 60 - 0.035 * 32);
}

}  // namespace
