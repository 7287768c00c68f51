#pragma once

#include <cstdint>
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
};

// Runs the model as the options say and writes the requested files. Returns the process
// exit status: BATCH_EXIT_DONE, or BATCH_EXIT_OUTPUT_FAILED when an output cannot be written
// (reported on `errors`); a drawing failure of the picture ends it with that failure's code.
int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors,
             bool showProgress);

std::string FormatSummary(const BatchSummary& summary);
