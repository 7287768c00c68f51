#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SimulationSettings.h"

// The frame's text sizes (VesselView.h), of which the value 0 is the standard one.
enum class TextSize;

// What the headless runner was asked to do.
struct BatchOptions {
    long long ticks = 10000;
    std::optional<std::uint32_t> seed;  // from the clock when absent
    SimulationSettings settings;
    int endsLevel = START_ENDS_FLAME;
    int centreLevel = START_CENTRE_FLAME;
    std::string gridOut;
    std::string historyOut;
    std::string pngOut;   // the vessel view's frame after the run, as PNG
    std::string runOut;   // the run after the last tick, as a run file
    std::string runIn;    // a run file to go on from instead of a fresh start
    int viewWidth = 640;  // client area the frame is made for
    int viewHeight = 480;
    TextSize textSize{};           // of the picture's labels and panel: the standard size
    std::optional<bool> progress;  // default: whether stderr is a terminal
    bool help = false;
};

// Result of reading the command line: the options, or one line naming what is wrong.
struct BatchParseResult {
    BatchOptions options;
    std::string error;  // empty on success
};

BatchParseResult ParseBatchOptions(const std::vector<std::string>& args);

// Accepted client sizes for --view-size (inclusive).
constexpr int MAX_VIEW_SIZE = 10000;

// The runner's exit statuses; a signal ends a run with SIGNAL_EXIT_BASE + the signal number.
constexpr int BATCH_EXIT_DONE = 0;
constexpr int BATCH_EXIT_OUTPUT_FAILED = 1;
constexpr int BATCH_EXIT_BAD_OPTIONS = 2;
// The run ended with cells that are not finite or colder than absolute zero.
constexpr int BATCH_EXIT_DIVERGED = 3;
// The memory the run or its picture needs could not be had.
constexpr int BATCH_EXIT_NO_MEMORY = 4;

// The --help text.
std::string BatchUsage();
