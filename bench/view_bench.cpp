// The drawing a tick causes in a 640 x 480 window, next to the model alone, and the cost
// of a full rebuild of the frame.
#include <benchmark/benchmark.h>

#include "Simulation.h"
#include "VesselView.h"

namespace {

constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;

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

// A started run's view: frame made for the window and fully drawn.
void Attach(CSimulation& sim, CVesselView& view) {
    view.CentreInspection();
    view.CreateFrame(kClientWidth, kClientHeight);
    view.FullRebuild(true);
    sim.SetRedrawObserver(&view);
}

void SetRate(benchmark::State& state) {
    state.counters["ticks/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_TickModelOnly(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        sim.Step();
        benchmark::DoNotOptimize(sim.AverageHeat());
    }
    SetRate(state);
}

// Every cell the tick changes is redrawn into the frame.
void BM_TickWithView(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    CVesselView view(sim);
    Attach(sim, view);
    for (auto _ : state) {
        sim.Step();
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

// As the window does while the panel follows the selected cell: the redraws, then the
// info panel of the selected cell at the end of the tick.
void BM_TickWithViewAndPanel(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    CVesselView view(sim);
    Attach(sim, view);
    for (auto _ : state) {
        sim.Step();
        view.RefreshSelectedInfo();
        benchmark::ClobberMemory();
    }
    SetRate(state);
}

void BM_FullRebuild(benchmark::State& state) {
    CSimulation sim;
    Prepare(sim, static_cast<int>(state.range(0)));
    CVesselView view(sim);
    Attach(sim, view);
    for (auto _ : state) {
        view.FullRebuild(true);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(BM_TickModelOnly)->Arg(20)->Arg(80);
BENCHMARK(BM_TickWithView)->Arg(20)->Arg(80);
BENCHMARK(BM_TickWithViewAndPanel)->Arg(20)->Arg(80);
BENCHMARK(BM_FullRebuild)->Arg(20)->Arg(80)->Unit(benchmark::kMicrosecond);
