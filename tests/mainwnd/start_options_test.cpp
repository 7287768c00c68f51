// The command line of the desktop program, and the working folder of a start from the menu.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "SimApp.h"

namespace {

TEST(StartOptions, OnlyItsOwnExactSwitchesCount) {
    const struct {
        std::vector<const char*> args;
        bool help, version, fromMenu;
    } cases[] = {
        {{}, false, false, false},
        {{"--help"}, true, false, false},
        {{"--version"}, false, true, false},
        {{"--from-menu"}, false, false, true},
        {{"-platform", "offscreen", "--from-menu", "x.ini"}, false, false, true},
        {{"--version", "--help"}, true, true, false},
        // Anything else is ignored, as it always was.
        {{"-h", "--Help", "--help=1", "-version", "help", "--from-menu2"}, false, false, false},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"quorvel"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const StartOptions options = ParseStartOptions(int(argv.size()), argv.data());
        const std::string label = c.args.empty() ? "(none)" : c.args.front();
        EXPECT_EQ(options.help, c.help) << label;
        EXPECT_EQ(options.version, c.version) << label;
        EXPECT_EQ(options.fromMenu, c.fromMenu) << label;
    }
}

// A file manager starts the program with the file's path; Qt has taken its own options by then.
TEST(StartOptions, TheFirstArgumentThatIsNoOptionIsTheRunFileMadeAbsolute) {
    const QString here = QDir::currentPath();
    const struct {
        QStringList args;
        QString file;
    } cases[] = {
        {{"quorvel"}, QString()},
        {{"quorvel", "--from-menu"}, QString()},
        {{"quorvel", "--from-menu", "a b.quorvel", "x"}, here + "/a b.quorvel"},
        {{"quorvel", "/tmp/../tmp/r.quorvel"}, "/tmp/r.quorvel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunFileArgument(c.args), c.file) << c.args.join(' ').toStdString();
    }
}

TEST(StartOptions, UsageNamesEverySwitchAndVersionIsOneLine) {
    for (const char* name : {"--from-menu", "--help", "--version", "quorvel.ini"}) {
        EXPECT_TRUE(UsageText().contains(QLatin1String(name))) << name;
    }
    EXPECT_EQ(VersionText(), QStringLiteral("quorvel 3.1\n"));
}

// Sets (or, with nullptr, unsets) an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const char* value)
        : m_name(name), m_set(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        value != nullptr ? qputenv(name, value) : qunsetenv(name);
    }
    ~EnvVar() { m_set ? qputenv(m_name, m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    bool m_set;
    QByteArray m_old;
};

TEST(MenuStart, WorksInTheConfigFolderCreatedIfMissing) {
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("cfg"));
    const QByteArray configBytes = config.toLocal8Bit();
    const EnvVar homeVar("HOME", home.path().toLocal8Bit().constData());
    const struct {
        const char* xdgConfigHome;
        QString folder;
    } cases[] = {
        {nullptr, home.filePath(QStringLiteral(".config/quorvel"))},
        {"", home.filePath(QStringLiteral(".config/quorvel"))},
        // Relative values are invalid and are ignored.
        {"relative/cfg", home.filePath(QStringLiteral(".config/quorvel"))},
        {configBytes.constData(), config + QStringLiteral("/quorvel")},
    };
    const QString before = QDir::currentPath();
    for (const auto& c : cases) {
        const EnvVar xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
        EXPECT_EQ(MenuWorkingFolder(), c.folder);
        ASSERT_TRUE(EnterMenuWorkingFolder()) << c.folder.toStdString();
        EXPECT_EQ(QDir::currentPath(), QDir(c.folder).canonicalPath());
        ASSERT_TRUE(QDir::setCurrent(before));
        // Entering it again, when it already exists, works too.
        EXPECT_TRUE(EnterMenuWorkingFolder());
        ASSERT_TRUE(QDir::setCurrent(before));
    }
}

TEST(MenuStart, AFolderThatCannotBeMadeLeavesTheWorkingFolder) {
    QTemporaryDir home;
    QFile blocker(home.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray blockerBytes = blocker.fileName().toLocal8Bit();
    const EnvVar xdg("XDG_CONFIG_HOME", blockerBytes.constData());
    const QString before = QDir::currentPath();
    EXPECT_FALSE(EnterMenuWorkingFolder());
    EXPECT_EQ(QDir::currentPath(), before);
}

}  // namespace
