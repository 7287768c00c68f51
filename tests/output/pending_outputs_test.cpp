#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PendingOutputs.h"
#include "ScratchFolder.h"

namespace fs = std::filesystem;

namespace {

class PendingOutputsTest : public ScratchFolderTest {
protected:
    PendingOutputsTest() : ScratchFolderTest("quorvel-output-test") {}
    void SetUp() override {
        ScratchFolderTest::SetUp();
        previousMask = umask(022);
    }
    void TearDown() override {
        umask(previousMask);
        ScratchFolderTest::TearDown();
    }
    // Writes `text` to each path as one set of outputs.
    static bool Save(const std::vector<std::string>& paths, const std::string& text,
                     std::string* error = nullptr) {
        PendingOutputs outputs;
        for (const std::string& path : paths) {
            outputs.Add(path);
        }
        bool ok = outputs.Open();
        for (std::size_t i = 0; ok && i < paths.size(); ++i) {
            ok = outputs.Write(i, text.data(), text.size());
        }
        ok = ok && outputs.Commit();
        if (error != nullptr) {
            *error = outputs.Error();
        }
        return ok;
    }
    static struct stat Status(const std::string& path) {
        struct stat status {};
        lstat(path.c_str(), &status);
        return status;
    }
    bool NoTemporaryFiles() const { return TemporaryFiles().empty(); }

    mode_t previousMask = 022;
};

// A replaced output keeps the permission bits of the old file; a new one gets those of a new
// file under the umask, which is left as it was.
struct ModeCase {
    const char* name;
    bool exists;
    mode_t oldMode;  // of the existing file
    mode_t mask;
    mode_t expected;
};

class OutputModeTest : public PendingOutputsTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(OutputModeTest, IsThatOfTheReplacedOrOfANewFile) {
    const ModeCase c = GetParam();
    if (c.exists) {
        Write("out", "old");
        chmod(Path("out").c_str(), c.oldMode);
    }
    umask(c.mask);
    ASSERT_TRUE(Save({Path("out")}, "new"));
    EXPECT_EQ(umask(c.mask), c.mask);
    EXPECT_EQ(Status(Path("out")).st_mode & 07777, c.expected);
    EXPECT_EQ(Read("out"), "new");
}

INSTANTIATE_TEST_SUITE_P(Modes, OutputModeTest,
                         ::testing::Values(ModeCase{"PrivateStaysPrivate", true, 0600, 022, 0600},
                                           ModeCase{"GroupReadableStays", true, 0640, 077, 0640},
                                           ModeCase{"ExecutableStays", true, 0755, 022, 0755},
                                           ModeCase{"SetUserIdDropped", true, 04755, 022, 0755},
                                           ModeCase{"SetGroupIdDropped", true, 02750, 022, 0750},
                                           ModeCase{"StickyStays", true, 01644, 022, 01644},
                                           ModeCase{"NewUnderUsualMask", false, 0, 022, 0644},
                                           ModeCase{"NewUnderStrictMask", false, 0, 027, 0640}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PendingOutputsTest, ReplacedOutputKeepsItsOwnerWhereAllowed) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    Write("out", "old");
    ASSERT_EQ(chown(Path("out").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(Save({Path("out")}, "new"));
    EXPECT_EQ(Status(Path("out")).st_uid, 65534u);
    EXPECT_EQ(Status(Path("out")).st_gid, 65534u);
}

// A link to a file that does not exist yet is followed: the file is created, the link kept.
struct LinkCase {
    const char* name;
    std::string link;    // the output as given
    std::string target;  // what the link points to
    std::string file;    // where the content must land
};

class DanglingLinkTest : public PendingOutputsTest,
                         public ::testing::WithParamInterface<LinkCase> {};

TEST_P(DanglingLinkTest, CreatesTheTargetAndKeepsTheLink) {
    const LinkCase c = GetParam();
    fs::create_directories(dir / "sub");
    fs::create_symlink("final.csv", dir / "sub/next");  // a link on to a missing file
    const std::string target = c.target[0] == '@' ? Path(c.target.substr(1)) : c.target;
    fs::create_symlink(target, dir / c.link);
    EXPECT_EQ(ResolveOutputPath(Path(c.link)), ResolveOutputPath(Path(c.file)));
    std::string error;
    ASSERT_TRUE(Save({Path(c.link)}, "new", &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / c.link));
    EXPECT_EQ(Read(c.file), "new");
    EXPECT_TRUE(NoTemporaryFiles());
}

INSTANTIATE_TEST_SUITE_P(
    Links, DanglingLinkTest,
    ::testing::Values(LinkCase{"Beside", "out.csv", "target.csv", "target.csv"},
                      LinkCase{"IntoAFolder", "out.csv", "sub/target.csv", "sub/target.csv"},
                      LinkCase{"Absolute", "out.csv", "@sub/abs.csv", "sub/abs.csv"},
                      LinkCase{"UpAndBack", "sub/out.csv", "../sub/../t.csv", "t.csv"},
                      LinkCase{"ToALink", "out.csv", "sub/next", "sub/final.csv"}),
    [](const auto& info) { return info.param.name; });

TEST_F(PendingOutputsTest, LinkLoopIsRefusedAndLeavesNothing) {
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    std::string error;
    EXPECT_FALSE(Save({Path("a")}, "new", &error));
    EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "a"));
    EXPECT_TRUE(NoTemporaryFiles());
}

// A name that can only be a folder's is refused: it neither creates a plain file nor
// replaces the file before its slash.
struct FolderNameCase {
    std::string output;
    std::string reason;
};

class FolderNameTest : public PendingOutputsTest,
                       public ::testing::WithParamInterface<FolderNameCase> {};

TEST_P(FolderNameTest, IsRefusedAndChangesNothing) {
    Write("g.txt", "old");
    fs::create_directories(dir / "sub");
    std::string error;
    EXPECT_FALSE(Save({Path("sub/out"), Path(GetParam().output)}, "new", &error));
    EXPECT_EQ(error, "cannot write '" + Path(GetParam().output) + "': " + GetParam().reason);
    EXPECT_EQ(Read("g.txt"), "old");
    EXPECT_FALSE(fs::exists(dir / "newdir"));
    EXPECT_FALSE(fs::exists(dir / "sub/out"));
    EXPECT_TRUE(NoTemporaryFiles());
}

INSTANTIATE_TEST_SUITE_P(Names, FolderNameTest,
                         ::testing::Values(FolderNameCase{"newdir/", "Is a directory"},
                                           FolderNameCase{"newdir/.", "Is a directory"},
                                           FolderNameCase{"g.txt/", "Not a directory"},
                                           FolderNameCase{"g.txt/.", "Not a directory"},
                                           FolderNameCase{"g.txt//", "Not a directory"},
                                           FolderNameCase{"sub/", "Is a directory"},
                                           FolderNameCase{"sub/..", "Is a directory"}));

// Values quoted in messages cannot forge a line or drive the terminal.
struct EscapeCase {
    std::string text;
    std::string shown;
};

class EscapeControlsTest : public ::testing::TestWithParam<EscapeCase> {};

std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

TEST_P(EscapeControlsTest, ShowsControlCharactersEscaped) {
    EXPECT_EQ(EscapeControls(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeControlsTest,
    ::testing::Values(
        EscapeCase{"plain name.csv", "plain name.csv"},
        EscapeCase{"5\nquorvel-batch: done", "5\\nquorvel-batch: done"},
        EscapeCase{"\x1b[31mred", "\\x1b[31mred"}, EscapeCase{"a\tb\rc", "a\\tb\\rc"},
        EscapeCase{std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
        EscapeCase{"caf\xc3\xa9 \\", "caf\xc3\xa9 \\"},
        // C1 controls (U+009B is a terminal's one-byte CSI), bytes that are not
        // UTF-8 and overlong forms are shown byte by byte; U+00A0 is no control.
        EscapeCase{"a\xc2\x9b"
                   "2Jb\xc2\x85",
                   "a\\xc2\\x9b2Jb\\xc2\\x85"},
        EscapeCase{"\xc2\xa0\xe3\x81\x82", "\xc2\xa0\xe3\x81\x82"},
        EscapeCase{"caf\xe9\x9b", "caf\\xe9\\x9b"},
        EscapeCase{"\xe0\x82\x9b\xc0\x9b", "\\xe0\\x82\\x9b\\xc0\\x9b"},
        EscapeCase{"cut \xe3\x81", "cut \\xe3\\x81"},
        // Long values: whole up to 256 characters, then cut with their length.
        EscapeCase{std::string(256, 'x'), std::string(256, 'x')},
        EscapeCase{std::string(131000, 'x'), std::string(256, 'x') + "\u2026 (131000 bytes)"},
        EscapeCase{Repeat("\xe3\x81\x82", 300), Repeat("\xe3\x81\x82", 256) + "\u2026 (900 bytes)"},
        EscapeCase{std::string(300, '\n'), Repeat("\\n", 256) + "\u2026 (300 bytes)"}));

}  // namespace
