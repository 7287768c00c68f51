// The stable range of the conduction and cooling coefficients, checked on single updates at
// and just past the bound and on whole runs on both sides of it; the settings and cells that
// are named as unphysical.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "HistoryRecorder.h"
#include "Simulation.h"
#include "Soundness.h"

namespace {

// A 5 x 5 grid of liquid at 0 C with the room at 0 C, every burner off.
CSimulation ColdGrid(double conduction, double cooling) {
    SimulationSettings s;
    s.initialTemperature = 0;
    s.roomTemperature = 0;
    s.columns = 5;
    s.rows = 5;
    s.conductionCoefficient = conduction;
    s.coolingCoefficient = cooling;
    CSimulation sim;
    sim.SetFlames(FLAME_OFF, FLAME_OFF);
    sim.FreshStart(s);
    return sim;
}

// One update of a cell at 60 C among neighbours and a room at 0 C: the heat it is left with.
double HeatAfterUpdate(double conduction, double cooling, int row, int col) {
    CSimulation sim = ColdGrid(conduction, cooling);
    sim.SetCell(row, col, CCell(60.0, 60.0, PHASE_LIQUID));
    sim.SetStagedCell(row, col, CCell(60.0, 60.0, PHASE_LIQUID));
    sim.StepCell(col, row);
    return sim.Cell(row, col).m_dHeat;
}

TEST(StableRange, TheBoundFollowsTheTightestCell) {
    EXPECT_EQ(MaxStableConduction(0.0), 0.125);
    EXPECT_EQ(MaxStableConduction(0.6), 0.125);  // the defaults lie well inside
    EXPECT_EQ(MaxStableConduction(2.0), 0.125);
    EXPECT_EQ(MaxStableConduction(3.0), 0.1);  // corners: k (4 + 2c) <= 1
    EXPECT_EQ(MaxStableCooling(0.125), 2.0);
    EXPECT_EQ(MaxStableCooling(0.1), 3.0);
    EXPECT_EQ(MaxStableCooling(0.0), std::numeric_limits<double>::infinity());
}

TEST(StableRange, AnUpdateAtTheBoundStopsAtItsNeighboursAndPastItOvershoots) {
    const struct {
        const char* where;
        int row, col;
        double cooling, bound;
    } cells[] = {
        {"inner cell", 2, 2, 0.6, 0.125},
        {"edge cell", 2, 0, 2.0, 0.125},  // k (6 + c) <= 1 meets the inner bound at c = 2
        {"corner", 0, 0, 3.0, 0.1},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.where);
        EXPECT_TRUE(StableCoefficients(c.bound, c.cooling));
        EXPECT_NEAR(HeatAfterUpdate(c.bound, c.cooling, c.row, c.col), 0.0, 1e-12);
        EXPECT_GT(HeatAfterUpdate(0.9 * c.bound, c.cooling, c.row, c.col), 0.0);
        const double past = c.bound * 1.04;
        EXPECT_FALSE(StableCoefficients(past, c.cooling));
        EXPECT_LT(HeatAfterUpdate(past, c.cooling, c.row, c.col), -1.0)
            << "the cell ends colder than everything it exchanged with";
    }
}

// A seeded run without burners from 60 C towards a room at 10 C: every value must stay
// between the two.
struct RunExtremes {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    int unphysical = 0;
};
RunExtremes CoolingRun(double conduction) {
    SimulationSettings s;
    s.initialTemperature = 60;
    s.roomTemperature = 10;
    s.conductionCoefficient = conduction;
    s.coolingCoefficient = 0.6;
    CSimulation sim;
    sim.SetSeed(3);
    sim.SetFlames(FLAME_OFF, FLAME_OFF);
    sim.FreshStart(s);
    CHistoryRecorder recorder;
    sim.RunTicks(200000, recorder);
    RunExtremes e;
    for (int row = 0; row < sim.Rows(); ++row) {
        for (int col = 0; col < sim.Columns(); ++col) {
            const CCell& cell = sim.Cell(row, col);
            e.low = std::fmin(e.low, std::fmin(cell.m_dTemperature, cell.m_dHeat));
            e.high = std::fmax(e.high, std::fmax(cell.m_dTemperature, cell.m_dHeat));
        }
    }
    e.unphysical = UnphysicalCellCount(sim);
    return e;
}

TEST(StableRange, RunsInsideTheRangeStayBetweenRoomAndStartAndRunsBeyondDiverge) {
    for (const double k : {0.035, 0.1, 0.125}) {
        SCOPED_TRACE(k);
        const RunExtremes e = CoolingRun(k);
        EXPECT_GE(e.low, 10.0);
        EXPECT_LE(e.high, 60.0);
        EXPECT_EQ(e.unphysical, 0);
    }
    // Just past the bound the water already ends colder than the room; at twice the bound
    // the run leaves every physical value behind.
    EXPECT_LT(CoolingRun(0.15).low, 10.0);
    const RunExtremes diverged = CoolingRun(0.25);
    EXPECT_LT(diverged.low, -1e6);
    EXPECT_GT(diverged.unphysical, 0);
}

TEST(SettingsConcerns, NamesEachUnsoundValueAndNothingElse) {
    const SimulationSettings defaults;
    EXPECT_EQ(SettingsConcerns(defaults), 0u);
    const struct {
        void (*change)(SimulationSettings&);
        unsigned concerns;
    } cases[] = {
        {[](SimulationSettings& s) { s.conductionCoefficient = 0.125; }, 0u},
        {[](SimulationSettings& s) { s.conductionCoefficient = 0.13; },
         CONCERN_UNSTABLE_COEFFICIENTS},
        {[](SimulationSettings& s) { s.conductionCoefficient = -0.01; },
         CONCERN_UNSTABLE_COEFFICIENTS},
        {[](SimulationSettings& s) { s.coolingCoefficient = -0.1; }, CONCERN_UNSTABLE_COEFFICIENTS},
        {[](SimulationSettings& s) { s.coolingCoefficient = 12.0; }, 0u},  // k = 0.035: up to 12.28
        {[](SimulationSettings& s) { s.coolingCoefficient = 12.5; }, CONCERN_UNSTABLE_COEFFICIENTS},
        {[](SimulationSettings& s) { s.weakFlamePower = -1; }, CONCERN_NEGATIVE_FLAME_POWER},
        {[](SimulationSettings& s) { s.strongFlamePower = 0; }, 0u},
        {[](SimulationSettings& s) { s.roomTemperature = -273; }, 0u},
        {[](SimulationSettings& s) { s.roomTemperature = -274; }, CONCERN_ROOM_BELOW_ABSOLUTE_ZERO},
        {[](SimulationSettings& s) {
             s.mediumFlamePower = -5;
             s.conductionCoefficient = 0.5;
         },
         CONCERN_NEGATIVE_FLAME_POWER | CONCERN_UNSTABLE_COEFFICIENTS},
    };
    for (const auto& c : cases) {
        SimulationSettings s;
        c.change(s);
        EXPECT_EQ(SettingsConcerns(s), c.concerns)
            << s.conductionCoefficient << " " << s.coolingCoefficient << " " << s.roomTemperature;
    }
}

TEST(SettingsConcerns, ANegativeFlameTakesWaterBelowAbsoluteZero) {
    SimulationSettings s;
    s.strongFlamePower = -1000;
    CSimulation sim;
    sim.SetSeed(1);
    sim.SetFlames(FLAME_OFF, FLAME_STRONG);
    sim.FreshStart(s);
    CHistoryRecorder recorder;
    sim.RunTicks(100000, recorder);
    EXPECT_GT(UnphysicalCellCount(sim), 0);
}

TEST(PhysicalCell, FiniteAndNotBelowAbsoluteZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(IsPhysicalCell(CCell(-273.15, -273.15, PHASE_LIQUID)));
    EXPECT_TRUE(IsPhysicalCell(CCell(100.0, 639.0, PHASE_VAPOUR)));
    EXPECT_FALSE(IsPhysicalCell(CCell(-273.16, 0.0, PHASE_LIQUID)));
    EXPECT_FALSE(IsPhysicalCell(CCell(0.0, -300.0, PHASE_LIQUID)));
    EXPECT_FALSE(IsPhysicalCell(CCell(nan, 0.0, PHASE_LIQUID)));
    EXPECT_FALSE(IsPhysicalCell(CCell(0.0, inf, PHASE_LIQUID)));
    EXPECT_FALSE(IsPhysicalCell(CCell(-inf, 0.0, PHASE_LIQUID)));

    CSimulation sim;
    EXPECT_EQ(UnphysicalCellCount(sim), 0) << "no grid";
    sim.FreshStart(SimulationSettings{});
    EXPECT_EQ(UnphysicalCellCount(sim), 0);
    sim.SetCell(3, 4, CCell(nan, nan, PHASE_LIQUID));
    sim.SetCell(0, 0, CCell(-300.0, -300.0, PHASE_LIQUID));
    EXPECT_EQ(UnphysicalCellCount(sim), 2);

    // The averages of such a grid are not numbers either, and say so instead of reading 0.
    sim.ComputeAverages();
    EXPECT_TRUE(std::isnan(sim.AverageTemperatureValue()));
    EXPECT_TRUE(std::isnan(sim.AverageHeatValue()));
    sim.SetCell(3, 4, CCell(20.0, 20.0, PHASE_LIQUID));
    sim.SetCell(0, 0, CCell(20.0, 20.0, PHASE_LIQUID));
    sim.ComputeAverages();
    EXPECT_EQ(sim.AverageTemperatureValue(), sim.AverageTemperature());
}

}  // namespace
