#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "BatchOptions.h"
#include "BatchRun.h"
#include "BatchRunFixture.h"

namespace fs = std::filesystem;

// What becomes of the runner's outputs when a run is stopped or an output cannot be written.
namespace {

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

}  // namespace
