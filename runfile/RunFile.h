#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "Cell.h"
#include "HistoryRecorder.h"
#include "RunHistory.h"
#include "SimulationSettings.h"

class CSimulation;

// A run kept in a file: everything that decides what the run does next and what is shown of
// it. The file is text, one record a line, in a fixed order; README.md ("Run files")
// describes it line by line.
struct RunFile {
    SimulationSettings settings;  // continueRun is not kept
    std::uint32_t seed = 0;
    int endsLevel = START_ENDS_FLAME;
    int centreLevel = START_CENTRE_FLAME;
    std::vector<int> burnerHeat;  // one per column
    long long ticksRun = 0;
    std::mt19937 generator;
    int averageTemperature = 0;  // the averages the last tick left, as shown
    int averageHeat = 0;
    int selectedCol = -1;  // -1, -1: no cell selected
    int selectedRow = -1;
    int ticksSinceSample = 0;
    std::array<HistorySample, HISTORY_SAMPLE_COUNT> window{};
    // Both grids, row by row from the surface, and what each cell's bubble stands on.
    std::vector<CCell> grid;
    std::vector<CCell> stage;
    std::vector<std::uint32_t> bubbleBackgrounds;
    // The whole run's samples as its history keeps them.
    long long historyStride = 1;
    long long historySkipped = 0;
    std::vector<CRunHistory::Entry> history;
};

// The newest format this program reads and the one it writes.
constexpr int RUN_FILE_VERSION = 1;
// A larger file is refused before it is read.
constexpr long long RUN_FILE_MAX_BYTES = 64LL * 1024 * 1024;
// The first word of the version line.
constexpr std::string_view RUN_FILE_MAGIC = "quorvel-run";

// The run as it stands. `background` gives the colour a cell's bubble stands on (the view's
// BubbleBackground); without it every bubble stands on 0.
RunFile CaptureRun(const CSimulation& simulation, const CHistoryRecorder& recorder,
                   const CRunHistory& history, int selectedCol, int selectedRow,
                   const std::function<std::uint32_t(int col, int row)>& background = {});

// Puts a run read back in place: the simulation, the history's interval, samples and count
// since the last sample, and the whole run's samples. The selection and the bubbles are the
// view's (RunFile::selectedCol, bubbleBackgrounds).
void RestoreRun(const RunFile& run, CSimulation& simulation, CHistoryRecorder& recorder,
                CRunHistory& history);

// The file's text; nothing (and `error` says why) when a value cannot be kept exactly, as a
// cell that is not a finite number.
std::optional<std::string> FormatRunFile(const RunFile& run, std::string& error);

// Reads the text strictly: every record in its place, every number whole and in its range.
// Nothing when anything is wrong, with `error` naming the line and the fault.
std::optional<RunFile> ParseRunFile(std::string_view text, std::string& error);

// Reads and parses the file at `path`; a file over RUN_FILE_MAX_BYTES is not read.
std::optional<RunFile> ReadRunFile(const std::string& path, std::string& error);
