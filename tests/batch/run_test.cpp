#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>

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

// The picture is the frame of the view: black background, grey walls, the cells, the
// flames and the colour scale, for the client area asked for.
struct PictureCase {
    std::string args;
    QSize size;
};

class BatchPictureTest : public BatchRunTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(BatchPictureTest, IsTheViewsFrame) {
    const PictureCase c = GetParam();
    ASSERT_EQ(Run("--ticks 3000 --seed 4 --no-progress --png v.png " + c.args), 0)
        << Read("err.txt");
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt", "v.png"}));
    const QImage picture((dir / "v.png").string().c_str(), "PNG");
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), c.size);
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(10, 50), qRgb(130, 130, 130));                   // left wall
    EXPECT_EQ(qBlue(picture.pixel(16, 26)), 255);                            // a cell
    EXPECT_EQ(picture.pixel(c.size.width() - 15, 15), qRgb(240, 240, 255));  // top of the scale
}

INSTANTIATE_TEST_SUITE_P(Sizes, BatchPictureTest,
                         ::testing::Values(PictureCase{"", QSize(640, 439)},
                                           PictureCase{"--view-size 151x101", QSize(151, 88)},
                                           PictureCase{"--view-size=1024x768 --columns 80",
                                                       QSize(1024, 705)}));

TEST_F(BatchRunTest, PictureHasNoOutlineOrPanel) {
    ASSERT_EQ(Run("--ticks 0 --no-progress --png v.png"), 0) << Read("err.txt");
    const QImage picture((dir / "v.png").string().c_str(), "PNG");
    ASSERT_FALSE(picture.isNull());
    // Every cell of the fresh 15 C grid, the centre one included, is one colour.
    for (int y = 25; y < 345; ++y) {
        for (int x = 15; x < 555; ++x) {
            ASSERT_EQ(picture.pixel(x, y), qRgb(36, 36, 255)) << x << ", " << y;
        }
    }
    for (int y = 364; y < 435; ++y) {
        for (int x = 477; x < 634; ++x) {
            ASSERT_EQ(picture.pixel(x, y), qRgb(0, 0, 0)) << x << ", " << y;
        }
    }
}

TEST_F(BatchRunTest, SameSeedDrawsTheSamePicture) {
    ASSERT_EQ(Run("--ticks 20000 --seed 9 --no-progress --png a.png"), 0);
    ASSERT_EQ(Run("--ticks 20000 --seed 9 --no-progress --png b.png"), 0);
    EXPECT_EQ(Read("a.png"), Read("b.png"));
    EXPECT_FALSE(Read("a.png").empty());
}

class BatchBadViewSizeTest : public BatchRunTest,
                             public ::testing::WithParamInterface<std::string> {};

TEST_P(BatchBadViewSizeTest, ExitsWithStatusTwoAndWritesNoPicture) {
    EXPECT_EQ(Run("--png v.png --view-size " + GetParam()), 2);
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt"}));
    const auto err = Lines("err.txt");
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("--view-size"), std::string::npos) << err[0];
}

INSTANTIATE_TEST_SUITE_P(Values, BatchBadViewSizeTest,
                         ::testing::Values("150x480", "640x100", "10001x480", "640", "axb", "0x0"));

TEST_F(BatchRunTest, UnwritablePictureIsReportedAndNothingIsLeft) {
    EXPECT_EQ(Run("--ticks 10 --png missing/v.png"), 1);
    EXPECT_NE(Read("err.txt").find("missing/v.png"), std::string::npos) << Read("err.txt");
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt"}));
}

}  // namespace
