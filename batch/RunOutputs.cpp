#include "RunOutputs.h"

#include <algorithm>
#include <cerrno>

#include "HistoryRecorder.h"
#include "RunHistory.h"
#include "Simulation.h"

namespace {

// Writes each sample the run takes as a CSV line, when there is a history output. The first
// failed write (a full disk) is recorded and ends the writing.
class HistoryCsv : public SampleSink {
public:
    HistoryCsv(std::FILE* stream, SampleSink* alsoTo) : m_stream(stream), m_alsoTo(alsoTo) {}
    void OnSample(long long tick, int temperature, int heat) override {
        if (m_alsoTo != nullptr) {
            m_alsoTo->OnSample(tick, temperature, heat);
        }
        if (m_stream != nullptr && m_nError == 0 &&
            std::fputs(FormatHistoryCsvLine(tick, temperature, heat).c_str(), m_stream) < 0) {
            m_nError = errno != 0 ? errno : EIO;
        }
    }
    int Error() const { return m_nError; }

private:
    std::FILE* m_stream;
    SampleSink* m_alsoTo;
    int m_nError = 0;
};

}  // namespace

void StartRun(CSimulation& simulation, const BatchOptions& options) {
    if (options.seed) {
        simulation.SetSeed(*options.seed);
    }
    simulation.SetFlames(options.endsLevel, options.centreLevel);
    simulation.FreshStart(options.settings);
}

int RunRecorded(CSimulation& simulation, const BatchOptions& options, std::FILE* historyCsv,
                const std::function<void(long long done)>& afterSlice) {
    CHistoryRecorder history;
    history.ResetHistory(simulation.InitialTemperature());
    history.SetHistoryInterval(options.settings.historyInterval);
    if (historyCsv != nullptr) {
        std::fputs(HISTORY_CSV_HEADER, historyCsv);
    }
    return RunRecorded(simulation, options.ticks, history, historyCsv, nullptr, afterSlice);
}

int RunRecorded(CSimulation& simulation, long long ticks, CHistoryRecorder& recorder,
                std::FILE* historyCsv, SampleSink* alsoTo,
                const std::function<void(long long done)>& afterSlice) {
    HistoryCsv csv(historyCsv, alsoTo);
    for (long long done = 0; done < ticks;) {
        const long long slice = std::min(RUN_SLICE, ticks - done);
        simulation.RunTicks(slice, recorder, &csv);
        done += slice;
        if (csv.Error() != 0) {
            return csv.Error();
        }
        if (afterSlice) {
            afterSlice(done);
        }
    }
    return 0;
}

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
