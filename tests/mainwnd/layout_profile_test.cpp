#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <limits>
#include <vector>

#include "ButtonRow.h"
#include "Placement.h"
#include "Profile.h"

namespace {

struct RowCase {
    int cx;
    int cy;
    ButtonRow expected;
    int viewHeight;
};

class ButtonRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(ButtonRowTest, EdgesFollowThePercentagesFromTheRight) {
    const RowCase c = GetParam();
    const ButtonRow row = ComputeButtonRow(c.cx, c.cy);
    EXPECT_EQ(row.top, c.expected.top);
    EXPECT_EQ(row.bottom, c.expected.bottom);
    EXPECT_EQ(row.edges, c.expected.edges);
    EXPECT_EQ(CVesselView::ViewRectFor(c.cx, c.cy).Height(), c.viewHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ButtonRowTest,
    ::testing::Values(RowCase{400, 400, {368, 398, {5, 51, 119, 199, 279, 347, 395}}, 365},
                      RowCase{151, 101, {91, 99, {5, 16, 41, 72, 102, 127, 146}}, 88},
                      RowCase{640, 480, {442, 478, {5, 84, 193, 321, 449, 558, 635}}, 439}));

TEST(ClientSize, SmallestAcceptedIs151By101) {
    EXPECT_TRUE(AcceptsClientSize(151, 101));
    EXPECT_FALSE(AcceptsClientSize(150, 400));
    EXPECT_FALSE(AcceptsClientSize(400, 100));
}

TEST(ProfilePath, UsesTheExecutableBaseNameInTheWorkingDirectory) {
    EXPECT_EQ(ProfilePath("/home/a/work", "/usr/bin/quorvel"), "/home/a/work/quorvel.ini");
    EXPECT_EQ(ProfilePath("/tmp/x", "/opt/q/quorvel.bin"), "/tmp/x/quorvel.ini");
    // No working directory: fall back to the executable's own directory.
    EXPECT_EQ(ProfilePath("", "/opt/q/quorvel"), "/opt/q/quorvel.ini");
    const QString deep = "/" + QString("d").repeated(600);
    EXPECT_EQ(ProfilePath(deep, "/usr/bin/quorvel"), deep + "/quorvel.ini");
}

class ProfileFileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("quorvel.ini"); }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, MissingFileGivesTheDefaults) {
    const ProfileValues values = ReadProfile(Path());
    EXPECT_EQ(values.mainWnd, (ScreenRect{339, 108, 783, 589}));
    EXPECT_EQ(values.mainWnd.Width(), 444);
    EXPECT_EQ(values.mainWnd.Height(), 481);
    EXPECT_EQ(values.historyWnd, (ScreenRect{0, 0, 337, 212}));
    EXPECT_FALSE(values.saveWindowPos);
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(ProfileFileTest, WritesAllNineKeysAndReadsThemBack) {
    ProfileValues values;
    values.mainWnd = {-10, 20, 500, 700};
    values.historyWnd = {1, 2, 3, 4};
    values.saveWindowPos = true;
    WriteProfile(Path(), values);
    EXPECT_EQ(ReadProfile(Path()), values);

    QSettings raw(Path(), QSettings::IniFormat);
    EXPECT_EQ(raw.allKeys().size(), 9);
    EXPECT_EQ(raw.value("Option/SaveWindowPos").toInt(), 1);
    EXPECT_EQ(raw.value("Size/MainWndPosX1").toInt(), -10);
    EXPECT_EQ(raw.value("Size/HistoryWndPosY2").toInt(), 4);
}

TEST_F(ProfileFileTest, MalformedOrMissingKeysFallBackOneByOne) {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Size]\nMainWndPosX1=12abc\nMainWndPosY1=-7\n[Option]\nSaveWindowPos=1\n");
    file.close();
    const ProfileValues values = ReadProfile(Path());
    EXPECT_EQ(values.mainWnd, (ScreenRect{339, -7, 783, 589}));
    EXPECT_TRUE(values.saveWindowPos);
}

TEST_F(ProfileFileTest, UnwritableProfileIsLeftAloneWithoutFailing) {
    // The "directory" is a plain file, so nothing can be created below it.
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath("blocker/quorvel.ini");
    WriteProfile(path, ProfileValues{});
    EXPECT_FALSE(QFile::exists(path));
}

// A profile padded with a comment key to exactly `size` bytes, the option set.
QByteArray PaddedProfile(qint64 size) {
    QByteArray text = "[Option]\nSaveWindowPos=1\n[Notes]\nText=";
    text += QByteArray(size - text.size() - 1, 'x');
    text += '\n';
    return text;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A profile over 1 MiB is neither read (its size would be spent in memory) nor rewritten.
struct SizeCase {
    qint64 size;
    bool taken;
};

class ProfileSizeTest : public ProfileFileTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(ProfileSizeTest, OnlyAProfileUpToTheLimitIsReadAndWritten) {
    const SizeCase c = GetParam();
    const QByteArray original = PaddedProfile(c.size);
    WriteAll(Path(), original);
    ::testing::internal::CaptureStderr();
    const ProfileValues values = ReadProfile(Path());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(values.saveWindowPos, c.taken);
    EXPECT_EQ(said.find("larger than 1 MiB") != std::string::npos, !c.taken) << said;
    ProfileValues changed;
    changed.mainWnd = {1, 2, 300, 400};
    WriteProfile(Path(), changed);
    EXPECT_EQ(ReadAll(Path()) == original, !c.taken);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProfileSizeTest,
                         ::testing::Values(SizeCase{MAX_PROFILE_SIZE, true},
                                           SizeCase{MAX_PROFILE_SIZE + 1, false},
                                           SizeCase{200 * 1024 * 1024 / 100, false}));

TEST_F(ProfileFileTest, RewriteCutShortByAFileSizeLimitLeavesTheProfile) {
    const QByteArray original = PaddedProfile(200000);
    WriteAll(Path(), original);
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        WriteProfile(Path(), ProfileValues{});
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(ReadAll(Path()), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("quorvel.ini")});
}

// A profile reached through a link is rewritten where the link points, with its mode.
TEST_F(ProfileFileTest, ARewrittenProfileKeepsItsLinkAndItsMode) {
    const QString real = dir.filePath("real.ini");
    WriteAll(real, "[Option]\nSaveWindowPos=1\n");
    ASSERT_EQ(chmod(QFile::encodeName(real).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(real, Path()));
    ProfileValues changed;
    changed.mainWnd = {1, 2, 300, 400};
    WriteProfile(Path(), changed);
    EXPECT_TRUE(QFileInfo(Path()).isSymLink());
    EXPECT_EQ(ReadProfile(real).mainWnd, changed.mainWnd);
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(real).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

struct HealCase {
    const char* what;
    ScreenRect stored;
    std::vector<ScreenArea> screens;
    ScreenRect expected;
};

constexpr int kMin = std::numeric_limits<int>::min();
constexpr int kMax = std::numeric_limits<int>::max();
const ScreenRect kDefaultMain = ProfileValues{}.mainWnd;
const std::vector<ScreenArea> kScreen1280{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)}};
// A panel along the top takes 30 pixels; a second screen lies to the right.
const std::vector<ScreenArea> kTwoScreens{{QRect(0, 0, 1280, 1024), QRect(0, 30, 1280, 994)},
                                          {QRect(1280, 0, 800, 600), QRect(1280, 0, 800, 600)}};

class HealTest : public ::testing::TestWithParam<HealCase> {};

TEST_P(HealTest, StoredRectangleIsClampedToTheAvailableAreaOfItsScreen) {
    const HealCase& c = GetParam();
    EXPECT_EQ(HealWindowRect(c.stored, kDefaultMain, c.screens), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rectangles, HealTest,
    ::testing::Values(
        HealCase{"fits: unchanged", {100, 50, 700, 550}, kScreen1280, {100, 50, 700, 550}},
        HealCase{"extreme ints", {kMin, kMin, kMax, kMax}, kScreen1280, {0, 0, 1280, 1024}},
        HealCase{"far right edge", {339, 108, 100000, 589}, kScreen1280, {0, 108, 1280, 589}},
        HealCase{"20000 square", {0, 0, 20000, 20000}, kScreen1280, {0, 0, 1280, 1024}},
        HealCase{"left at -40000", {-40000, 100, 300, 500}, kScreen1280, {0, 100, 1280, 500}},
        HealCase{"one pixel on", {1279, 1023, 1779, 1423}, kScreen1280, {780, 624, 1280, 1024}},
        HealCase{"no area", {10, 10, 10, 300}, kScreen1280, kDefaultMain},
        HealCase{"upside down", {kMax, kMax, kMin, kMin}, kScreen1280, kDefaultMain},
        HealCase{"on no screen", {-5000, -5000, -4000, -4000}, kScreen1280, kDefaultMain},
        HealCase{"default on 800 x 480",
                 kDefaultMain,
                 {{QRect(0, 0, 800, 480), QRect(0, 0, 800, 480)}},
                 {339, 0, 783, 480}},
        HealCase{"default at scale 2 of 1280 x 1024",
                 kDefaultMain,
                 {{QRect(0, 0, 640, 512), QRect(0, 0, 640, 512)}},
                 {196, 31, 640, 512}},
        HealCase{"under the panel", {100, 0, 500, 400}, kTwoScreens, {100, 30, 500, 430}},
        HealCase{"mostly on the second screen",
                 {1200, 100, 1600, 700},
                 kTwoScreens,
                 {1280, 0, 1680, 600}},
        HealCase{"no screens: left alone", {1, 2, 3, 4}, {}, {1, 2, 3, 4}}));

}  // namespace
