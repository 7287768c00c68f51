#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs the real quorvel-batch in a fresh temporary directory.
class BatchRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quorvel-batch-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    // Exit status of the runner; stdout and stderr are kept in out.txt and err.txt.
    int Run(const std::string& args) {
        const std::string command =
            "cd '" + dir.string() + "' && '" QUORVEL_BATCH_EXE "' " + args + " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::vector<std::string> Lines(const std::string& name) const {
        std::vector<std::string> lines;
        std::istringstream in(Read(name));
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

TEST_F(BatchRunTest, SameSeedWritesTheSameGridTwice) {
    ASSERT_EQ(Run("--ticks 30000 --seed 11 --no-progress --grid-out a.txt"), 0) << Read("err.txt");
    ASSERT_EQ(Run("--ticks 30000 --seed 11 --no-progress --grid-out b.txt"), 0);
    ASSERT_EQ(Run("--ticks 30000 --seed 12 --no-progress --grid-out c.txt"), 0);
    EXPECT_EQ(Read("a.txt"), Read("b.txt"));
    EXPECT_NE(Read("a.txt"), Read("c.txt"));
}

TEST_F(BatchRunTest, GridFileHasOneLinePerCellSurfaceFirst) {
    ASSERT_EQ(Run("--ticks 1000 --seed 1 --no-progress --columns 4 --rows 3 --grid-out g.txt"), 0);
    const auto lines = Lines("g.txt");
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0].rfind("0 0 ", 0), 0u);
    EXPECT_EQ(lines[1].rfind("0 1 ", 0), 0u);
    EXPECT_EQ(lines[11].rfind("2 3 ", 0), 0u);
    int row, col, phase;
    double temperature, heat;
    std::istringstream first(lines[0]);
    first >> row >> col >> phase >> temperature >> heat;
    EXPECT_TRUE(phase == 1 || phase == -1);
}

TEST_F(BatchRunTest, FreshGridIsPrintedAtFullPrecision) {
    ASSERT_EQ(Run("--ticks 0 --initial-temperature 100 --columns 3 --rows 3 --grid-out g.txt"), 0);
    EXPECT_EQ(Lines("g.txt")[4], "1 1 1 100 105");
}

TEST_F(BatchRunTest, SummaryLineReportsTheRun) {
    ASSERT_EQ(Run("--ticks 2000 --seed 5 --no-progress"), 0);
    const auto lines = Lines("out.txt");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("ticks=2000 seed=5 elapsed=", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("vapour_cells="), std::string::npos);
    EXPECT_EQ(Read("err.txt"), "");
}

struct HistoryCase {
    int interval;
    std::vector<std::string> firstTicks;
};

class BatchHistoryTest : public BatchRunTest, public ::testing::WithParamInterface<HistoryCase> {};

TEST_P(BatchHistoryTest, WritesOneLinePerSampleTheWindowWouldTake) {
    const HistoryCase c = GetParam();
    ASSERT_EQ(Run("--ticks 1000 --seed 2 --no-progress --history-interval " +
                  std::to_string(c.interval) + " --history-out h.csv"),
              0);
    const auto lines = Lines("h.csv");
    ASSERT_GT(lines.size(), c.firstTicks.size());
    EXPECT_EQ(lines[0], "tick,average_temperature_c,average_heat_j");
    for (std::size_t i = 0; i < c.firstTicks.size(); ++i) {
        EXPECT_EQ(lines[i + 1].substr(0, lines[i + 1].find(',')), c.firstTicks[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Intervals, BatchHistoryTest,
                         ::testing::Values(HistoryCase{100, {"102", "204", "306"}},
                                           HistoryCase{0, {"2", "4", "6"}},
                                           HistoryCase{-1, {"1", "2", "3"}}));

TEST_F(BatchRunTest, FirstHistorySampleHoldsTheFreshAverages) {
    ASSERT_EQ(Run("--ticks 1 --history-interval -1 --history-out h.csv"), 0);
    EXPECT_EQ(Lines("h.csv")[1], "1,15,63");
}

struct RejectCase {
    std::string args;
};

class BatchRejectTest : public BatchRunTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(BatchRejectTest, ExitsWithStatusTwoAndWritesNoFile) {
    EXPECT_EQ(Run(GetParam().args + " --grid-out g.txt --history-out h.csv"), 2);
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt"}));
    EXPECT_EQ(Lines("err.txt").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Options, BatchRejectTest,
                         ::testing::Values(RejectCase{"--columns 81"}, RejectCase{"--rows 2"},
                                           RejectCase{"--initial-temperature 12abc"},
                                           RejectCase{"--convection-ratio nan"},
                                           RejectCase{"--bogus"}));

TEST_F(BatchRunTest, UnwritableOutputIsReportedWithPathAndReason) {
    EXPECT_EQ(Run("--ticks 10 --grid-out missing/g.txt"), 1);
    const std::string err = Read("err.txt");
    EXPECT_NE(err.find("missing/g.txt"), std::string::npos) << err;
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt"}));
}

TEST_F(BatchRunTest, ExistingOutputIsReplacedWhole) {
    std::ofstream(dir / "g.txt") << "old contents\n";
    ASSERT_EQ(Run("--ticks 10 --columns 3 --rows 3 --grid-out g.txt"), 0);
    EXPECT_EQ(Lines("g.txt").size(), 9u);
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "g.txt", "out.txt"}));
}

}  // namespace
