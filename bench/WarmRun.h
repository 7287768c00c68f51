#pragma once

#include <benchmark/benchmark.h>

#include "Simulation.h"

// A started size x size run (seed 1), warmed so that bubbles and convection take part as in a
// real run.
inline void PrepareWarmRun(CSimulation& sim, int size) {
    sim.SetSeed(1);
    SimulationSettings settings;
    settings.columns = size;
    settings.rows = size;
    sim.FreshStart(settings);
    for (int tick = 0; tick < 200 * size * size; ++tick) {
        sim.Step();
    }
}

// Reports the benchmark's iterations as ticks per second.
inline void SetTickRate(benchmark::State& state) {
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The model's eager tick alone (the averages of every tick), on a warm run of range(0) cells a
// side.
inline void RunModelTicks(benchmark::State& state) {
    CSimulation sim;
    PrepareWarmRun(sim, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(sim.AverageHeat());
    }
    SetTickRate(state);
}
