// Saving a run from the main window and opening it again: the continued run is the unbroken
// one, a bad file loses nothing, and a run on the screen is replaced only when the user agrees.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <string>

#include "ContextMenu.h"
#include "RunFile.h"
#include "RunFileMenu.h"
#include "RunSpeed.h"
#include "SimDlgFixture.h"

namespace {

constexpr int kSpeed1000 = 3;  // RunSpeed::TICKS_PER_MESSAGE[3] == 1000

// The run a window holds, as its run file would hold it.
std::string RunText(CSimDlg& dlg) {
    std::string error;
    return FormatRunFile(dlg.Session().Capture(), error).value_or(error);
}

QImage Frame(const CSimDlg& dlg) {
    return FrameImageOf(dlg.View().Frame()).copy();
}

class RunFileWindowTest : public ::testing::Test {
protected:
    // A shown window whose settings dialog applies `edit` and accepts; its file dialogs
    // answer `chosen`, its failures are noted and its question answered with `replace`.
    std::unique_ptr<CSimDlg> Window(std::function<void(CSettingsDlg&)> edit = {}) {
        auto dlg = ShownWindow([edit](CSettingsDlg& dialog) {
            return Answer(dialog, {true, edit});
        });
        CRunFileMenu& files = dlg->RunFiles();
        auto choose = [this](const QString&, const QString&, const QString&) {
            ++chooserRuns;
            return chosen;
        };
        files.SetSaveFileChooser(choose);
        files.SetOpenFileChooser(choose);
        files.SetFailureRunner([this](const QString& text) { failures << text; });
        files.SetReplaceQuestion([this](const QString&) {
            ++questions;
            return replace;
        });
        return dlg;
    }
    static void RunTicks(CSimDlg& dlg, long long thousands) {
        dlg.Show(dlg.Session().SetSpeed(kSpeed1000));
        for (long long i = 0; i < thousands; ++i) {
            dlg.Show(dlg.Session().Timer());
        }
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    FatalTrap trap;
    QTemporaryDir dir;
    QString chosen;
    QStringList failures;
    bool replace = true;
    int questions = 0;
    int chooserRuns = 0;
};

struct WindowCase {
    const char* columns;
    const char* rows;
    const char* initialTemperature;
    long long savedThousands;
    long long moreThousands;
    bool bubblesAtSave;
};

class RunFileContinueTest : public RunFileWindowTest,
                            public ::testing::WithParamInterface<WindowCase> {};

TEST_P(RunFileContinueTest, OpenedAndContinuedIsTheUnbrokenRun) {
    const WindowCase& c = GetParam();
    auto settings = [&c](CSettingsDlg& d) {
        SetEdit(d, IDC_COLUMNS, c.columns);
        SetEdit(d, IDC_ROWS, c.rows);
        SetEdit(d, IDC_INITIAL_TEMPERATURE, c.initialTemperature);
        SetEdit(d, IDC_HISTORY_INTERVAL, "40");
    };
    // The unbroken run, saved on the way.
    auto unbroken = Window(settings);
    unbroken->Simulation().SetSeed(4242);
    unbroken->StartButton()->click();
    // The test runs the timer messages itself: none may come from the clock meanwhile.
    unbroken->Show(unbroken->Session().HoldTimer());
    RunTicks(*unbroken, c.savedThousands);
    chosen = Path("saved.quorvel");
    PickMenuItem(*unbroken, QString::fromUtf8("実行を保存..."));
    ASSERT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    EXPECT_EQ(unbroken->Simulation().VapourCellCount() > 0, c.bubblesAtSave);
    const std::string savedText = RunText(*unbroken);
    const QImage savedFrame = Frame(*unbroken);
    RunTicks(*unbroken, c.moreThousands);

    // Opened in another window: stopped, can continue, showing the saved run.
    auto opened = Window();
    PickMenuItem(*opened, QString::fromUtf8("実行を開く..."));
    ASSERT_TRUE(failures.isEmpty()) << failures.join('\n').toStdString();
    EXPECT_EQ(questions, 0);  // nothing on the screen to lose
    EXPECT_EQ(opened->Control().State(), RunState::Stopped);
    EXPECT_TRUE(opened->Control().CanContinue());
    EXPECT_EQ(opened->StartButton()->text(), kStart);
    EXPECT_FALSE(opened->PauseButton()->isEnabled());
    EXPECT_FALSE(opened->IsStepTimerRunning());
    EXPECT_EQ(opened->windowTitle(), "Quorvel Ver. 3.1");
    EXPECT_EQ(RunText(*opened), savedText);
    EXPECT_TRUE(Frame(*opened) == savedFrame);

    // Started with the continue box ticked (the default after a stop), unchanged settings.
    opened->StartButton()->click();
    opened->Show(opened->Session().HoldTimer());
    RunTicks(*opened, c.moreThousands);
    EXPECT_EQ(RunText(*opened), RunText(*unbroken));
    EXPECT_TRUE(Frame(*opened) == Frame(*unbroken));
}

INSTANTIATE_TEST_SUITE_P(Sizes, RunFileContinueTest,
                         ::testing::Values(WindowCase{"20", "20", "15", 1, 6, false},
                                           WindowCase{"31", "17", "97", 30, 20, true}));

TEST_F(RunFileWindowTest, BadFilesAreRefusedAndTheRunIsKept) {
    auto dlg = Window();
    dlg->Simulation().SetSeed(7);
    dlg->StartButton()->click();
    RunTicks(*dlg, 3);
    dlg->PauseButton()->click();  // no tick may come between the comparisons
    chosen = Path("good.quorvel");
    PickMenuItem(*dlg, QString::fromUtf8("実行を保存..."));
    QFile goodFile(chosen);
    ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
    const QByteArray good = goodFile.readAll();
    const std::string before = RunText(*dlg);
    const QImage frame = Frame(*dlg);

    const struct {
        const char* name;
        QByteArray text;
        const char* fault;
    } cases[] = {
        {"cut.quorvel", good.left(good.size() / 3), "cut short"},
        {"new.quorvel", QByteArray(good).replace("quorvel-run 1", "quorvel-run 7"), "newer"},
        {"size.quorvel", QByteArray(good).replace("\ncolumns 20\n", "\ncolumns 99\n"),
         "columns 99 is out of range"},
        {"nan.quorvel", QByteArray(good).replace("\ngrid\n1 ", "\ngrid\n1 nan "), "not a finite"},
        {"phase.quorvel", QByteArray(good).replace("\ngrid\n1 ", "\ngrid\n0 "), "phase 0"},
        {"level.quorvel", QByteArray(good).replace("\nends weak\n", "\nends lukewarm\n"),
         "does not exist"},
        {"missing.quorvel", QByteArray(), "No such file"},
    };
    for (const auto& c : cases) {
        chosen = Path(c.name);
        if (!c.text.isEmpty()) {
            QFile file(chosen);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.text);
        }
        failures.clear();
        PickMenuItem(*dlg, QString::fromUtf8("実行を開く..."));
        ASSERT_EQ(failures.size(), 1) << c.name;
        EXPECT_TRUE(failures[0].contains(chosen)) << failures[0].toStdString();
        EXPECT_TRUE(failures[0].contains(QString::fromUtf8(c.fault))) << failures[0].toStdString();
        EXPECT_EQ(RunText(*dlg), before) << c.name;
        EXPECT_TRUE(Frame(*dlg) == frame) << c.name;
        EXPECT_EQ(dlg->Control().State(), RunState::Paused) << c.name;
    }
}

TEST_F(RunFileWindowTest, ARunOnTheScreenIsReplacedOnlyWhenTheUserAgrees) {
    auto saver = Window();
    saver->StartButton()->click();
    RunTicks(*saver, 2);
    saver->PauseButton()->click();
    chosen = Path("other.quorvel");
    PickMenuItem(*saver, QString::fromUtf8("実行を保存..."));

    auto dlg = Window();
    dlg->StartButton()->click();
    RunTicks(*dlg, 1);
    dlg->PauseButton()->click();
    const std::string before = RunText(*dlg);
    replace = false;
    PickMenuItem(*dlg, QString::fromUtf8("実行を開く..."));
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(chooserRuns, 1);  // the save's only: declined, no file is asked for
    EXPECT_EQ(RunText(*dlg), before);
    EXPECT_EQ(dlg->Control().State(), RunState::Paused);

    replace = true;
    PickMenuItem(*dlg, QString::fromUtf8("実行を開く..."));
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(RunText(*dlg), RunText(*saver));
    EXPECT_EQ(dlg->Control().State(), RunState::Stopped);
}

}  // namespace
