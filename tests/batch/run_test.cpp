#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "PngPicture.h"
#include "ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

// Runs the real quorvel-batch in a fresh temporary directory.
class BatchRunTest : public ScratchFolderTest {
protected:
    BatchRunTest() : ScratchFolderTest("quorvel-batch-test") {}
    void TearDown() override {
        for (const fs::path& mount : mounts) {
            std::system(("umount '" + mount.string() + "'").c_str());
        }
        ScratchFolderTest::TearDown();
    }

    // Exit status of the runner; stdout and stderr are kept in out.txt and err.txt. The shell
    // commands in `before` run first (a limit, a timeout).
    int Run(const std::string& args, const std::string& before = "") {
        const std::string command = "cd '" + dir.string() + "' && " + before + " '" +
                                    QUORVEL_BATCH_EXE "' " + args + " >out.txt 2>err.txt";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    // Starts the runner as a child (not through a shell, which would make it ignore SIGINT).
    pid_t Start(const std::vector<std::string>& args) {
        std::vector<std::string> words = {QUORVEL_BATCH_EXE};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        return Fork([&argv] {
            execvp(argv[0], argv.data());
            return 127;
        });
    }
    // Runs `body` in a child in the folder, its standard output and error going to out.txt, as
    // a user's shell would start it whatever this test program inherited; the child ends with
    // the status `body` returns.
    pid_t Fork(const std::function<int()>& body) {
        std::fflush(nullptr);  // nothing of this program's is written twice
        const pid_t pid = fork();
        if (pid == 0) {
            const int out =
                chdir(dir.c_str()) == 0 ? open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644) : -1;
            if (out < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) {
                _exit(126);
            }
            for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
                std::signal(signalNumber, SIG_DFL);
            }
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            _exit(body());
        }
        return pid;
    }
    // The child's exit status, 1000 + the signal that ended it, or -1 (and the child killed)
    // when it is still running after a minute.
    static int Wait(pid_t pid) {
        int raw = 0;
        pid_t ended = 0;
        for (int i = 0; i < 6000 && (ended = waitpid(pid, &raw, WNOHANG)) == 0; ++i) {
            usleep(10000);
        }
        if (ended == 0) {
            kill(pid, SIGKILL);
            waitpid(pid, &raw, 0);
            return -1;
        }
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : 1000 + WTERMSIG(raw);
    }
    // A tmpfs with the given mount options at dir/name; false when this user may not mount.
    bool MountTmpfs(const std::string& name, const std::string& options) {
        fs::create_directories(dir / name);
        const std::string command =
            "mount -t tmpfs -o " + options + " tmpfs '" + (dir / name).string() + "' 2>/dev/null";
        if (std::system(command.c_str()) != 0) {
            return false;
        }
        mounts.push_back(dir / name);
        return true;
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

    std::vector<fs::path> mounts;
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

// Stopped by a signal mid-run, the runner removes its temporary files and leaves the old
// outputs as they were.
class BatchSignalTest : public BatchRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(BatchSignalTest, RemovesTemporaryFilesAndKeepsOldOutputs) {
    for (const char* name : {"g.txt", "h.csv", "v.png"}) {
        Write(name, "old");
    }
    const pid_t pid = Start({"--ticks", "1000000000000", "--history-interval", "0", "--grid-out",
                             "g.txt", "--history-out", "h.csv", "--png", "v.png", "--no-progress"});
    // Running: all three temporary files exist (they are made just before the first tick).
    for (int i = 0; i < 6000 && TemporaryFiles().size() < 3; ++i) {
        usleep(10000);
    }
    EXPECT_EQ(TemporaryFiles().size(), 3u) << Read("out.txt");
    kill(pid, GetParam());
    EXPECT_EQ(Wait(pid), 128 + GetParam());
    EXPECT_EQ(Files(), (std::vector<std::string>{"g.txt", "h.csv", "out.txt", "v.png"}));
    for (const char* name : {"g.txt", "h.csv", "v.png"}) {
        EXPECT_EQ(Read(name), "old") << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, BatchSignalTest,
                         ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT));

// When the third output cannot be written whole, none of the three replaces its old file.
struct ThirdFailsCase {
    std::string name;
    bool fullDisk;  // a tiny tmpfs, or else a file size limit
    std::string reason;
};

class BatchAllOrNothingTest : public BatchRunTest,
                              public ::testing::WithParamInterface<ThirdFailsCase> {};

TEST_P(BatchAllOrNothingTest, KeepsEveryOldOutput) {
    const ThirdFailsCase c = GetParam();
    if (c.fullDisk && !MountTmpfs("small", "size=4k")) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    fs::create_directories(dir / "small");
    for (const char* name : {"g.txt", "h.csv", "small/v.png"}) {
        Write(name, "old");  // fills the tiny tmpfs
    }
    EXPECT_EQ(Run("--ticks 1000 --columns 3 --rows 3 --grid-out g.txt --history-out h.csv --png "
                  "small/v.png",
                  c.fullDisk ? "" : "ulimit -f 4 &&"),  // 2048 bytes
              1);
    EXPECT_NE(Read("err.txt").find("cannot write 'small/v.png': " + c.reason), std::string::npos)
        << Read("err.txt");
    for (const char* name : {"g.txt", "h.csv", "small/v.png"}) {
        EXPECT_EQ(Read(name), "old") << name;
    }
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BatchAllOrNothingTest,
    ::testing::Values(ThirdFailsCase{"FullDisk", true, "No space left on device"},
                      ThirdFailsCase{"FileSizeLimit", false, "File too large"}),
    [](const auto& info) { return info.param.name; });

// Temporary names do not grow with the output's: names up to the system's limit are taken.
class BatchLongNameTest : public BatchRunTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(BatchLongNameTest, IsWrittenUpToTheSystemsLimit) {
    const std::string grid(GetParam(), 'g'), history(GetParam(), 'h'), picture(GetParam(), 'p');
    ASSERT_EQ(
        Run("--ticks 10 --grid-out " + grid + " --history-out " + history + " --png " + picture), 0)
        << Read("err.txt");
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", grid, history, "out.txt", picture}));
    EXPECT_EQ(Lines(grid).size(), 400u);
}

INSTANTIATE_TEST_SUITE_P(Lengths, BatchLongNameTest, ::testing::Values(245, 255));

// Two outputs naming one file, however spelt, are refused before anything is written.
class BatchSamePathTest : public BatchRunTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(BatchSamePathTest, IsRefusedLikeABadOption) {
    Write("a", "old");
    fs::create_directories(dir / "sub");
    fs::create_symlink("a", dir / "link");
    fs::create_directory_symlink("sub", dir / "sublink");
    fs::create_symlink("f", dir / "dangling");
    EXPECT_EQ(Run("--ticks 1000000000000 " + GetParam(), "timeout 60"), 2);
    const auto err = Lines("err.txt");
    ASSERT_EQ(err.size(), 1u);
    EXPECT_NE(err[0].find("name the same file"), std::string::npos) << err[0];
    EXPECT_EQ(Read("a"), "old");
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Spellings, BatchSamePathTest,
                         ::testing::Values("--grid-out a --history-out a", "--grid-out ./a --png a",
                                           "--history-out sub/../a --png a",
                                           "--grid-out link --history-out a",
                                           "--grid-out sub/b --png sublink/b",
                                           "--grid-out f --history-out dangling"));

TEST_F(BatchRunTest, OutputThroughALinkReplacesTheLinkedFile) {
    Write("a", "old");
    fs::create_symlink("a", dir / "link");
    ASSERT_EQ(Run("--ticks 10 --columns 3 --rows 3 --grid-out link --history-out a.csv"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link"));
    EXPECT_EQ(Lines("a").size(), 9u);
}

TEST_F(BatchRunTest, OutputThroughALinkToAMissingFileCreatesIt) {
    fs::create_directories(dir / "sub");
    fs::create_symlink("sub/target.csv", dir / "out.csv");
    ASSERT_EQ(Run("--ticks 1000 --history-out out.csv"), 0) << Read("err.txt");
    EXPECT_TRUE(fs::is_symlink(dir / "out.csv"));
    EXPECT_EQ(Lines("sub/target.csv").size(), 10u);  // the header and 9 samples
}

// A rename refused after another was made is undone: every old output is as it was, the
// message tells what became of each, and no file of the runner's is left but one it may
// not remove, emptied and named.
struct RenameFailsCase {
    std::string name;
    bool immutable;  // the history's old file made immutable, or else its folder read-only
    bool historyExists;
    std::string outcome;
};

class BatchRenameFailsTest : public BatchRunTest,
                             public ::testing::WithParamInterface<RenameFailsCase> {};

TEST_P(BatchRenameFailsTest, UndoesTheRenamesMade) {
    const RenameFailsCase c = GetParam();
    fs::create_directories(dir / "a");
    fs::create_directories(dir / "b");
    Write("a/g.txt", "OLD\n");
    if (c.historyExists) {
        Write("b/h.csv", "OLD\n");
    }
    int status = 0;
    if (c.immutable) {
        if (geteuid() != 0 ||
            std::system(("chattr +i '" + (dir / "b/h.csv").string() + "' 2>/dev/null").c_str()) !=
                0) {
            GTEST_SKIP() << "cannot make a file immutable here";
        }
        status = Run("--ticks 1000 --seed 1 --grid-out a/g.txt --history-out b/h.csv");
        std::system(("chattr -i '" + (dir / "b/h.csv").string() + "'").c_str());
        fs::rename(dir / "out.txt", dir / "run.txt");
        fs::rename(dir / "err.txt", dir / "out.txt");
    } else {
        // The run in a child, as another user where permission bits do not stop root; the
        // folder is made read-only after the run's first slice, its temporary files made.
        const bool asNobody = geteuid() == 0;
        if (asNobody) {
            std::system(("chown -R 65534:65534 '" + dir.string() + "'").c_str());
        }
        const BatchOptions options =
            ParseBatchOptions({"--ticks", "40000", "--seed", "1", "--grid-out", "a/g.txt",
                               "--history-out", "b/h.csv"})
                .options;
        const pid_t pid = Fork([&] {
            if (asNobody &&
                (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
                return 126;
            }
            bool stopped = false;
            return RunBatch(options, std::cerr, std::cerr, false, [&](long long done) {
                if (std::exchange(stopped, true)) {
                    return;
                }
                if (done >= options.ticks || TemporaryFiles().size() != 2) {
                    std::cerr << "not two temporary files mid-run\n";
                    _exit(125);
                }
                fs::permissions(
                    "b", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
            });
        });
        status = Wait(pid);
        fs::permissions(dir / "b", fs::perms::owner_write, fs::perm_options::add);
    }
    EXPECT_EQ(status, 1);
    const std::string message = Read("out.txt");
    EXPECT_NE(message.find(c.outcome), std::string::npos) << message;
    EXPECT_EQ(Read("a/g.txt"), "OLD\n");
    EXPECT_EQ(fs::exists(dir / "b/h.csv"), c.historyExists);
    if (c.historyExists) {
        EXPECT_EQ(Read("b/h.csv"), "OLD\n");
    }
    // Only a temporary file in the read-only folder may stay, emptied and named.
    for (const std::string& left : TemporaryFiles()) {
        EXPECT_FALSE(c.immutable) << left;
        EXPECT_EQ(fs::file_size(left), 0u) << left;
        EXPECT_NE(message.find("the empty temporary file '" + left + "' could not be removed"),
                  std::string::npos)
            << message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, BatchRenameFailsTest,
    ::testing::Values(
        RenameFailsCase{"ImmutableTarget", true, true,
                        "cannot write 'b/h.csv': Operation not permitted; 'a/g.txt' restored, "
                        "'b/h.csv' unchanged"},
        RenameFailsCase{"ReadOnlyFolderNewOutput", false, false,
                        "cannot write 'b/h.csv': Permission denied; 'a/g.txt' restored, "
                        "'b/h.csv' not created"},
        RenameFailsCase{"ReadOnlyFolderOldOutput", false, true,
                        "cannot write 'b/h.csv': Permission denied; 'a/g.txt' unchanged, "
                        "'b/h.csv' unchanged"}),
    [](const auto& info) { return info.param.name; });

// What the runner prints must reach standard output, or the run fails and says so.
struct StdoutCase {
    std::string name;
    std::string args;
    std::string redirect;
    std::string reason;
};

class BatchStdoutTest : public BatchRunTest, public ::testing::WithParamInterface<StdoutCase> {};

TEST_P(BatchStdoutTest, FailureIsReportedOnStderr) {
    const StdoutCase c = GetParam();
    const std::string command = "cd '" + dir.string() + "' && '" QUORVEL_BATCH_EXE "' " + c.args +
                                " 2>err.txt " + c.redirect;
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    EXPECT_EQ(Read("err.txt"),
              "quorvel-batch: cannot write to standard output: " + c.reason + "\n");
}

INSTANTIATE_TEST_SUITE_P(Outputs, BatchStdoutTest,
                         ::testing::Values(StdoutCase{"FullDevice", "--ticks 10", ">/dev/full",
                                                      "No space left on device"},
                                           StdoutCase{"Closed", "--ticks 10 --grid-out g.txt",
                                                      ">&-", "Bad file descriptor"},
                                           StdoutCase{"HelpOnFullDevice", "--help", ">/dev/full",
                                                      "No space left on device"}),
                         [](const auto& info) { return info.param.name; });

// An output that cannot be written is found before the first tick (the run asked for would
// take hours), named with the system's reason, and leaves nothing behind.
struct EarlyCase {
    std::string output;
    std::string reason;
};

class BatchEarlyCheckTest : public BatchRunTest, public ::testing::WithParamInterface<EarlyCase> {};

TEST_P(BatchEarlyCheckTest, FailsBeforeTheRun) {
    const EarlyCase c = GetParam();
    fs::create_directories(dir / "folder");
    fs::create_directories(dir / "readonly");
    Write("file", "old");
    std::string reason = c.reason;
    // Permission bits do not stop root: a read-only mount does.
    if (c.output.rfind("readonly/", 0) == 0) {
        if (geteuid() != 0) {
            fs::permissions(dir / "readonly", fs::perms::owner_read | fs::perms::owner_exec);
            reason = "Permission denied";
        } else if (!MountTmpfs("readonly", "ro,size=4k")) {
            GTEST_SKIP() << "cannot mount a tmpfs here";
        }
    }
    EXPECT_EQ(Run("--ticks 1000000000000 --history-out h.csv --png v.png --grid-out " + c.output,
                  "timeout 60"),
              1);
    EXPECT_NE(Read("err.txt").find("cannot write '" + c.output + "': "), std::string::npos)
        << Read("err.txt");
    EXPECT_NE(Read("err.txt").find(reason), std::string::npos) << Read("err.txt");
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"err.txt", "file", "folder", "out.txt", "readonly"}));
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Outputs, BatchEarlyCheckTest,
                         ::testing::Values(EarlyCase{"folder", "Is a directory"},
                                           EarlyCase{"missing/g.txt", "No such file or directory"},
                                           EarlyCase{"file/g.txt", "Not a directory"},
                                           EarlyCase{"readonly/g.txt", "Read-only file system"},
                                           EarlyCase{std::string(256, 'n'), "File name too long"}));

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

}  // namespace
