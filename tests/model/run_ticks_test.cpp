// The run operation against the eager tick: averages computed only where read must be
// exactly those of a pass over all cells before each tick's update.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "Numbers.h"
#include "Simulation.h"

namespace {

struct RunCase {
    const char* name;
    int columns;
    int rows;
    int initialTemperature;
    int roomTemperature;
    int strongPower;
    int historyInterval;
    std::uint32_t seed;
    int ticks;
};

struct Sample {
    long long tick;
    int temperature;
    int heat;
    bool operator==(const Sample&) const = default;
};

class SampleList : public SampleSink {
public:
    void OnSample(long long tick, int temperature, int heat) override {
        samples.push_back({tick, temperature, heat});
    }
    std::vector<Sample> samples;
};

SimulationSettings SettingsOf(const RunCase& c) {
    SimulationSettings s;
    s.columns = c.columns;
    s.rows = c.rows;
    s.initialTemperature = c.initialTemperature;
    s.roomTemperature = c.roomTemperature;
    s.strongFlamePower = c.strongPower;
    return s;
}

void Start(CSimulation& sim, const RunCase& c) {
    sim.SetSeed(c.seed);
    sim.SetFlames(FLAME_STRONG, sim.CentreFlame());
    sim.FreshStart(SettingsOf(c));
}

class RunTicksTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunTicksTest, EveryTickReadsTheAveragesOfTheFullPass) {
    const RunCase& c = GetParam();
    CSimulation eager;
    CSimulation lazy;
    Start(eager, c);
    Start(lazy, c);
    CHistoryRecorder eagerHistory;
    CHistoryRecorder lazyHistory;
    eagerHistory.SetHistoryInterval(c.historyInterval);
    lazyHistory.SetHistoryInterval(c.historyInterval);
    SampleList eagerSamples;
    SampleList lazySamples;
    for (int tick = 1; tick <= c.ticks; ++tick) {
        eager.Step();
        const int heat = CalToJoules(eager.AverageHeat());
        if (eagerHistory.RecordSample(eager.AverageTemperature(), heat)) {
            eagerSamples.OnSample(tick, eager.AverageTemperature(), heat);
        }
        // The last tick of a run always has its averages.
        lazy.RunTicks(1, lazyHistory, &lazySamples);
        ASSERT_EQ(lazy.AverageTemperature(), eager.AverageTemperature()) << "tick " << tick;
        ASSERT_EQ(lazy.AverageHeat(), eager.AverageHeat()) << "tick " << tick;
    }
    EXPECT_EQ(lazySamples.samples, eagerSamples.samples);
    EXPECT_EQ(lazy.TicksRun(), c.ticks);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, RunTicksTest,
    ::testing::Values(RunCase{"Default", 20, 20, 15, 10, 400, 100, 1, 60000},
                      RunCase{"SampleEveryTick", 20, 20, 15, 10, 400, -1, 2, 20000},
                      RunCase{"ThinAndTall", 3, 50, 90, 10, 400, 0, 3, 40000},
                      RunCase{"Large", 80, 80, 95, 10, 400, 100, 4, 60000},
                      RunCase{"StartsAtTheBoil", 9, 9, 100, 100, 1000000, 5, 5, 20000},
                      // More cells than the tracked sums can hold: summed every time.
                      RunCase{"BeyondTheTrackedSize", 100, 90, 15, 10, 400, 100, 8, 4000},
                      // Heat far beyond the tracked range: every tick sums the grid.
                      RunCase{"AbsurdRoom", 5, 5, 15, INT_MIN / 2, 400, 3, 6, 3000}),
    [](const auto& info) { return std::string(info.param.name); });

// Grids whose mean lies exactly on, or a hair from, a rounding boundary: the tracked sums
// cannot decide these, and the value must still be that of the ordered pass.
TEST(RunTicksBoundaryTest, MeansAtTheRoundingBoundaryMatchTheFullPass) {
    for (double offset : {0.0, 1e-13, -1e-13, 3e-9, -3e-9}) {
        CSimulation sim;
        SimulationSettings settings;
        settings.columns = 4;
        settings.rows = 4;
        sim.FreshStart(settings);
        sim.SetSeed(7);
        for (int col = 0; col < 4; ++col) {
            for (int row = 0; row < 4; ++row) {
                // Half the cells at 20, half at 21, all shifted by the offset.
                const double value = (col % 2 == 0 ? 20.0 : 21.0) + offset;
                sim.SetCell(row, col, CCell(value, value, PHASE_LIQUID));
            }
        }
        CSimulation copy;
        copy.FreshStart(settings);
        for (int row = 0; row < 4; ++row) {
            for (int col = 0; col < 4; ++col) {
                copy.SetCell(row, col, sim.Cell(row, col));
            }
        }
        copy.ComputeAverages();
        CHistoryRecorder history;
        sim.RunTicks(1, history);
        EXPECT_EQ(sim.AverageTemperature(), copy.AverageTemperature()) << offset;
        EXPECT_EQ(sim.AverageHeat(), copy.AverageHeat()) << offset;
    }
}

TEST(RunTicksBoundaryTest, NoGridRunsNothingAndReleaseLeavesNoGrid) {
    CSimulation sim;
    CHistoryRecorder history;
    sim.RunTicks(10, history);
    EXPECT_EQ(sim.TicksRun(), 0);
    sim.FreshStart(SimulationSettings{});
    sim.RunTicks(10, history);
    EXPECT_EQ(sim.TicksRun(), 10);
    sim.ReleaseGrids();
    EXPECT_FALSE(sim.HasGrid());
    sim.RunTicks(10, history);
    EXPECT_EQ(sim.TicksRun(), 10);
    sim.FreshStart(SimulationSettings{});
    EXPECT_EQ(sim.TicksRun(), 0);
}

// A run restored just short of the counter's limit counts up to it and stays there: its
// samples never carry a negative tick.
TEST(RunTicksBoundaryTest, TheTickCounterStopsAtItsLimit) {
    CSimulation sim;
    sim.FreshStart(SimulationSettings{});
    sim.RestoreStart(SimulationSettings{}, FLAME_STRONG, FLAME_WEAK, 1, sim.Generator(),
                     LLONG_MAX - 2, 0, 0);
    CHistoryRecorder recorder;
    recorder.SetHistoryInterval(-1);  // a sample every tick
    SampleList sink;
    sim.RunTicks(4, recorder, &sink);
    EXPECT_EQ(sim.TicksRun(), LLONG_MAX);
    ASSERT_EQ(sink.samples.size(), 4u);
    EXPECT_EQ(sink.samples[0].tick, LLONG_MAX - 1);
    EXPECT_EQ(sink.samples[3].tick, LLONG_MAX);
}

}  // namespace
