#include "BatchRun.h"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <new>
#include <ostream>

#include "FatalError.h"
#include "Numbers.h"
#include "PendingOutputs.h"
#include "PngEncoding.h"
#include "RunFile.h"
#include "RunHistory.h"
#include "RunOutputs.h"
#include "SettingsWarning.h"
#include "Simulation.h"
#include "Soundness.h"
#include "Surface.h"
#include "Texts.h"
#include "VesselView.h"

namespace {

class ProgressBar {
public:
    ProgressBar(long long total, std::ostream& errors) : m_total(total), m_errors(errors) {}

    void Show(long long done, double elapsedSeconds) {
        constexpr int WIDTH = 40;
        const double fraction = m_total > 0 ? static_cast<double>(done) / m_total : 1.0;
        const int filled = static_cast<int>(fraction * WIDTH);
        const double rate = elapsedSeconds > 0 ? done / elapsedSeconds : 0.0;
        char line[160];
        std::snprintf(line, sizeof line, "\r[%-*s] %3d%%  %lld/%lld ticks  %.0f ticks/s", WIDTH,
                      std::string(static_cast<std::size_t>(filled), '#').c_str(),
                      static_cast<int>(fraction * 100), done, m_total, rate);
        m_errors << line << std::flush;
    }
    void Finish() { m_errors << '\n' << std::flush; }

private:
    long long m_total;
    std::ostream& m_errors;
};

// A drawing failure of the picture, carried out of the run so that the half-written
// outputs are removed before the program ends with the failure's code.
struct DrawingFailure {
    std::string text;
    int code;
};

// Encodes the frame as PNG into the pending output.
bool WritePng(const PixelBuffer& image, PendingOutputs& outputs, std::size_t output) {
    const std::optional<std::vector<unsigned char>> bytes =
        EncodePng(image.Bits(), image.Width(), image.Height(), image.Stride());
    if (!bytes) {
        outputs.Fail(output, PNG_ENCODE_FAILED);
        return false;
    }
    return outputs.Write(output, bytes->data(), bytes->size());
}

int RunBatchUnguarded(const BatchOptions& options, std::ostream& out, std::ostream& errors,
                      bool showProgress, const std::function<void(long long done)>& afterSlice);

}  // namespace

std::string FormatSummary(const BatchSummary& s) {
    const double rate = s.elapsedSeconds > 0 ? s.ticks / s.elapsedSeconds : 0.0;
    char line[256];
    std::snprintf(line, sizeof line,
                  "ticks=%lld seed=%" PRIu32
                  " elapsed=%.3fs rate=%.0f ticks/s average_temperature=%d C"
                  " average_heat=%d cal vapour_cells=%d",
                  s.ticks, s.seed, s.elapsedSeconds, rate, s.averageTemperature, s.averageHeat,
                  s.vapourCells);
    std::string text = line;
    if (s.unphysicalCells > 0) {
        text += " unphysical_cells=" + std::to_string(s.unphysicalCells);
    }
    return text;
}

int RunBatch(const BatchOptions& options, std::ostream& out, std::ostream& errors,
             bool showProgress, const std::function<void(long long done)>& afterSlice) {
    FatalHandler previous = SetFatalHandler([](const std::string& text, int code) {
        throw DrawingFailure{text, code};
    });
    int status = BATCH_EXIT_DONE;
    try {
        status = RunBatchUnguarded(options, out, errors, showProgress, afterSlice);
    } catch (const std::bad_alloc&) {
        errors << "quorvel-batch: out of memory\n";
        status = BATCH_EXIT_NO_MEMORY;
    } catch (const DrawingFailure& failure) {
        // Making the frame fails only for want of memory (its size is checked as an option).
        if (failure.text == SurfaceMessages::BITMAP_CREATE) {
            errors << "quorvel-batch: out of memory for the picture's frame of "
                   << options.viewWidth << "x" << options.viewHeight
                   << " (a smaller --view-size needs less)\n";
            status = BATCH_EXIT_NO_MEMORY;
        } else {
            errors << "quorvel-batch: " << Texts::InEnglish(failure.text.c_str()) << '\n';
            status = failure.code;
        }
    }
    SetFatalHandler(std::move(previous));
    return status;
}

namespace {

int RunBatchUnguarded(const BatchOptions& options, std::ostream& out, std::ostream& errors,
                      bool showProgress, const std::function<void(long long done)>& afterSlice) {
    // A run to go on from is read whole first: a file that cannot be read changes nothing.
    std::optional<RunFile> input;
    if (!options.runIn.empty()) {
        std::string fault;
        input = ReadRunFile(options.runIn, fault);
        if (!input) {
            errors << "quorvel-batch: --run-in '" << EscapeControls(options.runIn) << "': " << fault
                   << '\n';
            return BATCH_EXIT_BAD_OPTIONS;
        }
        // The run goes on only as far as a run file keeps it, and its tick count never
        // overflows.
        if (options.ticks > MAX_TICKS_RUN - input->ticksRun) {
            errors << "quorvel-batch: --ticks " << options.ticks << " would take the run in '"
                   << EscapeControls(options.runIn) << "' past " << MAX_TICKS_RUN
                   << " ticks (it has run " << input->ticksRun << ")\n";
            return BATCH_EXIT_BAD_OPTIONS;
        }
    }

    // Check and open the outputs first, so that a path that cannot be written fails before
    // the run. Nothing replaces an old output until every new one is written whole.
    PendingOutputs outputs;
    constexpr std::size_t NONE = static_cast<std::size_t>(-1);
    auto add = [&outputs](const std::string& path) {
        return path.empty() ? NONE : outputs.Add(path);
    };
    const std::size_t gridFile = add(options.gridOut);
    const std::size_t historyFile = add(options.historyOut);
    const std::size_t pngFile = add(options.pngOut);
    const std::size_t runFile = add(options.runOut);
    if (!outputs.Open()) {
        errors << "quorvel-batch: " << outputs.Error() << '\n';
        return BATCH_EXIT_OUTPUT_FAILED;
    }
    std::FILE* const historyStream = historyFile != NONE ? outputs.Stream(historyFile) : nullptr;

    // The run: afresh, or the one read back with its samples; the whole run's samples are
    // kept only for a run file.
    CSimulation simulation;
    CHistoryRecorder recorder;
    CRunHistory runHistory;
    int selectedCol = 0;
    int selectedRow = 0;
    if (input) {
        RestoreRun(*input, simulation, recorder, runHistory);
        selectedCol = input->selectedCol;
        selectedRow = input->selectedRow;
    } else {
        StartRun(simulation, options);
        recorder.ResetHistory(simulation.InitialTemperature());
        recorder.SetHistoryInterval(options.settings.historyInterval);
        // The cell a window selects at a fresh start.
        selectedCol = simulation.Columns() / 2;
        selectedRow = simulation.Rows() / 2;
    }
    if (historyStream != nullptr) {
        std::fputs(HISTORY_CSV_HEADER, historyStream);
        for (const CRunHistory::Entry& entry : runHistory.Entries()) {
            std::fputs(FormatHistoryCsvLine(entry.tick, entry.temperature, entry.heat).c_str(),
                       historyStream);
        }
    }
    // Settings that are unsound are run, but named first (a run file's own included).
    const std::string warning = SettingsWarning(
        input ? input->settings : options.settings,
        [](const char* japanese) { return std::string(Texts::InEnglish(japanese)); });
    if (!warning.empty()) {
        errors << "quorvel-batch: warning: " << warning << '\n';
    }

    // The picture: the frame as the window shows it after a start (no selection or hover
    // outline, no info panel), then patched by every redraw of the run. A run file needs it
    // too: what each bubble stands on is a matter of the frame.
    std::unique_ptr<CVesselView> view;
    if (pngFile != NONE || runFile != NONE) {
        view = std::make_unique<CVesselView>(simulation);
        view->ClearSelection();
        view->SetTextSize(options.textSize);
        view->CreateFrame(options.viewWidth, options.viewHeight);
        view->FullRebuild(true);
        if (input) {
            view->RestoreBubbles(input->bubbleBackgrounds);
        }
        simulation.SetRedrawObserver(view.get());
    }

    ProgressBar bar(options.ticks, errors);
    const auto start = std::chrono::steady_clock::now();
    auto secondsSince = [](std::chrono::steady_clock::time_point from) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    };
    double lastShown = -1.0;
    const int historyError =
        RunRecorded(simulation, options.ticks, recorder, historyStream,
                    runFile != NONE ? &runHistory : nullptr, [&](long long done) {
                        if (showProgress && done < options.ticks) {
                            const double elapsed = secondsSince(start);
                            if (elapsed - lastShown >= 0.1) {
                                bar.Show(done, elapsed);
                                lastShown = elapsed;
                            }
                        }
                        if (afterSlice) {
                            afterSlice(done);
                        }
                    });
    if (historyError != 0) {
        outputs.Fail(historyFile, historyError);  // the run's outputs are lost anyway
    }
    const double elapsed = secondsSince(start);
    if (showProgress) {
        bar.Show(options.ticks, elapsed);
        bar.Finish();
    }

    if (gridFile != NONE && !WriteGrid(simulation, outputs.Stream(gridFile))) {
        outputs.Fail(gridFile, errno);
    }
    if (pngFile != NONE) {
        WritePng(view->Frame(), outputs, pngFile);
    }
    if (runFile != NONE) {
        std::string fault;
        const std::optional<std::string> text = FormatRunFile(
            CaptureRun(simulation, recorder, runHistory, selectedCol, selectedRow,
                       [&view](int col, int row) { return view->BubbleBackground(col, row); }),
            fault);
        if (!text) {
            // A run file cannot hold a value that is not a number: a diverged run writes its
            // other outputs and says why this one is left out (its old file stays as it was).
            outputs.Drop(runFile);
            errors << "quorvel-batch: --run-out '" << EscapeControls(options.runOut)
                   << "' not written: " << fault << '\n';
        } else {
            outputs.Write(runFile, text->data(), text->size());
        }
    }
    if (!outputs.Commit()) {
        errors << "quorvel-batch: " << outputs.Error() << '\n';
        return BATCH_EXIT_OUTPUT_FAILED;
    }

    simulation.ComputeAverages();  // the averages of the grid as the run left it
    BatchSummary summary;
    summary.ticks = options.ticks;
    summary.seed = simulation.Seed();
    summary.elapsedSeconds = elapsed;
    summary.averageTemperature = simulation.AverageTemperature();
    summary.averageHeat = simulation.AverageHeat();
    summary.vapourCells = simulation.VapourCellCount();
    summary.unphysicalCells = UnphysicalCellCount(simulation);
    out << FormatSummary(summary) << '\n';
    return summary.unphysicalCells > 0 ? BATCH_EXIT_DIVERGED : BATCH_EXIT_DONE;
}

}  // namespace
