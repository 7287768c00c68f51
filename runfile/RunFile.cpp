#include "RunFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Simulation.h"

RunFile CaptureRun(const CSimulation& simulation, const CHistoryRecorder& recorder,
                   const CRunHistory& history, int selectedCol, int selectedRow,
                   const std::function<std::uint32_t(int col, int row)>& background) {
    RunFile run;
    run.settings = simulation.CurrentSettings(recorder.HistoryInterval());
    run.seed = simulation.Seed();
    run.endsLevel = simulation.EndsFlame();
    run.centreLevel = simulation.CentreFlame();
    for (int col = 0; col < simulation.Columns(); ++col) {
        run.burnerHeat.push_back(simulation.HasGrid() ? simulation.BurnerHeat(col) : 0);
    }
    run.ticksRun = simulation.TicksRun();
    run.generator = simulation.Generator();
    run.averageTemperature = simulation.AverageTemperature();
    run.averageHeat = simulation.AverageHeat();
    run.selectedCol = selectedCol;
    run.selectedRow = selectedRow;
    run.ticksSinceSample = recorder.TicksSinceSample();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        run.window[static_cast<std::size_t>(i)] = recorder.Sample(i);
    }
    if (simulation.HasGrid()) {
        for (int row = 0; row < simulation.Rows(); ++row) {
            for (int col = 0; col < simulation.Columns(); ++col) {
                const CCell& cell = simulation.Cell(row, col);
                run.grid.push_back(cell);
                run.stage.push_back(simulation.StagedCell(row, col));
                run.bubbleBackgrounds.push_back(
                    cell.m_nPhase == PHASE_VAPOUR && background ? background(col, row) : 0);
            }
        }
    }
    run.historyStride = history.Stride();
    run.historySkipped = history.Skipped();
    run.history = history.Entries();
    return run;
}

void RestoreRun(const RunFile& run, CSimulation& simulation, CHistoryRecorder& recorder,
                CRunHistory& history) {
    simulation.RestoreStart(run.settings, run.endsLevel, run.centreLevel, run.seed, run.generator,
                            run.ticksRun, run.averageTemperature, run.averageHeat);
    const int columns = run.settings.columns;
    for (int row = 0; row < run.settings.rows; ++row) {
        for (int col = 0; col < columns; ++col) {
            const auto index = static_cast<std::size_t>(row) * columns + col;
            simulation.SetCell(row, col, run.grid[index]);
            simulation.SetStagedCell(row, col, run.stage[index]);
        }
    }
    recorder.SetHistoryInterval(run.settings.historyInterval);
    recorder.Restore(run.window, run.ticksSinceSample);
    history.Restore(run.history, run.historyStride, run.historySkipped);
}

std::optional<RunFile> ReadRunFile(const std::string& path, std::string& error) {
    // Opened without waiting, so that a named pipe or a device cannot hold the program up;
    // only a regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return std::nullopt;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file";
        close(fd);
        return std::nullopt;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = fdopen(fd, "rb");
    if (file == nullptr) {
        error = std::strerror(errno);
        close(fd);
        return std::nullopt;
    }
    if (info.st_size > RUN_FILE_MAX_BYTES) {
        error = "larger than 64 MB, more than any run file";
        std::fclose(file);
        return std::nullopt;
    }
    // Read to the end, but never beyond the limit, even if the file grows meanwhile.
    std::string text;
    std::size_t length = 0;
    bool failed = false;
    while (length <= static_cast<std::size_t>(RUN_FILE_MAX_BYTES)) {
        text.resize(length + (1 << 20));
        const std::size_t got = std::fread(text.data() + length, 1, text.size() - length, file);
        length += got;
        failed = std::ferror(file) != 0;
        if (failed || got == 0 || std::feof(file) != 0) {
            break;
        }
    }
    const int reason = errno;
    std::fclose(file);
    if (failed) {
        error = std::strerror(reason != 0 ? reason : EIO);
        return std::nullopt;
    }
    text.resize(length);
    return ParseRunFile(text, error);
}
