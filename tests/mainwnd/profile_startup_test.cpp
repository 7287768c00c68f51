// Start-up and the profile: placement from stored rectangles, the window's own loop, the
// failures while the windows are made, and the nine values kept between runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <limits>

#include "SimApp.h"
#include "SimDlgFixture.h"

namespace {

TEST(SimDlgPlacement, UnreachableStoredRectanglesAreReplacedByTheDefaults) {
    CSimDlg dlg;
    dlg.SetProfile({{-50000, -50000, -49000, -49000}, {10, 10, 10, 300}, false});  // no area
    dlg.DoModalWithoutLoop();
    EXPECT_EQ(dlg.Profile().mainWnd, (ScreenRect{339, 108, 783, 589}));
    EXPECT_EQ(dlg.Profile().historyWnd, (ScreenRect{0, 0, 337, 212}));
}

TEST(SimDlgModality, MainWindowBlocksNoOtherWindowWhileItRuns) {
    CSimDlg dlg;
    dlg.SetProfile({{0, 0, 640, 480}, {0, 0, 337, 212}, false});
    bool ran = false;
    QTimer::singleShot(0, &dlg, [&] {
        ran = true;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_FALSE(dlg.isModal());
        dlg.CloseButton()->click();
    });
    dlg.DoModal();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(dlg.isVisible());
}

struct FatalCase {
    int occurrence;  // of window creation
    const char* text;
    int code;
};

class FatalSiteTest : public ::testing::TestWithParam<FatalCase> {};

TEST_P(FatalSiteTest, WindowCreationFailureReportsItsMessageAndCode) {
    const FatalCase c = GetParam();
    const FatalTrap trap;
    FailureSeam::Arm(ResourceStep::CreateWindow, c.occurrence);
    ExpectFatal(
        [] {
            CSimDlg dlg;
            dlg.DoModalWithoutLoop();
        },
        c.text, c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Sites, FatalSiteTest,
    ::testing::Values(FatalCase{1, "履歴ウインドウボタンの作成に失敗しました。", -11},
                      FatalCase{2, "一時停止ボタンの作成に失敗しました。", -10},
                      FatalCase{3, "中央火炎ボタンの作成に失敗しました。", -10},
                      FatalCase{4, "両端火炎ボタンの作成に失敗しました。", -10},
                      FatalCase{5, "シミュレーションスタート・ストップボタンの作成に失敗しました。",
                                -10},
                      FatalCase{6, "クローズボタンの作成に失敗しました。", -1},
                      FatalCase{7, "履歴ウインドウを作成できませんでした。", -101}));

TEST(FatalExitDeathTest, TheSiteCodeReachesTheParentAfterTheMessageBox) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            // The box is acknowledged as a user would, as soon as it is shown.
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    box->close();
                }
            });
            poll.start(1);
            QTemporaryDir dir;
            FailureSeam::Arm(ResourceStep::CreateWindow, 7);
            RunMainWindow(dir.filePath("quorvel.ini"),
                          [](CSimDlg& dlg) { dlg.DoModalWithoutLoop(); });
        },
        ::testing::ExitedWithCode(-101 & 0xFF), "");
}

struct FatalBoxCase {
    bool duringRun;  // otherwise while the window's buttons are made
    const char* text;
};

class FatalBoxDeathTest : public ::testing::TestWithParam<FatalBoxCase> {};

// The program's own handler shows the message in its box, also for a failure while the
// window is still being built, and stops the step timer first, so that the vessel stands
// still behind the box. The child leaves from inside the box with 42 when all holds.
TEST_P(FatalBoxDeathTest, ShowsTheMessageWithTheRunStopped) {
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    const FatalBoxCase c = GetParam();
    EXPECT_EXIT(
        {
            CSimDlg* running = nullptr;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    const bool stopped = running == nullptr || !running->IsStepTimerRunning();
                    std::_Exit(box->text() == QString::fromUtf8(c.text) && stopped ? 42 : 1);
                }
            });
            poll.start(1);
            QTemporaryDir dir;
            if (!c.duringRun) {
                FailureSeam::Arm(ResourceStep::CreateWindow, 1);
            }
            RunMainWindow(dir.filePath("quorvel.ini"), [&](CSimDlg& dlg) {
                dlg.SetSettingsDialogRunner(
                    [](CSettingsDlg& dialog) { return Answer(dialog, {}); });
                dlg.DoModalWithoutLoop();
                dlg.StartButton()->click();
                running = &dlg;
                FailureSeam::Arm(ResourceStep::CreateRegion, 1);  // the next cell a tick draws
                QTest::qWait(3000);
            });
        },
        ::testing::ExitedWithCode(42), "");
}

INSTANTIATE_TEST_SUITE_P(
    Sites, FatalBoxDeathTest,
    ::testing::Values(FatalBoxCase{false, "履歴ウインドウボタンの作成に失敗しました。"},
                      FatalBoxCase{true, "リージョンの作成に失敗しました。"}));

// The whole program run against a profile in a temporary working directory.
class ProgramProfileTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("quorvel.ini"); }
    ProfileValues Run(const std::function<void(CSimDlg&)>& actions) {
        RunMainWindow(Path(), [&](CSimDlg& dlg) {
            dlg.DoModalWithoutLoop();
            actions(dlg);
        });
        return ReadProfile(Path());
    }
    QTemporaryDir dir;
};

TEST_F(ProgramProfileTest, NoProfileWritesTheNineDefaults) {
    const ProfileValues written = Run([](CSimDlg& dlg) {
        EXPECT_EQ(dlg.frameGeometry(), QRect(339, 108, 444, 481));
        dlg.CloseButton()->click();
    });
    EXPECT_EQ(written, ProfileValues{});
    EXPECT_EQ(QSettings(Path(), QSettings::IniFormat).allKeys().size(), 9);
}

TEST_F(ProgramProfileTest, OptionOffWritesTheRectanglesBackUnchanged) {
    ProfileValues stored;
    stored.mainWnd = {100, 50, 700, 550};
    WriteProfile(Path(), stored);
    const ProfileValues written = Run([](CSimDlg& dlg) {
        dlg.move(10, 10);
        dlg.resize(300, 300);
        dlg.CloseButton()->click();
    });
    EXPECT_EQ(written, stored);
}

TEST_F(ProgramProfileTest, OptionSwitchedOnCapturesBothWindowsEvenTheHiddenHistory) {
    QRect mainFrame;
    const ProfileValues written = Run([&](CSimDlg& dlg) {
        dlg.OnSysCommand(IDM_SAVESTATE);
        dlg.move(20, 30);
        dlg.resize(500, 400);
        dlg.HistoryDlg()->move(40, 50);
        mainFrame = dlg.frameGeometry();
        dlg.close();  // the title bar's close box
    });
    EXPECT_TRUE(written.saveWindowPos);
    EXPECT_EQ(written.mainWnd,
              (ScreenRect{20, 30, 20 + mainFrame.width(), 30 + mainFrame.height()}));
    EXPECT_GE(mainFrame.width(), 500);  // the outer rectangle includes the frame
    EXPECT_EQ(written.historyWnd.left, 40);
    EXPECT_EQ(written.historyWnd.top, 50);
}

TEST_F(ProgramProfileTest, TheOptionCanBeSwitchedOff) {
    ProfileValues stored;
    stored.saveWindowPos = true;
    WriteProfile(Path(), stored);

    const ProfileValues switchedOff = Run([](CSimDlg& dlg) {
        dlg.OnSysCommand(IDM_SAVESTATE);
        dlg.move(20, 30);
        dlg.CloseButton()->click();
    });
    EXPECT_FALSE(switchedOff.saveWindowPos);
    EXPECT_EQ(switchedOff.mainWnd, stored.mainWnd);
}

TEST_F(ProgramProfileTest, AbsurdRectanglesAreHealedAndTheHealedOnesWrittenBack) {
    // The offscreen screen is 800 x 800.
    ProfileValues stored;
    stored.mainWnd = {std::numeric_limits<int>::min(), 100, std::numeric_limits<int>::max(),
                      100000};
    stored.historyWnd = {799, 599, 20799, 20599};  // one pixel on the screen, 20000 square
    WriteProfile(Path(), stored);
    const ProfileValues written = Run([](CSimDlg& dlg) {
        EXPECT_TRUE(QRect(0, 0, 800, 800).contains(dlg.frameGeometry()));
        EXPECT_LE(dlg.HistoryDlg()->width(), 800);
        dlg.CloseButton()->click();
    });
    EXPECT_EQ(written.mainWnd, (ScreenRect{0, 0, 800, 800}));
    EXPECT_EQ(written.historyWnd, (ScreenRect{0, 0, 800, 800}));
}

TEST_F(ProgramProfileTest, TwoWorkingDirectoriesKeepTwoProfiles) {
    QTemporaryDir other;
    EXPECT_NE(ProfilePath(dir.path(), "/usr/bin/quorvel"),
              ProfilePath(other.path(), "/usr/bin/quorvel"));
    Run([](CSimDlg& dlg) {
        dlg.OnSysCommand(IDM_SAVESTATE);
        dlg.CloseButton()->click();
    });
    EXPECT_TRUE(ReadProfile(Path()).saveWindowPos);
    EXPECT_FALSE(ReadProfile(other.filePath("quorvel.ini")).saveWindowPos);
}

}  // namespace
