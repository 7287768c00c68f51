// Runs the engine once as the headless runner runs it and writes the runner's outputs: the
// grid dump and the history CSV exactly as quorvel-batch writes them for the same seed and
// options, and, where the view is built in, the frame's pixels. Compiled to WebAssembly and
// run under node, it shows that the engine gives the same run in a browser as on the desktop.
//
// Usage: engine_check --seed N [--ticks N] [--columns N] [--rows N] [--history-interval N]
//                     [--view-size WxH] [--grid-out FILE] [--history-out FILE]
//                     [--pixels-out FILE]
// The options mean what the runner's options of the same names mean; --pixels-out writes the
// frame row by row from the top, three bytes R, G, B a pixel.

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "BatchOptions.h"
#include "FramePixels.h"
#include "PendingOutputs.h"
#include "RunOutputs.h"
#include "Simulation.h"

namespace {

struct CheckOptions {
    BatchOptions run;  // the runner's defaults for everything not given
    std::string pixelsOut;
};

template <typename Int>
bool ParseInteger(std::string_view text, Int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseViewSize(std::string_view text, int& width, int& height) {
    const std::size_t separator = text.find('x');
    return separator != std::string_view::npos && ParseInteger(text.substr(0, separator), width) &&
           ParseInteger(text.substr(separator + 1), height) && width > 0 && height > 0 &&
           width <= MAX_VIEW_SIZE && height <= MAX_VIEW_SIZE;
}

// Reads "--option value" pairs. Returns an empty string, or what is wrong.
std::string ParseArguments(int argc, char** argv, CheckOptions& options) {
    BatchOptions& run = options.run;
    bool seeded = false;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view option = argv[i];
        if (i + 1 >= argc) {
            return std::string(option) + ": missing value";
        }
        const std::string_view value = argv[i + 1];
        std::uint32_t seed = 0;
        bool good = true;
        if (option == "--seed") {
            good = ParseInteger(value, seed);
            run.seed = seed;
            seeded = good;
        } else if (option == "--ticks") {
            good = ParseInteger(value, run.ticks) && run.ticks >= 0;
        } else if (option == "--columns" || option == "--rows") {
            int& size = option == "--columns" ? run.settings.columns : run.settings.rows;
            good = ParseInteger(value, size) && size >= MIN_GRID_SIZE && size <= MAX_GRID_SIZE;
        } else if (option == "--history-interval") {
            good = ParseInteger(value, run.settings.historyInterval);
        } else if (option == "--view-size") {
            good = ParseViewSize(value, run.viewWidth, run.viewHeight);
        } else if (option == "--grid-out") {
            run.gridOut = value;
        } else if (option == "--history-out") {
            run.historyOut = value;
        } else if (option == "--pixels-out") {
            if (!FramePixelsAvailable()) {
                return "--pixels-out: this build has no view";
            }
            options.pixelsOut = value;
        } else {
            return "unknown option '" + std::string(option) + "'";
        }
        if (!good || value.empty()) {
            return std::string(option) + ": bad value '" + std::string(value) + "'";
        }
    }
    return seeded ? std::string() : std::string("--seed is required: the run must repeat");
}

int Run(const CheckOptions& options) {
    const BatchOptions& run = options.run;
    PendingOutputs outputs;
    constexpr std::size_t NONE = static_cast<std::size_t>(-1);
    auto add = [&outputs](const std::string& path) {
        return path.empty() ? NONE : outputs.Add(path);
    };
    const std::size_t gridFile = add(run.gridOut);
    const std::size_t historyFile = add(run.historyOut);
    const std::size_t pixelsFile = add(options.pixelsOut);
    if (!outputs.Open()) {
        std::fprintf(stderr, "engine_check: %s\n", outputs.Error().c_str());
        return BATCH_EXIT_OUTPUT_FAILED;
    }
    std::FILE* const historyStream = historyFile != NONE ? outputs.Stream(historyFile) : nullptr;

    CSimulation simulation;
    StartRun(simulation, run);
    const std::unique_ptr<FramePixels> frame =
        pixelsFile != NONE ? StartFramePixels(simulation, run.viewWidth, run.viewHeight) : nullptr;
    const int historyError = RunRecorded(simulation, run, historyStream);
    if (historyError != 0) {
        outputs.Fail(historyFile, historyError);
    }
    if (gridFile != NONE && !WriteGrid(simulation, outputs.Stream(gridFile))) {
        outputs.Fail(gridFile, errno);
    }
    if (frame && !frame->Write(outputs.Stream(pixelsFile))) {
        outputs.Fail(pixelsFile, errno);
    }
    if (!outputs.Commit()) {
        std::fprintf(stderr, "engine_check: %s\n", outputs.Error().c_str());
        return BATCH_EXIT_OUTPUT_FAILED;
    }
    return BATCH_EXIT_DONE;
}

}  // namespace

int main(int argc, char** argv) {
    CheckOptions options;
    const std::string error = ParseArguments(argc, argv, options);
    if (!error.empty()) {
        std::fprintf(stderr, "engine_check: %s\n", error.c_str());
        return BATCH_EXIT_BAD_OPTIONS;
    }
    return Run(options);
}
