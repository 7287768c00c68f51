#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "PendingOutputs.h"
#include "ScratchFolder.h"

// Every output is on the disk before it takes its name, so that a power loss after the rename
// cannot leave an empty or partial file there. This program's fsync, which the outputs call,
// notes each file it syncs and whether that file had its named name already.
namespace {

struct Synced {
    ino_t inode;
    bool named;  // already at one of the outputs' named paths
};
std::vector<Synced> g_synced;
std::vector<std::string> g_finalPaths;

}  // namespace

extern "C" int fsync(int fd) {
    struct stat own {};
    if (fstat(fd, &own) == 0) {
        bool named = false;
        for (const std::string& path : g_finalPaths) {
            struct stat atPath {};
            named = named || (stat(path.c_str(), &atPath) == 0 && atPath.st_ino == own.st_ino);
        }
        g_synced.push_back({own.st_ino, named});
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

class OutputSyncTest : public ScratchFolderTest {
protected:
    OutputSyncTest() : ScratchFolderTest("quorvel-sync-test") {}
};

TEST_F(OutputSyncTest, EveryOutputIsSyncedBeforeItsRename) {
    Write("old.txt", "old");
    g_finalPaths = {Path("old.txt"), Path("new.txt")};
    g_synced.clear();
    PendingOutputs outputs;
    for (const std::string& path : g_finalPaths) {
        outputs.Add(path);
    }
    ASSERT_TRUE(outputs.Open());
    for (std::size_t i = 0; i < g_finalPaths.size(); ++i) {
        ASSERT_TRUE(outputs.Write(i, "new", 3));
    }
    ASSERT_TRUE(outputs.Commit()) << outputs.Error();
    for (const std::string& path : g_finalPaths) {
        struct stat atPath {};
        ASSERT_EQ(stat(path.c_str(), &atPath), 0) << path;
        bool syncedBeforeRename = false;
        for (const Synced& synced : g_synced) {
            syncedBeforeRename =
                syncedBeforeRename || (synced.inode == atPath.st_ino && !synced.named);
        }
        EXPECT_TRUE(syncedBeforeRename) << path;
    }
}

}  // namespace
