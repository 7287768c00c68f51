// The drawing a tick causes in a 640 x 480 window, next to the model alone, and the cost
// of a full rebuild of the frame.
#include <benchmark/benchmark.h>

#include "Simulation.h"
#include "VesselView.h"
#include "WarmRun.h"

namespace {

constexpr int CLIENT_WIDTH = 640;
constexpr int CLIENT_HEIGHT = 480;

// A started run's view: frame made for the window and fully drawn.
void Attach(CSimulation& sim, CVesselView& view) {
    view.CentreInspection();
    view.CreateFrame(CLIENT_WIDTH, CLIENT_HEIGHT);
    view.FullRebuild(true);
    sim.SetRedrawObserver(&view);
}

void BM_TickModelOnly(benchmark::State& state) {
    RunModelTicks(state);
}

// Ticks of a started run whose view redraws every cell a tick changes, and when `withPanel`
// the info panel of the selected cell at the end of each tick, as the window does while the
// panel follows that cell.
void TickWithView(benchmark::State& state, bool withPanel) {
    CSimulation sim;
    PrepareWarmRun(sim, static_cast<int>(state.range(0)));
    CVesselView view(sim);
    Attach(sim, view);
    for (auto _ : state) {
        sim.Step();
        if (withPanel) {
            view.RefreshSelectedInfo();
        }
        benchmark::ClobberMemory();
    }
    SetTickRate(state);
}

void BM_TickWithView(benchmark::State& state) {
    TickWithView(state, false);
}

void BM_TickWithViewAndPanel(benchmark::State& state) {
    TickWithView(state, true);
}

void BM_FullRebuild(benchmark::State& state) {
    CSimulation sim;
    PrepareWarmRun(sim, static_cast<int>(state.range(0)));
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
