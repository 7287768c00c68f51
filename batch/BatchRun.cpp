#include "BatchRun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <memory>
#include <ostream>

#include "FatalError.h"
#include "HistoryRecorder.h"
#include "Numbers.h"
#include "PendingOutputs.h"
#include "PngEncoding.h"
#include "RunHistory.h"
#include "SettingsWarning.h"
#include "Simulation.h"
#include "Soundness.h"
#include "Texts.h"
#include "VesselView.h"

namespace {

class ProgressBar {
public:
    ProgressBar(long long total, std::ostream& errors) : m_total(total), m_errors(errors) {}

    void Show(long long done, double elapsedSeconds) {
        constexpr int kWidth = 40;
        const double fraction = m_total > 0 ? static_cast<double>(done) / m_total : 1.0;
        const int filled = static_cast<int>(fraction * kWidth);
        const double rate = elapsedSeconds > 0 ? done / elapsedSeconds : 0.0;
        char line[160];
        std::snprintf(line, sizeof line, "\r[%-*s] %3d%%  %lld/%lld ticks  %.0f ticks/s", kWidth,
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
bool WritePng(const QImage& image, PendingOutputs& outputs, std::size_t output) {
    const std::optional<QByteArray> bytes = EncodePng(image);
    if (!bytes) {
        outputs.Fail(output, PNG_ENCODE_FAILED);
        return false;
    }
    return outputs.Write(output, bytes->constData(), static_cast<std::size_t>(bytes->size()));
}

// Writes each sample the run takes as a CSV line, when there is a history output. The first
// failed write (a full disk) is recorded and ends the writing: the run's outputs are lost.
class HistoryCsv : public SampleSink {
public:
    explicit HistoryCsv(std::FILE* stream) : m_stream(stream) {}
    void OnSample(long long tick, int temperature, int heat) override {
        if (m_stream != nullptr && m_nError == 0 &&
            std::fputs(FormatHistoryCsvLine(tick, temperature, heat).c_str(), m_stream) < 0) {
            m_nError = errno != 0 ? errno : EIO;
        }
    }
    int Error() const { return m_nError; }

private:
    std::FILE* m_stream;
    int m_nError = 0;
};

int RunBatchUnguarded(const BatchOptions& options, std::ostream& out, std::ostream& errors,
                      bool showProgress);

}  // namespace

bool WriteGrid(const CSimulation& simulation, std::FILE* stream) {
    for (int row = 0; row < simulation.Rows(); ++row) {
        for (int col = 0; col < simulation.Columns(); ++col) {
            const CCell& cell = simulation.Cell(row, col);
            if (std::fprintf(stream, "%d %d %d %.17g %.17g\n", row, col, cell.m_nPhase,
                             cell.m_dTemperature, cell.m_dHeat) < 0) {
                return false;
            }
        }
    }
    return true;
}

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
             bool showProgress) {
    if (options.pngOut.empty()) {
        return RunBatchUnguarded(options, out, errors, showProgress);
    }
    FatalHandler previous = SetFatalHandler([](const std::string& text, int code) {
        throw DrawingFailure{text, code};
    });
    int status = BATCH_EXIT_DONE;
    try {
        status = RunBatchUnguarded(options, out, errors, showProgress);
    } catch (const DrawingFailure& failure) {
        errors << "quorvel-batch: " << failure.text << '\n';
        status = failure.code;
    }
    SetFatalHandler(std::move(previous));
    return status;
}

namespace {

int RunBatchUnguarded(const BatchOptions& options, std::ostream& out, std::ostream& errors,
                      bool showProgress) {
    // Check and open the outputs first, so that a path that cannot be written fails before
    // the run. Nothing replaces an old output until every new one is written whole.
    PendingOutputs outputs;
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    auto add = [&outputs](const std::string& path) {
        return path.empty() ? kNone : outputs.Add(path);
    };
    const std::size_t gridFile = add(options.gridOut);
    const std::size_t historyFile = add(options.historyOut);
    const std::size_t pngFile = add(options.pngOut);
    if (!outputs.Open()) {
        errors << "quorvel-batch: " << outputs.Error() << '\n';
        return BATCH_EXIT_OUTPUT_FAILED;
    }
    std::FILE* const historyStream = historyFile != kNone ? outputs.Stream(historyFile) : nullptr;

    CSimulation simulation;
    if (options.seed) {
        simulation.SetSeed(*options.seed);
    }
    simulation.SetFlames(options.endsLevel, options.centreLevel);
    simulation.FreshStart(options.settings);
    const std::string warning = SettingsWarning(options.settings, [](const char* japanese) {
        const char* english = Texts::English(japanese);
        return std::string(english != nullptr ? english : japanese);
    });
    if (!warning.empty()) {
        errors << "quorvel-batch: warning: " << warning << '\n';
    }

    // The picture: the frame as the window shows it after a start (no selection or hover
    // outline, no info panel), then patched by every redraw of the run.
    std::unique_ptr<CVesselView> view;
    if (pngFile != kNone) {
        view = std::make_unique<CVesselView>(simulation);
        view->ClearSelection();
        view->CreateFrame(options.viewWidth, options.viewHeight);
        view->FullRebuild(true);
        simulation.SetRedrawObserver(view.get());
    }

    CHistoryRecorder history;
    history.ResetHistory(simulation.InitialTemperature());
    history.m_nHistoryInterval = options.settings.historyInterval;
    if (historyStream != nullptr) {
        std::fputs(HISTORY_CSV_HEADER, historyStream);
    }

    ProgressBar bar(options.ticks, errors);
    const auto start = std::chrono::steady_clock::now();
    auto secondsSince = [](std::chrono::steady_clock::time_point from) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    };
    double lastShown = -1.0;
    HistoryCsv csv(historyStream);
    // Ticks run in slices between looks at the clock for the progress bar.
    constexpr long long kSlice = 0x4000;
    for (long long done = 0; done < options.ticks;) {
        const long long slice = std::min(kSlice, options.ticks - done);
        simulation.RunTicks(slice, history, &csv);
        done += slice;
        if (csv.Error() != 0) {
            outputs.Fail(historyFile, csv.Error());  // the run's outputs are lost anyway
            break;
        }
        if (showProgress && done < options.ticks) {
            const double elapsed = secondsSince(start);
            if (elapsed - lastShown >= 0.1) {
                bar.Show(done, elapsed);
                lastShown = elapsed;
            }
        }
    }
    const double elapsed = secondsSince(start);
    if (showProgress) {
        bar.Show(options.ticks, elapsed);
        bar.Finish();
    }

    if (gridFile != kNone && !WriteGrid(simulation, outputs.Stream(gridFile))) {
        outputs.Fail(gridFile, errno);
    }
    if (pngFile != kNone) {
        WritePng(view->FrameImage(), outputs, pngFile);
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
