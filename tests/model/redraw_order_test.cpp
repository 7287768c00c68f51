#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "SimulationFixture.h"

namespace {

using Positions = std::vector<std::pair<int, int>>;  // (row, col)

TEST_F(SimulationTest, BottomStepRedrawsTheHeatedCellThenNeighboursThenItself) {
    sim.StepCell(9, 19);
    EXPECT_EQ(observer.Positions(), (Positions{{19, 9}, {18, 9}, {19, 8}, {19, 10}, {19, 9}}));
    // The first redraw shows the cell right after the burner input, before conduction.
    EXPECT_EQ(observer.events[0].cell, CCell(100, 154, PHASE_LIQUID));
    EXPECT_EQ(observer.events[1].cell, CCell(15, 15, PHASE_LIQUID));
    EXPECT_DOUBLE_EQ(observer.events[4].cell.m_dHeat, 153.895);
}

TEST_F(SimulationTest, InteriorStepRedrawsBelowAboveLeftRightThenItself) {
    sim.StepCell(5, 5);
    EXPECT_EQ(observer.Positions(), (Positions{{6, 5}, {4, 5}, {5, 4}, {5, 6}, {5, 5}}));
}

TEST_F(SimulationTest, CornerStepsVisitOnlyExistingNeighbours) {
    sim.StepCell(0, 0);
    EXPECT_EQ(observer.Positions(), (Positions{{1, 0}, {0, 1}, {0, 0}}));
    observer.events.clear();
    sim.StepCell(19, 19);
    EXPECT_EQ(observer.Positions(), (Positions{{19, 19}, {18, 19}, {19, 18}, {19, 19}}));
}

TEST_F(SimulationTest, ChosenBubbleRedrawsOnlyItself) {
    SetLive(10, 5, 100, 639, PHASE_VAPOUR);
    sim.StepCell(5, 10);
    EXPECT_EQ(observer.Positions(), (Positions{{10, 5}}));
}

TEST_F(SimulationTest, BubbleRiseRedrawsEachExchangedPairUpwardsThenConducts) {
    SetLive(8, 4, 100, 639, PHASE_VAPOUR);
    SetLive(5, 4, 100, 639, PHASE_VAPOUR);
    sim.StepCell(4, 7);
    EXPECT_EQ(observer.Positions(), (Positions{{7, 4},
                                               {8, 4},
                                               {6, 4},
                                               {7, 4},  // the climb
                                               {8, 4},
                                               {6, 4},
                                               {7, 3},
                                               {7, 5},
                                               {7, 4}}));
    EXPECT_EQ(observer.events[0].cell.m_nPhase, PHASE_VAPOUR);
    EXPECT_EQ(observer.events[1].cell.m_nPhase, PHASE_LIQUID);
}

TEST_F(SimulationTest, BurstRedrawsTheSurfaceCellThenConductsIt) {
    SetLive(0, 0, 100, 639, PHASE_VAPOUR);
    sim.StepCell(0, 0);
    EXPECT_EQ(observer.Positions(), (Positions{{0, 0}, {1, 0}, {0, 1}, {0, 0}}));
}

TEST_F(SimulationTest, ConvectionRedrawsTheCellBelowFirst) {
    SetLive(6, 5, 90, 90);
    sim.StepCell(5, 5);
    EXPECT_EQ(observer.Positions(), (Positions{{6, 5}, {6, 5}, {4, 5}, {5, 4}, {5, 6}, {5, 5}}));
}

}  // namespace
