// Run files: extreme but valid values read back exactly, and every kind of damaged file
// refused with the line and the fault.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <limits>
#include <string>

#include "RunFile.h"
#include "Simulation.h"

namespace {

// A run of a small vessel boiling hard, so that its grid holds bubbles.
RunFile BoilingRun(SimulationSettings settings = {}) {
    settings.columns = 7;
    settings.rows = 5;
    settings.initialTemperature = 100;
    CSimulation sim;
    sim.SetSeed(77);
    sim.SetFlames(FLAME_STRONG, FLAME_STRONG);
    sim.FreshStart(settings);
    CHistoryRecorder recorder;
    recorder.ResetHistory(settings.initialTemperature);
    recorder.SetHistoryInterval(3);
    CRunHistory history;
    sim.RunTicks(3000, recorder, &history);
    EXPECT_GT(sim.VapourCellCount(), 0);
    return CaptureRun(sim, recorder, history, 2, 4, [](int col, int row) {
        return 0xFF000000u | static_cast<std::uint32_t>(col * 0x10203 + row);
    });
}

std::string Text(const RunFile& run) {
    std::string error;
    const std::optional<std::string> text = FormatRunFile(run, error);
    EXPECT_TRUE(text) << error;
    return text.value_or("");
}

TEST(RunFileTest, ExtremeValidValuesReadBackExactly) {
    SimulationSettings settings;
    settings.conductionCoefficient = -1.7976931348623157e308;
    settings.coolingCoefficient = 4.9406564584124654e-324;  // the smallest denormal
    settings.convectionRatio = 0.99999999999999989;         // the double below 1
    settings.roomTemperature = INT_MIN;
    settings.strongFlamePower = INT_MAX;
    settings.weakFlamePower = INT_MIN;
    settings.historyInterval = INT_MIN;
    settings.stepIntervalMs = MAX_STEP_INTERVAL;
    RunFile run = BoilingRun(settings);
    run.seed = UINT32_MAX;
    run.ticksRun = MAX_TICKS_RUN;
    run.averageTemperature = INT_MIN;
    run.averageHeat = INT_MAX;
    run.selectedCol = -1;
    run.selectedRow = -1;
    run.ticksSinceSample = INT_MAX;
    run.window[0] = {INT_MIN, INT_MAX};
    run.grid[0] = CCell(-0.0, 1e-310, PHASE_LIQUID);
    run.grid[1] = CCell(0.1, 1.7976931348623157e308, PHASE_LIQUID);
    run.bubbleBackgrounds[0] = run.bubbleBackgrounds[1] = 0;  // liquid cells keep none
    run.stage[2] = CCell(-2.2250738585072014e-308, 123456789.12345678, PHASE_LIQUID);
    run.history = {{1, INT_MIN, INT_MAX}, {MAX_TICKS_RUN, 100, -1}};

    const std::string text = Text(run);
    std::string error;
    const std::optional<RunFile> back = ParseRunFile(text, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(Text(*back), text);
    EXPECT_EQ(back->settings, run.settings);
    EXPECT_TRUE(std::signbit(back->grid[0].m_dTemperature));
    EXPECT_EQ(back->grid[0].m_dHeat, 1e-310);
    EXPECT_EQ(back->stage[2], run.stage[2]);
    EXPECT_EQ(back->generator, run.generator);
    EXPECT_EQ(back->bubbleBackgrounds, run.bubbleBackgrounds);
    EXPECT_EQ(back->history.back().tick, MAX_TICKS_RUN);

    // A restored simulation draws exactly what the captured one would have drawn next.
    CSimulation restored;
    CHistoryRecorder recorder;
    CRunHistory history;
    RestoreRun(*back, restored, recorder, history);
    EXPECT_EQ(Text(CaptureRun(restored, recorder, history, -1, -1)).substr(0, 2000),
              text.substr(0, 2000));
}

// A file kept from an earlier version reads back, and its run, put in place and captured
// again, is written to the same bytes.
TEST(RunFileTest, AKeptFileReadsBackAndIsWrittenAgainToTheByte) {
    const std::string path = QUORVEL_SOURCE_DIR "/tests/runfile/small.quorvel";
    std::string error;
    const std::optional<RunFile> run = ReadRunFile(path, error);
    ASSERT_TRUE(run) << error;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::string kept(16384, '\0');
    kept.resize(std::fread(kept.data(), 1, kept.size(), file));
    std::fclose(file);
    EXPECT_EQ(Text(*run), kept);

    CSimulation sim;
    CHistoryRecorder recorder;
    CRunHistory history;
    RestoreRun(*run, sim, recorder, history);
    const auto background = [&run](int col, int row) {
        return run->bubbleBackgrounds[static_cast<std::size_t>(row * run->settings.columns + col)];
    };
    EXPECT_EQ(
        Text(CaptureRun(sim, recorder, history, run->selectedCol, run->selectedRow, background)),
        kept);
}

TEST(RunFileTest, ARunWithCellsThatAreNotFiniteIsNotWritten) {
    RunFile run = BoilingRun();
    run.grid[3].m_dHeat = std::numeric_limits<double>::infinity();
    std::string error;
    EXPECT_FALSE(FormatRunFile(run, error));
    EXPECT_NE(error.find("row 0, column 3"), std::string::npos) << error;
}

// Replaces the first line that starts with `prefix` by `line`.
std::string ReplaceLine(std::string text, const std::string& prefix, const std::string& line) {
    const std::size_t at = text.rfind('\n' + prefix) + 1;
    text.replace(at, text.find('\n', at) - at, line);
    return text;
}

TEST(RunFileTest, DamagedFilesAreRefusedWithTheirFault) {
    const std::string good = Text(BoilingRun());
    const std::size_t gridAt = good.find("\ngrid\n") + 6;
    const std::size_t bubbleAt = good.find("\n-1 ", gridAt - 1) + 1;  // a bubble of the grid
    const std::string bubbleLine = good.substr(bubbleAt, good.find('\n', bubbleAt) - bubbleAt);
    auto withLineAt = [&good](std::size_t at, const std::string& line) {
        std::string text = good;
        text.replace(at, text.find('\n', at) - at, line);
        return text;
    };
    const struct {
        const char* what;
        std::string text;
        const char* fault;
    } cases[] = {
        {"empty", "", "the file is empty"},
        {"another file", "P3\n7 5\n", "line 1: not a Quorvel run file"},
        {"too new", ReplaceLine(good, "quorvel-run", "quorvel-run 2"), "newer Quorvel"},
        {"truncated", good.substr(0, good.size() / 2), "cut short"},
        {"without its end", good.substr(0, good.size() - 4), "ends before 'end'"},
        {"cut in a line", good.substr(0, gridAt + 4), "cut short (its last line"},
        {"text after the end", good + "x\n", "text after 'end'"},
        {"a zero byte", good.substr(0, 40) + '\0' + good.substr(41), "zero byte"},
        {"too many columns", ReplaceLine(good, "columns", "columns 81"), "columns 81 is out"},
        {"too few rows", ReplaceLine(good, "rows", "rows 2"), "rows 2 is out"},
        {"a setting not a number", ReplaceLine(good, "cooling", "cooling 0,6"), "not a number"},
        {"a NaN setting", ReplaceLine(good, "conduction", "conduction nan"), "not a finite"},
        {"a NaN cell", withLineAt(gridAt, "1 NaN 15"), "temperature 'NaN' is not a finite"},
        {"an infinite cell", withLineAt(gridAt, "1 15 inf"), "heat 'inf' is not a finite"},
        {"phase 0", withLineAt(gridAt, "0 15 15"), "phase 0 is neither 1 nor -1"},
        {"phase 2", withLineAt(gridAt, "2 15 15"), "phase 2 is neither"},
        {"a level that does not exist", ReplaceLine(good, "ends", "ends hot"), "'hot' does not"},
        {"a burner heat off its levels",
         ReplaceLine(good, "burner-heat", "burner-heat 1 2 3 4 5 6 7"), "burner heat of column 0"},
        {"a short generator", ReplaceLine(good, "generator", "generator 1 2 3"), "needs 625"},
        {"a selection off the grid", ReplaceLine(good, "selected", "selected 7 0"),
         "selected column 7 is out"},
        {"a stride not a power of two", ReplaceLine(good, "run-history", "run-history 3 0 0"),
         "not a power of two"},
        {"a bubble without its colour",
         withLineAt(bubbleAt, bubbleLine.substr(0, bubbleLine.rfind(' '))), "needs the colour"},
        {"a bad colour",
         withLineAt(bubbleAt, bubbleLine.substr(0, bubbleLine.rfind(' ')) + " zz0000"),
         "not six hexadecimal"},
        {"a line ending CR LF", withLineAt(gridAt, "1 15 15\r"), "heat '15\\r'"},
        {"a huge tick count", ReplaceLine(good, "ticks", "ticks 99999999999999999999"),
         "out of range"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseRunFile(c.text, error)) << c.what;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.what << ": " << error;
    }
}

// The number of the line that starts with `prefix`, counted from 1.
int LineOf(const std::string& text, const std::string& prefix) {
    const std::size_t at = text.rfind('\n' + prefix) + 1;
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

// Replaces line `number` (from 1) by `line`.
std::string WithLine(std::string text, int number, const std::string& line) {
    std::size_t at = 0;
    for (int i = 1; i < number; ++i) {
        at = text.find('\n', at) + 1;
    }
    text.replace(at, text.find('\n', at) - at, line);
    return text;
}

std::string Repeated(const std::string& words, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += words;
    }
    return text;
}

// Records that read well but hold what no run reaches are refused, naming their line; the
// nearest values a run can hold are taken.
TEST(RunFileTest, StatesNoRunReachesAreRefusedAtTheirLine) {
    const std::string good = Text(BoilingRun());
    // A history thinned as far as 2^62 ticks allow: a stride of 2^43, half a million samples.
    RunFile thinnedRun = BoilingRun();
    thinnedRun.ticksRun = MAX_TICKS_RUN;
    thinnedRun.historyStride = 1LL << 43;
    thinnedRun.history.clear();
    for (long long tick = 1; tick <= 500000; ++tick) {
        thinnedRun.history.push_back({tick << 43, 100, 0});
    }
    const std::string thinned = Text(thinnedRun);
    const int grid = LineOf(good, "grid\n") + 1;
    const int stage = LineOf(good, "stage\n") + 1;
    const int sample = LineOf(good, "run-history") + 1;
    const std::string zeros = Repeated(" 0", 623);
    const struct {
        const char* what;
        const std::string& text;
        int line;
        std::string replacement;
        const char* fault;  // null: taken
    } cases[] = {
        {"the most ticks", good, LineOf(good, "ticks"), "ticks 4611686018427387904", nullptr},
        {"one tick more", good, LineOf(good, "ticks"), "ticks 4611686018427387905",
         "ticks 4611686018427387905 is out of range (0 to 4611686018427387904)"},
        {"a cell at the boiling point", good, grid, "1 100 638.9", nullptr},
        {"a cell above it", good, grid, "1 100.00000000000001 15", "above the boiling point"},
        {"a cell at 1e308", good, grid, "1 1e308 15", "temperature 1e308 is above"},
        {"a staged cell at the boiling point", good, stage, "1 100 700", nullptr},
        {"a staged cell above it", good, stage, "1 101 15", "temperature 101 is above"},
        {"a staged bubble", good, stage, "-1 50 50", "a staged cell is always liquid"},
        {"the hottest average", good, LineOf(good, "averages"), "averages 100 0", nullptr},
        {"a hotter average", good, LineOf(good, "averages"), "averages 101 0",
         "average temperature 101 is out of range"},
        {"a window at the boiling point", good, LineOf(good, "window"),
         "window" + Repeated(" 100 0", 100), nullptr},
        {"a hotter window sample", good, LineOf(good, "window"),
         "window 101 0" + Repeated(" 100 0", 99), "sample temperature 101 is out of range"},
        {"the hottest kept sample", good, sample, "1 100 0", nullptr},
        {"a hotter kept sample", good, sample, "1 101 0", "sample temperature 101"},
        {"a zero generator", good, LineOf(good, "generator"), "generator 0" + zeros + " 624",
         "the generator's state is zero"},
        {"only its oldest word's unused bits", good, LineOf(good, "generator"),
         "generator 2147483647" + zeros + " 624", "the generator's state is zero"},
        {"only its oldest word's top bit", good, LineOf(good, "generator"),
         "generator 2147483648" + zeros + " 624", nullptr},
        {"the widest stride 2^62 ticks allow", thinned, LineOf(thinned, "run-history"),
         "run-history 8796093022208 0 500000", nullptr},
        {"a stride twice as wide", thinned, LineOf(thinned, "run-history"),
         "run-history 17592186044416 0 500000", "stride 17592186044416 is reached only after"},
        {"a thinned history with too few samples", thinned, LineOf(thinned, "run-history"),
         "run-history 8796093022208 0 499999", "keeps at least 500000 samples, not 499999"},
    };
    for (const auto& c : cases) {
        std::string error;
        const std::optional<RunFile> run =
            ParseRunFile(WithLine(c.text, c.line, c.replacement), error);
        if (c.fault == nullptr) {
            EXPECT_TRUE(run) << c.what << ": " << error;
            continue;
        }
        EXPECT_FALSE(run) << c.what;
        EXPECT_EQ(error.rfind("line " + std::to_string(c.line) + ": ", 0), 0u)
            << c.what << ": " << error;
        EXPECT_NE(error.find(c.fault), std::string::npos) << c.what << ": " << error;
    }
}

TEST(RunFileTest, FilesOverTheLimitOrMissingAreNotRead) {
    char path[] = "/tmp/quorvel-run-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, RUN_FILE_MAX_BYTES + 1), 0);  // sparse: no disk is used
    close(fd);
    std::string error;
    EXPECT_FALSE(ReadRunFile(path, error));
    EXPECT_NE(error.find("larger than 64 MB"), std::string::npos) << error;
    unlink(path);
    EXPECT_FALSE(ReadRunFile(path, error));
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
    // A named pipe without a writer would block a plain open: refused at once.
    ASSERT_EQ(mkfifo(path, 0600), 0);
    EXPECT_FALSE(ReadRunFile(path, error));
    EXPECT_EQ(error, "not a regular file");
    unlink(path);
}

}  // namespace
