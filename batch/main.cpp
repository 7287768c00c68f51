#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "PendingOutputs.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const BatchParseResult parsed = ParseBatchOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << parsed.error << '\n';
        return BATCH_EXIT_BAD_OPTIONS;
    }
    if (parsed.options.help) {
        std::cout << BatchUsage();
        return BATCH_EXIT_DONE;
    }
    // Interrupted, the run leaves no temporary file behind.
    RemovePendingOutputsOnSignals();
    const bool progress = parsed.options.progress.value_or(isatty(STDERR_FILENO) != 0);
    return RunBatch(parsed.options, std::cout, std::cerr, progress);
}
