#include <gtest/gtest.h>

#include <random>

#include "SimulationFixture.h"

namespace {

TEST_F(SimulationTest, FirstTickOnBottomCentreColumn) {
    ASSERT_EQ(sim.BurnerHeat(9), 139);
    sim.StepCell(9, 19);

    EXPECT_EQ(sim.AverageTemperature(), 15);
    EXPECT_EQ(sim.AverageHeat(), 15);
    EXPECT_EQ(Stage(19, 9).m_dTemperature, 15);
    EXPECT_EQ(Stage(19, 9).m_dHeat, 154);
    EXPECT_DOUBLE_EQ(Live(19, 9).m_dHeat, 153.895);
    EXPECT_EQ(Live(19, 9).m_dTemperature, 100);
    EXPECT_EQ(Live(19, 9).m_nPhase, PHASE_LIQUID);
    for (auto [row, col] : {std::pair{18, 9}, {19, 8}, {19, 10}}) {
        EXPECT_EQ(Live(row, col), CCell(15, 15, PHASE_LIQUID)) << row << "," << col;
    }

    // The next tick sees 15.2125 and 15.347, both rounded to 15.
    sim.ComputeAverages();
    EXPECT_EQ(sim.AverageTemperature(), 15);
    EXPECT_EQ(sim.AverageHeat(), 15);
}

TEST_F(SimulationTest, FirstTickOnBottomLeftCornerCoolsTwice) {
    ASSERT_EQ(sim.BurnerHeat(0), 80);
    sim.StepCell(0, 19);
    EXPECT_EQ(Stage(19, 0).m_dTemperature, 15);
    EXPECT_EQ(Stage(19, 0).m_dHeat, 95);
    EXPECT_DOUBLE_EQ(Live(19, 0).m_dHeat, 94.79);
    EXPECT_DOUBLE_EQ(Live(19, 0).m_dTemperature, 94.79);
}

// Staging turns the previous staged heat into the staged temperature and takes the live
// heat: these tests stage (T, Q) by setting the staged heat T and the live heat Q.
TEST_F(SimulationTest, InteriorCellAmongEqualNeighboursKeepsItsStagedHeat) {
    for (auto [row, col] : {std::pair{7, 8}, {8, 7}, {8, 9}}) {
        SetLive(row, col, 40, 55);
    }
    SetLive(9, 8, 40, 33.5);  // no hotter than the cell: no convection
    SetLive(8, 8, 0, 33.5);
    SetStage(8, 8, 0, 40);
    sim.StepCell(8, 8);
    EXPECT_EQ(Stage(8, 8), CCell(40, 33.5, PHASE_LIQUID));
    EXPECT_EQ(Live(8, 8).m_dHeat, 33.5);
    EXPECT_EQ(Live(9, 8).m_dHeat, 33.5);
    EXPECT_EQ(Live(7, 8).m_dHeat, 55);
}

TEST_F(SimulationTest, BottomCornerAtBoilingLosesCoolingOfTwoBoundaries) {
    ASSERT_EQ(sim.BurnerHeat(0), 80);
    SetLive(19, 0, 100, 220);
    SetStage(19, 0, 0, 100);
    SetLive(18, 0, 100, 200);
    SetLive(19, 1, 100, 200);
    sim.StepCell(0, 19);
    EXPECT_EQ(Stage(19, 0), CCell(100, 300, PHASE_LIQUID));
    EXPECT_DOUBLE_EQ(Live(19, 0).m_dHeat, 300 - 3.78);
    EXPECT_EQ(Live(19, 0).m_dTemperature, 100);
}

struct VapourNeighbourCase {
    int row;
    int col;
    double expectedHeat;  // from staged heat 50, D = 30, room 10
};

class VapourNeighbourTest : public SimulationTest,
                            public ::testing::WithParamInterface<VapourNeighbourCase> {};

TEST_P(VapourNeighbourTest, LiquidCellBesideBubblesChangesOnlyByCooling) {
    const auto c = GetParam();
    // Bubbles above and beside; below, liquid at the staged temperature (a bubble below
    // would rise instead).
    SetLive(c.row + 1, c.col, 30, 30);
    for (auto [dr, dc] : {std::pair{-1, 0}, {0, -1}, {0, 1}}) {
        const int r = c.row + dr;
        const int k = c.col + dc;
        if (r >= 0 && r < 20 && k >= 0 && k < 20) {
            SetLive(r, k, 100, 639, PHASE_VAPOUR);
        }
    }
    SetLive(c.row, c.col, 50, 50);
    SetStage(c.row, c.col, 0, 30);
    sim.StepCell(c.col, c.row);
    EXPECT_DOUBLE_EQ(Live(c.row, c.col).m_dHeat, c.expectedHeat);
    if (c.row > 0) {
        EXPECT_EQ(Live(c.row - 1, c.col).m_dHeat, 639);
    }
}

// Cooling per boundary: 0.035 * 0.6 * (30 - 10) = 0.42.
INSTANTIATE_TEST_SUITE_P(Places, VapourNeighbourTest,
                         ::testing::Values(VapourNeighbourCase{8, 8, 50},
                                           VapourNeighbourCase{8, 0, 50 - 0.42},
                                           VapourNeighbourCase{0, 8, 50 - 0.42},
                                           VapourNeighbourCase{0, 19, 50 - 0.84}));

TEST_F(SimulationTest, BottomCellReachingVapourHeatBoilsAndKeepsItsNeighbours) {
    SetLive(19, 0, 100, 630);
    SetStage(19, 0, 100, 630);
    sim.StepCell(0, 19);
    EXPECT_EQ(Stage(19, 0).m_dTemperature, 100);
    EXPECT_EQ(Stage(19, 0).m_dHeat, 639);
    EXPECT_EQ(Live(19, 0), CCell(100, 639, PHASE_VAPOUR));
    EXPECT_EQ(Live(18, 0), CCell(15, 15, PHASE_LIQUID));
    EXPECT_EQ(Live(19, 1), CCell(15, 15, PHASE_LIQUID));
}

TEST_F(SimulationTest, BottomBubbleBelowVapourHeatTurnsBackToLiquid) {
    SimulationSettings settings;
    settings.weakFlamePower = -200;
    sim.SetFlames(FLAME_WEAK, FLAME_WEAK);
    Fresh(settings);
    ASSERT_EQ(sim.BurnerHeat(4), -200);
    SetLive(19, 4, 100, 639, PHASE_VAPOUR);
    SetStage(19, 4, 100, 639);
    sim.StepCell(4, 19);
    EXPECT_EQ(Live(19, 4).m_nPhase, PHASE_LIQUID);
    EXPECT_EQ(Stage(19, 4).m_dHeat, 439);
}

TEST_F(SimulationTest, NeighbourKeepsItsOldTemperatureWhenConductionChangesItsHeat) {
    SetLive(18, 9, 50, 50);
    sim.StepCell(9, 19);
    EXPECT_EQ(Live(18, 9).m_dTemperature, 50);
    EXPECT_DOUBLE_EQ(Live(18, 9).m_dHeat, 50 - 0.035 * 70);
}

TEST_F(SimulationTest, EachTickDrawsTheColumnFirstThenTheRow) {
    Fresh(7, 5);
    sim.SetSeed(12345);
    std::mt19937 reference(12345);
    for (int tick = 0; tick < 200; ++tick) {
        const int col = static_cast<int>(reference() % 7);
        const int row = static_cast<int>(reference() % 5);
        observer.events.clear();
        sim.Step();
        ASSERT_EQ(LastRedrawn(), (std::pair{row, col})) << "tick " << tick;
    }
}

TEST(SimulationRandom, SameSeedGivesTheSameRunBitForBit) {
    auto run = [](std::uint32_t seed) {
        CSimulation sim;
        sim.SetSeed(seed);
        sim.SetFlames(FLAME_STRONG, FLAME_STRONG);
        sim.FreshStart(SimulationSettings{});
        for (int tick = 0; tick < 60000; ++tick) {
            sim.Step();
        }
        return sim;
    };
    const CSimulation a = run(7);
    const CSimulation b = run(7);
    const CSimulation c = run(8);
    bool anyDifference = false;
    for (int row = 0; row < 20; ++row) {
        for (int col = 0; col < 20; ++col) {
            ASSERT_EQ(a.Cell(row, col), b.Cell(row, col));
            anyDifference |= !(a.Cell(row, col) == c.Cell(row, col));
        }
    }
    EXPECT_TRUE(anyDifference);
    EXPECT_GT(a.VapourCellCount() + a.AverageTemperature(), 15);
}

TEST_F(SimulationTest, ThreeRowsHeatTheBottomAboutOneTickInThree) {
    Fresh(20, 3);
    sim.SetSeed(99);
    int bottom = 0;
    constexpr int kTicks = 30000;
    for (int tick = 0; tick < kTicks; ++tick) {
        observer.events.clear();
        sim.Step();
        bottom += LastRedrawn().first == 2 ? 1 : 0;
    }
    EXPECT_NEAR(static_cast<double>(bottom) / kTicks, 1.0 / 3, 0.02);
}

}  // namespace
