#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "BatchOptions.h"

// What a finished run reports in its summary line.
struct BatchSummary {
    long long ticks = 0;
    std::uint32_t seed = 0;
    double elapsedSeconds = 0.0;
    int averageTemperature = 0;
    int averageHeat = 0;
    int vapourCells = 0;
    int unphysicalCells = 0;  // not finite or below absolute zero; named only when there are
};

// Runs the model as the options say and writes the requested files. Returns the process
// exit status: BATCH_EXIT_DONE, BATCH_EXIT_OUTPUT_FAILED when an output cannot be written
// (reported on `errors`), or BATCH_EXIT_DIVERGED when the run left unphysical cells; a drawing
// failure of the picture ends it with that failure's code. Unsound settings are named on
// `errors` before the run. `afterSlice`, when given, is called with the ticks done after every
// slice of the run (RUN_SLICE ticks, fewer for the last), before any output is finished: a
// caller can watch the run, or interrupt it, at a tick of its choosing.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors,
             bool showProgress, const std::function<void(long long done)>& afterSlice = {});

std::string FormatSummary(const BatchSummary& summary);
