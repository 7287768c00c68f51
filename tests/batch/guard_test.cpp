#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "BatchRunFixture.h"
#include "PendingOutputs.h"

namespace fs = std::filesystem;

// The runner's descriptors, an output naming its input, a signal inside the commit, and the
// runs that end without the memory they need or with cells a run file cannot hold.
namespace {

// With standard error closed (and standard input too), nothing the runner says lands in an
// output that took the descriptor's number.
struct ClosedCase {
    std::string name;
    std::string args;
    std::string redirect;
    std::string file;
};

class BatchClosedStderrTest : public BatchRunTest,
                              public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(BatchClosedStderrTest, KeepsMessagesOutOfTheOutputs) {
    const ClosedCase c = GetParam();
    ASSERT_EQ(Run(c.args), 0);
    const std::string expected = Read(c.file);
    ASSERT_NE(Read("err.txt"), "");  // there is something to say
    const std::string command = "cd '" + dir.string() + "' && '" QUORVEL_BATCH_EXE "' " + c.args +
                                " >out.txt " + c.redirect;
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Read(c.file), expected);
    EXPECT_EQ(Read("out.txt").rfind("ticks=100 seed=1 ", 0), 0u) << Read("out.txt");
}

const std::string kWarning = "--conduction 0.5 --ticks 100 --seed 1 --no-progress --grid-out g.txt";
const std::string kProgress = "--ticks 100 --seed 1 --progress --history-out h.csv";
INSTANTIATE_TEST_SUITE_P(
    Redirects, BatchClosedStderrTest,
    ::testing::Values(
        ClosedCase{"Warning", kWarning, "2>&-", "g.txt"},
        ClosedCase{"Progress", kProgress, "2>&-", "h.csv"},
        ClosedCase{"WarningNoInput", kWarning + " --history-out h.csv", "<&- 2>&-", "h.csv"},
        ClosedCase{"ProgressNoInput", kProgress + " --grid-out g.txt", "<&- 2>&-", "h.csv"}),
    [](const auto& info) { return info.param.name; });

// An output naming the run file gone on from, however spelt, is refused before anything is
// written: the saved run stays as it was.
class BatchRunInOutputTest : public BatchRunTest,
                             public ::testing::WithParamInterface<std::string> {};

TEST_P(BatchRunInOutputTest, IsRefusedLikeABadOption) {
    ASSERT_EQ(Run("--ticks 100 --columns 3 --rows 3 --run-out r"), 0) << Read("err.txt");
    const std::string saved = Read("r");
    fs::create_directories(dir / "sub");
    fs::create_symlink("r", dir / "link");
    EXPECT_EQ(Run("--run-in r --ticks 1000 " + GetParam()), 2);
    const auto err = Lines("err.txt");
    ASSERT_EQ(err.size(), 1u);
    EXPECT_EQ(err[0].rfind("quorvel-batch: --run-in 'r' and --", 0), 0u) << err[0];
    EXPECT_NE(err[0].find("' name the same file"), std::string::npos) << err[0];
    EXPECT_EQ(Read("r"), saved);
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "link", "out.txt", "r", "sub"}));
}

INSTANTIATE_TEST_SUITE_P(Outputs, BatchRunInOutputTest,
                         ::testing::Values("--grid-out r", "--history-out ./r", "--png sub/../r",
                                           "--run-out link", "--run-out r --grid-out g"));

// A signal that arrives once the renames have begun lets the commit finish: every output is
// new, no second name of an old one is left, and the run reports its success.
struct CommitSignalCase {
    int signalNumber;
    std::size_t renamed;  // renames made when it arrives
};

int g_commitSignal = 0;
std::size_t g_signalAt = 0;

class BatchCommitSignalTest : public BatchRunTest,
                              public ::testing::WithParamInterface<CommitSignalCase> {};

TEST_P(BatchCommitSignalTest, LetsTheCommitFinishAndReportsSuccess) {
    for (const char* name : {"g.txt", "h.csv", "v.png"}) {
        Write(name, "old");
    }
    g_commitSignal = GetParam().signalNumber;
    g_signalAt = GetParam().renamed;
    const BatchOptions options =
        ParseBatchOptions({"--ticks", "1000", "--columns", "3", "--rows", "3", "--grid-out",
                           "g.txt", "--history-out", "h.csv", "--png", "v.png"})
            .options;
    const pid_t pid = Fork([&options] {
        RemovePendingOutputsOnSignals();
        SetCommitStepHook([](std::size_t renamed) {
            if (renamed == g_signalAt) {
                raise(g_commitSignal);
            }
        });
        const int status = RunBatch(options, std::cout, std::cerr, false);
        std::cout.flush();
        return status;
    });
    EXPECT_EQ(Wait(pid), 0);
    EXPECT_EQ(Files(), (std::vector<std::string>{"g.txt", "h.csv", "out.txt", "v.png"}));
    for (const char* name : {"g.txt", "h.csv", "v.png"}) {
        EXPECT_NE(Read(name), "old") << name;
    }
    EXPECT_EQ(Read("out.txt").rfind("ticks=1000 ", 0), 0u) << Read("out.txt");
}

std::vector<CommitSignalCase> CommitSignalCases() {
    std::vector<CommitSignalCase> cases;
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        for (const std::size_t renamed : {0u, 1u, 3u}) {  // before, between and after them
            cases.push_back({signalNumber, renamed});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Signals, BatchCommitSignalTest, ::testing::ValuesIn(CommitSignalCases()),
                         [](const auto& info) {
                             return std::string(sigabbrev_np(info.param.signalNumber)) + "After" +
                                    std::to_string(info.param.renamed);
                         });

// Out of memory: an English message, a status of its own that --help lists, nothing written.
TEST_F(BatchRunTest, OutOfMemoryIsNamedWithItsOwnStatus) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's shadow memory needs more address space than the limit";
#else
    EXPECT_EQ(Run("--view-size 10000x10000 --png p.png --grid-out g.txt --ticks 10",
                  "ulimit -v 65536 &&"),
              BATCH_EXIT_NO_MEMORY);
    EXPECT_NE(Read("err.txt").find("quorvel-batch: out of memory"), std::string::npos)
        << Read("err.txt");
    EXPECT_EQ(Files(), (std::vector<std::string>{"err.txt", "out.txt"}));
    EXPECT_NE(BatchUsage().find(std::to_string(BATCH_EXIT_NO_MEMORY) + " out of memory"),
              std::string::npos);
#endif
}

// A diverged run writes its outputs; the run file, which cannot hold a value that is not a
// number, is left out and named, its old file kept.
TEST_F(BatchRunTest, DivergedRunWritesItsOutputsButTheRunFile) {
    Write("r.quorvel", "old");
    EXPECT_EQ(Run("--ticks 2000 --seed 1 --conduction 1e300 --grid-out g.txt --history-out h.csv "
                  "--run-out r.quorvel --no-progress"),
              BATCH_EXIT_DIVERGED);
    EXPECT_NE(Read("err.txt").find("--run-out 'r.quorvel' not written: the run holds a cell "
                                   "whose value is not a finite number"),
              std::string::npos)
        << Read("err.txt");
    EXPECT_EQ(Lines("g.txt").size(), 400u);
    EXPECT_GT(Lines("h.csv").size(), 1u);
    EXPECT_EQ(Read("r.quorvel"), "old");
    EXPECT_NE(Read("out.txt").find(" unphysical_cells="), std::string::npos);
    EXPECT_EQ(TemporaryFiles(), std::vector<std::string>{});
}

}  // namespace
