// Ticks per second of the model: the eager tick (a pass over all cells for the averages
// every tick), the tick of a run (averages only where read) and the averages pass alone.
#include <benchmark/benchmark.h>

#include "Simulation.h"

namespace {

void Prepare(CSimulation& sim, int size) {
    sim.SetSeed(1);
    SimulationSettings settings;
    settings.columns = size;
    settings.rows = size;
    sim.FreshStart(settings);
    // Warm the vessel so that bubbles and convection take part as in a real run.
    for (int tick = 0; tick < 200 * size * size; ++tick) {
        sim.Step();
    }
}

void BM_Tick(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(sim.AverageHeat());
    }
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A tick as the window and the headless runner run it: with the history recorder, the
// averages only where read. Here every tick ends a run, so even its averages are taken.
void BM_RunTick(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    sim.ContinuedStart(sim.CurrentSettings(DEFAULT_HISTORY_INTERVAL));
    CHistoryRecorder history;
    for (auto _ : state) {
        sim.RunTicks(1, history);
        benchmark::DoNotOptimize(sim.AverageHeat());
    }
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Baseline: only the sums of temperature and heat over all cells, once per "tick".
void BM_AveragesOnly(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sim.ComputeAverages();
        benchmark::DoNotOptimize(sim.AverageHeat());
        benchmark::ClobberMemory();
    }
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Tick)->Arg(3)->Arg(20)->Arg(80);
BENCHMARK(BM_RunTick)->Arg(3)->Arg(20)->Arg(80);
BENCHMARK(BM_AveragesOnly)->Arg(3)->Arg(20)->Arg(80);
