#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRunFixture.h"
#include "PngPicture.h"

namespace fs = std::filesystem;

namespace {

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

// Unsound settings are run but named first; a run that leaves unphysical cells says so in
// its summary and its status, with its outputs written all the same.
TEST_F(BatchRunTest, UnsoundSettingsAreNamedAndADivergedRunEndsWithItsOwnStatus) {
    const struct {
        const char* args;
        bool warned;
        int status;
    } cases[] = {
        {"--ticks 200000 --conduction 0.125", false, 0},
        {"--ticks 200000 --conduction 0.3", true, 3},
        {"--ticks 200 --conduction 0.13", true, 0},  // named, but not yet gone astray
        {"--ticks 200000 --strong -1000 --centre strong", true, 3},
        {"--ticks 10 --room-temperature -274", true, 0},
        {"--ticks 10 --cooling -0.5", true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        ASSERT_EQ(Run(std::string("--seed 1 --no-progress --grid-out g.txt ") + c.args), c.status);
        const std::string errors = Read("err.txt");
        EXPECT_EQ(errors.rfind("quorvel-batch: warning: These values make the computation "
                               "unstable",
                               0) == 0,
                  c.warned)
            << errors;
        const auto summary = Lines("out.txt");
        ASSERT_EQ(summary.size(), 1u);
        EXPECT_EQ(summary[0].find(" unphysical_cells=") != std::string::npos, c.status == 3)
            << summary[0];
        EXPECT_EQ(Lines("g.txt").size(), 400u);
    }
}

TEST_F(BatchRunTest, TheWarningNamesTheStableRangeForThePresentValues) {
    ASSERT_EQ(Run("--ticks 0 --conduction 0.05 --cooling 9 --no-progress"), 0);
    EXPECT_EQ(Read("err.txt"),
              "quorvel-batch: warning: These values make the computation unstable, and its "
              "results would be wrong.\nStable range: conduction coefficient k from 0 to 0.0454, "
              "cooling coefficient from 0 to (1/k − 4)/2 (up to 8 for k = 0.05), flame powers 0 "
              "or more, room temperature -273 °C or more.\n");
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
    Extent size;
};

class BatchPictureTest : public BatchRunTest, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(BatchPictureTest, IsTheViewsFrame) {
    const PictureCase c = GetParam();
    ASSERT_EQ(Run("--ticks 3000 --seed 4 --no-progress --png v.png " + c.args), 0)
        << Read("err.txt");
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt", "v.png"}));
    const PngPicture picture = ReadPng((dir / "v.png").string());
    ASSERT_FALSE(picture.IsNull());
    EXPECT_EQ(picture.Size(), c.size);
    EXPECT_EQ(picture.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(picture.Pixel(10, 50), RGB(130, 130, 130));                 // left wall
    EXPECT_EQ(BlueOf(picture.Pixel(16, 26)), 255);                        // a cell
    EXPECT_EQ(picture.Pixel(c.size.width - 15, 15), RGB(240, 240, 255));  // top of the scale
}

INSTANTIATE_TEST_SUITE_P(Sizes, BatchPictureTest,
                         ::testing::Values(PictureCase{"", Extent{640, 439}},
                                           PictureCase{"--view-size 151x101", Extent{151, 88}},
                                           PictureCase{"--view-size=1024x768 --columns 80",
                                                       Extent{1024, 705}}));

TEST_F(BatchRunTest, PictureHasNoOutlineOrPanel) {
    ASSERT_EQ(Run("--ticks 0 --no-progress --png v.png"), 0) << Read("err.txt");
    const PngPicture picture = ReadPng((dir / "v.png").string());
    ASSERT_FALSE(picture.IsNull());
    // Every cell of the fresh 15 C grid, the centre one included, is one colour.
    for (int y = 25; y < 345; ++y) {
        for (int x = 15; x < 555; ++x) {
            ASSERT_EQ(picture.Pixel(x, y), RGB(36, 36, 255)) << x << ", " << y;
        }
    }
    for (int y = 364; y < 435; ++y) {
        for (int x = 477; x < 634; ++x) {
            ASSERT_EQ(picture.Pixel(x, y), RGB(0, 0, 0)) << x << ", " << y;
        }
    }
}

TEST_F(BatchRunTest, SameSeedDrawsTheSamePicture) {
    ASSERT_EQ(Run("--ticks 20000 --seed 9 --no-progress --png a.png"), 0);
    ASSERT_EQ(Run("--ticks 20000 --seed 9 --no-progress --png b.png"), 0);
    EXPECT_EQ(Read("a.png"), Read("b.png"));
    EXPECT_FALSE(Read("a.png").empty());
}

// The text size draws the picture's labels larger where the panel holds them, and changes
// nothing where it gives way to the standard size.
TEST_F(BatchRunTest, TextSizeEnlargesTheLabelsOfALargePicture) {
    const std::string run = "--ticks 2000 --seed 9 --no-progress ";
    ASSERT_EQ(Run(run + "--png a.png"), 0);
    ASSERT_EQ(Run(run + "--png b.png --text-size extra-large"), 0);
    EXPECT_EQ(Read("a.png"), Read("b.png"));
    ASSERT_EQ(Run(run + "--png c.png --view-size 1200x900"), 0);
    ASSERT_EQ(Run(run + "--png d.png --view-size 1200x900 --text-size large"), 0);
    const PngPicture standard = ReadPng((dir / "c.png").string());
    const PngPicture large = ReadPng((dir / "d.png").string());
    // The label "100" beside the top of the scale: its white ink reaches further left.
    auto leftmostInk = [](const PngPicture& p) {
        for (int x = 1200 - 80; x < 1200 - 25; ++x) {
            for (int y = 0; y < 40; ++y) {
                if (p.Pixel(x, y) == RGB(255, 255, 255)) {
                    return x;
                }
            }
        }
        return -1;
    };
    EXPECT_LT(leftmostInk(large), leftmostInk(standard) - 5);
    EXPECT_EQ(ParseBatchOptions({"--text-size", "huge"}).error,
              "quorvel-batch: --text-size: invalid value 'huge' (accepted: standard, large or "
              "extra-large)");
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

// A run saved after N ticks and gone on from for M more gives the files of an unbroken run
// of N + M ticks with the same seed: grid, history CSV, picture and the run file itself.
struct ContinueCase {
    std::string settings;
    long long saved;
    long long more;
    bool bubblesAtSave;
};

class BatchContinueTest : public BatchRunTest,
                          public ::testing::WithParamInterface<ContinueCase> {};

TEST_P(BatchContinueTest, GivesTheUnbrokenRunsFiles) {
    const ContinueCase& c = GetParam();
    auto outputs = [](const std::string& p) {
        return " --grid-out " + p + "G --history-out " + p + "H --png " + p + "P --run-out " + p +
               "R";
    };
    ASSERT_EQ(Run(c.settings + " --ticks " + std::to_string(c.saved) + " --run-out saved"), 0);
    ASSERT_EQ(Run("--run-in saved --ticks " + std::to_string(c.more) + outputs("c")), 0)
        << Read("err.txt");
    ASSERT_EQ(Run(c.settings + " --ticks " + std::to_string(c.saved + c.more) + outputs("u")), 0);
    const std::string saved = Read("saved");
    EXPECT_EQ(saved.find("\n-1 ") != std::string::npos, c.bubblesAtSave);
    for (const char* name : {"G", "H", "P", "R"}) {
        EXPECT_EQ(Read(std::string("c") + name), Read(std::string("u") + name)) << name;
    }
    EXPECT_GT(Lines("cH").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BatchContinueTest,
    ::testing::Values(ContinueCase{"--seed 11 --history-interval 5", 1001, 9000, false},
                      ContinueCase{"--seed 12 --columns 13 --rows 9 --initial-temperature 96 "
                                   "--ends strong --centre strong --history-interval 30",
                                   20003, 15000, true}));

// A run file that cannot be read is refused before anything is written.
TEST_F(BatchRunTest, UnreadableRunFileIsRefusedNamingItsFault) {
    Write("bad.quorvel", "quorvel-run 9\n");
    EXPECT_EQ(Run("--run-in bad.quorvel --grid-out G"), 2);
    EXPECT_NE(Read("err.txt").find("--run-in 'bad.quorvel': line 1: written by a newer Quorvel"),
              std::string::npos)
        << Read("err.txt");
    EXPECT_FALSE(fs::exists(dir / "G"));
    EXPECT_TRUE(TemporaryFiles().empty());
}

// A run near the most ticks a run file keeps goes on to exactly that many, each sample on its
// own positive tick, and its file reads back; going further, or a file beyond it, is refused.
TEST_F(BatchRunTest, ARunGoesOnToTheMostTicksAFileKeepsAndNoFurther) {
    ASSERT_EQ(Run("--seed 3 --columns 4 --rows 3 --history-interval -1 --ticks 10 --run-out S"), 0);
    std::string text = Read("S");
    const std::size_t ticksAt = text.find("\nticks 10\n") + 1;
    ASSERT_NE(ticksAt, 0u);
    Write("near", text.replace(ticksAt, 8, "ticks 4611686018427387900"));
    ASSERT_EQ(Run("--run-in near --ticks 4 --history-out H --run-out R"), 0) << Read("err.txt");
    const std::vector<std::string> lines = Lines("H");
    ASSERT_EQ(lines.size(), 15u);  // the header, the file's 10 samples and one a tick
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[11 + i].substr(0, 20), std::to_string(4611686018427387901 + i) + ",");
    }
    EXPECT_EQ(Run("--run-in R --ticks 0"), 0) << Read("err.txt");

    EXPECT_EQ(Run("--run-in R --ticks 1 --history-out H2"), 2);
    EXPECT_NE(Read("err.txt").find("--ticks 1 would take the run in 'R' past 4611686018427387904 "
                                   "ticks (it has run 4611686018427387904)"),
              std::string::npos)
        << Read("err.txt");
    Write("beyond", text.replace(ticksAt, 25, "ticks 9223372036854775807"));
    EXPECT_EQ(Run("--run-in beyond --ticks 1 --history-out H2"), 2);
    EXPECT_NE(Read("err.txt").find("'beyond': line 18: ticks 9223372036854775807 is out of range"),
              std::string::npos)
        << Read("err.txt");
    EXPECT_FALSE(fs::exists(dir / "H2"));
}

}  // namespace
