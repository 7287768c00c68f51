// Ticks per second of the model: the eager tick (a pass over all cells for the averages
// every tick), the tick of a run (averages only where read) and the averages pass alone.
#include <benchmark/benchmark.h>

#include "Simulation.h"
#include "WarmRun.h"

namespace {

void BM_Tick(benchmark::State& state) {
    RunModelTicks(state);
}

// A tick as the window and the headless runner run it: with the history recorder, the
// averages only where read. Here every tick ends a run, so even its averages are taken.
void BM_RunTick(benchmark::State& state) {
    CSimulation sim;
    PrepareWarmRun(sim, static_cast<int>(state.range(0)));
    sim.ContinuedStart(sim.CurrentSettings(DEFAULT_HISTORY_INTERVAL));
    CHistoryRecorder history;
    for (auto _ : state) {
        sim.RunTicks(1, history);
        benchmark::DoNotOptimize(sim.AverageHeat());
    }
    SetTickRate(state);
}

// Baseline: only the sums of temperature and heat over all cells, once per "tick".
void BM_AveragesOnly(benchmark::State& state) {
    CSimulation sim;
    PrepareWarmRun(sim, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sim.ComputeAverages();
        benchmark::DoNotOptimize(sim.AverageHeat());
        benchmark::ClobberMemory();
    }
    SetTickRate(state);
}

}  // namespace

BENCHMARK(BM_Tick)->Arg(3)->Arg(20)->Arg(80);
BENCHMARK(BM_RunTick)->Arg(3)->Arg(20)->Arg(80);
BENCHMARK(BM_AveragesOnly)->Arg(3)->Arg(20)->Arg(80);
