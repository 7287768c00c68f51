#pragma once

#include <cstdio>
#include <functional>

#include "BatchOptions.h"

class CSimulation;

// The run as the headless runner makes it and the outputs that need no picture library: the
// history CSV written as the run goes and the grid dump after it. The runner and the engine
// check driver (built for WebAssembly too) share them, so both write the same bytes.

// Seeds the simulation when the options give a seed, sets the flames and starts it afresh
// with the options' settings.
void StartRun(CSimulation& simulation, const BatchOptions& options);

// Runs the options' ticks in slices of RUN_SLICE, recording history at the options' interval
// and, unless `historyCsv` is null, writing its header and then every sample as a CSV line.
// `afterSlice`, when given, is called with the ticks done after every slice. Returns 0, or the
// errno of the first failed CSV write, after whose slice the run stops (its outputs are lost).
int RunRecorded(CSimulation& simulation, const BatchOptions& options, std::FILE* historyCsv,
                const std::function<void(long long done)>& afterSlice = {});

// Ticks run between two calls of the slice callback (the runner's looks at the clock). The
// averages are worked out where a slice ends, so every driver slices alike.
constexpr long long RUN_SLICE = 0x4000;

// Writes every cell, one line each, rows from the surface down and columns left to right:
// "row col phase temperature heat" with both numbers at full precision. False when a write
// fails, with errno telling why.
bool WriteGrid(const CSimulation& simulation, std::FILE* stream);
