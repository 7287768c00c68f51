// libFuzzer target for the run-file reader: any text is either refused with a reason or read
// into a run that writes back a text reading back to the same run, and that puts itself in
// place and is captured again as it was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "HistoryRecorder.h"
#include "RunFile.h"
#include "RunHistory.h"
#include "Simulation.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();  // libFuzzer keeps the input that broke the rule
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<RunFile> run = ParseRunFile(text, error);
    if (!run) {
        Check(!error.empty());
        return 0;
    }
    std::string fault;
    const std::optional<std::string> written = FormatRunFile(*run, fault);
    Check(written.has_value());
    const std::optional<RunFile> again = ParseRunFile(*written, error);
    Check(again.has_value());
    const std::optional<std::string> rewritten = FormatRunFile(*again, fault);
    Check(rewritten.has_value() && *rewritten == *written);

    // Put in place as a window or the runner does, the run is captured as it was read.
    CSimulation simulation;
    CHistoryRecorder recorder;
    CRunHistory history;
    RestoreRun(*run, simulation, recorder, history);
    const int columns = run->settings.columns;
    const RunFile captured =
        CaptureRun(simulation, recorder, history, run->selectedCol, run->selectedRow,
                   [&run, columns](int col, int row) {
                       return run->bubbleBackgrounds[static_cast<std::size_t>(row) * columns + col];
                   });
    const std::optional<std::string> recaptured = FormatRunFile(captured, fault);
    Check(recaptured.has_value() && *recaptured == *written);
    return 0;
}
