#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "PendingOutputs.h"

namespace fs = std::filesystem;

namespace {

class PendingOutputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quorvel-output-test-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        previousMask = umask(022);
    }
    void TearDown() override {
        umask(previousMask);
        fs::remove_all(dir);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(dir / name) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir / name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
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
    bool NoTemporaryFiles() const {
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            if (entry.path().filename().string().rfind(".quorvel-", 0) == 0) {
                return false;
            }
        }
        return true;
    }

    fs::path dir;
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
        WriteFile("out", "old");
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
                                           ModeCase{"NewUnderUsualMask", false, 0, 022, 0644},
                                           ModeCase{"NewUnderStrictMask", false, 0, 027, 0640}),
                         [](const auto& info) { return info.param.name; });

TEST_F(PendingOutputsTest, ReplacedOutputKeepsItsOwnerWhereAllowed) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file to another user";
    }
    WriteFile("out", "old");
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

// Values quoted in messages cannot forge a line or drive the terminal.
struct EscapeCase {
    std::string text;
    std::string shown;
};

class EscapeControlsTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapeControlsTest, ShowsControlCharactersEscaped) {
    EXPECT_EQ(EscapeControls(GetParam().text), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapeControlsTest,
    ::testing::Values(EscapeCase{"plain name.csv", "plain name.csv"},
                      EscapeCase{"5\nquorvel-batch: done", "5\\nquorvel-batch: done"},
                      EscapeCase{"\x1b[31mred", "\\x1b[31mred"}, EscapeCase{"a\tb\rc", "a\\tb\\rc"},
                      EscapeCase{std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"},
                      EscapeCase{"caf\xc3\xa9 \\", "caf\xc3\xa9 \\"}));

}  // namespace
