#include <gtest/gtest.h>

#include "SimulationFixture.h"

namespace {

struct InitialCase {
    int initialTemperature;
    double temperature;
    double heat;
    int averageTemperature;
    int averageHeat;
};

class InitialGridTest : public SimulationTest, public ::testing::WithParamInterface<InitialCase> {};

TEST_P(InitialGridTest, EveryCellOfBothGridsStartsLiquidAtTheInitialState) {
    const InitialCase c = GetParam();
    Fresh(7, 4, c.initialTemperature);
    ASSERT_TRUE(sim.HasGrid());
    ASSERT_EQ(sim.Columns(), 7);
    ASSERT_EQ(sim.Rows(), 4);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 7; ++col) {
            for (const CCell* cell : {&Live(row, col), &Stage(row, col)}) {
                EXPECT_EQ(cell->m_dTemperature, c.temperature);
                EXPECT_EQ(cell->m_dHeat, c.heat);
                EXPECT_EQ(cell->m_nPhase, PHASE_LIQUID);
            }
        }
    }
    sim.ComputeAverages();
    EXPECT_EQ(sim.AverageTemperature(), c.averageTemperature);
    EXPECT_EQ(sim.AverageHeat(), c.averageHeat);
}

INSTANTIATE_TEST_SUITE_P(Temperatures, InitialGridTest,
                         ::testing::Values(InitialCase{0, 0, 0, 0, 0},
                                           InitialCase{15, 15, 15, 15, 15},
                                           InitialCase{99, 99, 99, 99, 99},
                                           InitialCase{100, 100, 105, 100, 105}));

TEST(SimulationConstruction, StartsWithDefaultsAndNoGrid) {
    CSimulation sim;
    EXPECT_FALSE(sim.HasGrid());
    EXPECT_EQ(sim.AverageTemperature(), 0);
    EXPECT_EQ(sim.AverageHeat(), 0);
    EXPECT_EQ(sim.EndsFlame(), FLAME_WEAK);
    EXPECT_EQ(sim.CentreFlame(), FLAME_MEDIUM);
    const SimulationSettings current = sim.CurrentSettings(100);
    const SimulationSettings defaults;
    EXPECT_EQ(current.initialTemperature, defaults.initialTemperature);
    EXPECT_EQ(current.convectionRatio, defaults.convectionRatio);
    EXPECT_EQ(current.conductionCoefficient, defaults.conductionCoefficient);
    EXPECT_EQ(current.coolingCoefficient, defaults.coolingCoefficient);
    EXPECT_EQ(current.roomTemperature, defaults.roomTemperature);
    EXPECT_EQ(current.strongFlamePower, 400);
    EXPECT_EQ(current.mediumFlamePower, 140);
    EXPECT_EQ(current.weakFlamePower, 70);
    EXPECT_EQ(current.stepIntervalMs, 5);
    EXPECT_EQ(current.columns, 20);
    EXPECT_EQ(current.rows, 20);
}

TEST_F(SimulationTest, ContinuedSettingsKeepGridSizeAndInitialTemperature) {
    sim.StepCell(9, 19);
    const CCell heated = Live(19, 9);

    SimulationSettings changed;
    changed.initialTemperature = 80;
    changed.columns = 5;
    changed.rows = 6;
    changed.convectionRatio = 0.25;
    changed.conductionCoefficient = 0.5;
    changed.coolingCoefficient = -1.5;
    changed.roomTemperature = -20;
    changed.strongFlamePower = 1;
    changed.mediumFlamePower = 2;
    changed.weakFlamePower = 3;
    changed.stepIntervalMs = 2000;
    sim.ContinuedStart(changed);

    EXPECT_EQ(sim.InitialTemperature(), 15);
    EXPECT_EQ(sim.Columns(), 20);
    EXPECT_EQ(sim.Rows(), 20);
    EXPECT_EQ(Live(19, 9), heated);
    const SimulationSettings taken = sim.CurrentSettings(0);
    EXPECT_EQ(taken.convectionRatio, 0.25);
    EXPECT_EQ(taken.conductionCoefficient, 0.5);
    EXPECT_EQ(taken.coolingCoefficient, -1.5);
    EXPECT_EQ(taken.roomTemperature, -20);
    EXPECT_EQ(taken.strongFlamePower, 1);
    EXPECT_EQ(taken.mediumFlamePower, 2);
    EXPECT_EQ(taken.weakFlamePower, 3);
    EXPECT_EQ(taken.stepIntervalMs, 2000);
}

TEST_F(SimulationTest, FreshStartReplacesGridAndBurners) {
    sim.StepCell(9, 19);
    SimulationSettings settings;
    settings.columns = 3;
    settings.rows = 5;
    settings.initialTemperature = 40;
    sim.FreshStart(settings);
    EXPECT_EQ(sim.Columns(), 3);
    EXPECT_EQ(sim.Rows(), 5);
    EXPECT_EQ(Live(4, 1), CCell(40, 40, PHASE_LIQUID));
    EXPECT_EQ(sim.BurnerHeat(0), 119);
    EXPECT_EQ(sim.BurnerHeat(1), 140);
    EXPECT_EQ(sim.BurnerHeat(2), 119);
}

}  // namespace
