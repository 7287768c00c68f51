// Saving the picture and the whole run's history from the main window: the runner's files,
// the save dialog's proposals, and failures that lose nothing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sstream>

#include "BatchRun.h"
#include "ContextMenu.h"
#include "SimDlgFixture.h"

namespace {

constexpr const char* kSavePicture = "画像を保存...";
constexpr const char* kSaveHistory = "履歴をCSVで保存...";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportTest : public SimDlgTest {
protected:
    void SetUp() override {
        SimDlgTest::SetUp();
        dlg->Export().SetSaveFailureRunner([this](const QString& text) { failures << text; });
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Saves through the menu item `item`, the file dialog answering `path`. True when the
    // file was written without a failure shown.
    bool SaveAs(const char* item, const QString& path) {
        const qsizetype failed = failures.size();
        dlg->Export().SetSaveFileChooser(
            [path](const QString&, const QString&, const QString&) { return path; });
        PickMenuItem(*dlg, QString::fromUtf8(item));
        return failures.size() == failed && QFile::exists(path);
    }

    // Whether the context menu's two save items are enabled.
    std::pair<bool, bool> SaveItemsEnabled() {
        std::pair<bool, bool> enabled;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text() == QString::fromUtf8(kSavePicture)) {
                    enabled.first = action->isEnabled();
                } else if (action->text() == QString::fromUtf8(kSaveHistory)) {
                    enabled.second = action->isEnabled();
                }
            }
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                dlg->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(dlg.get(), &event);
        return enabled;
    }

    QTemporaryDir dir;
    QStringList failures;
};

TEST_F(ExportTest, FilesEqualTheRunnersForTheSameSeed) {
    EXPECT_EQ(SaveItemsEnabled(), std::make_pair(true, false));  // a frame, no run yet
    constexpr int kTicks = 30000;
    dlg->Simulation().SetSeed(77);
    Start({true, [](CSettingsDlg& d) { SetEdit(d, IDC_HISTORY_INTERVAL, "3"); }});
    EXPECT_EQ(SaveItemsEnabled(), std::make_pair(true, true));  // also while running
    for (int i = 0; i < kTicks; ++i) {
        dlg->Show(dlg->Session().Timer());
    }
    ASSERT_TRUE(SaveAs(kSaveHistory, Path("window.csv")));
    ASSERT_TRUE(SaveAs(kSavePicture, Path("window.png")));
    BatchOptions options;
    options.ticks = kTicks;
    options.seed = 77;
    options.settings.historyInterval = 3;
    options.historyOut = Path("runner.csv").toStdString();
    options.pngOut = Path("runner.png").toStdString();
    std::ostringstream out, errors;
    ASSERT_EQ(RunBatch(options, out, errors, false), 0) << errors.str();

    const QByteArray csv = ReadAll(Path("window.csv"));
    EXPECT_EQ(csv.count('\n'), 1 + kTicks / 5);
    EXPECT_EQ(csv, ReadAll(Path("runner.csv")));
    // The same pixels once the window's info panel and selection outline are blanked out.
    QImage window(Path("window.png"), "PNG"), runner(Path("runner.png"), "PNG");
    ASSERT_EQ(window.size(), runner.size());
    EXPECT_NE(window, runner);
    const PixelRect panel = dlg->View().InfoPanelRect();
    const PixelRect cell =
        dlg->View().CellRect(dlg->View().Selection().col, dlg->View().Selection().row);
    for (QImage* image : {&window, &runner}) {
        QPainter painter(image);
        painter.fillRect(QRect(QPoint(panel.left, panel.top), QPoint(panel.right, panel.bottom)),
                         Qt::green);
        painter.fillRect(
            QRect(QPoint(cell.left - 2, cell.top - 2), QPoint(cell.right + 1, cell.bottom + 1)),
            Qt::green);
    }
    EXPECT_EQ(window, runner);

    // A continued run keeps the samples; a fresh start clears them.
    dlg->StartButton()->click();
    Start();
    EXPECT_EQ(dlg->Control().RunHistory().Entries().size(), std::size_t{kTicks / 5});
    dlg->StartButton()->click();
    Start({true,
           [](CSettingsDlg& d) { qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_CONTINUE))->click(); }});
    EXPECT_TRUE(dlg->Control().RunHistory().Entries().empty());
}

TEST_F(ExportTest, DialogProposesADatedNameInTheLastFolder) {
    QStringList proposals;
    QString answer;  // empty: cancelled
    dlg->Export().SetSaveFileChooser([&](const QString&, const QString& proposed, const QString&) {
        proposals << proposed;
        return answer;
    });
    PickMenuItem(*dlg, QString::fromUtf8(kSavePicture));
    answer = Path("a.png");
    PickMenuItem(*dlg, QString::fromUtf8(kSavePicture));
    PickMenuItem(*dlg, QString::fromUtf8(kSavePicture));
    ASSERT_EQ(proposals.size(), 3);
    EXPECT_NE(QFileInfo(proposals[1]).path(), dir.path());
    EXPECT_EQ(QFileInfo(proposals[2]).path(), dir.path());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^quorvel-\\d{8}-\\d{6}\\.png$"))
                    .match(QFileInfo(proposals[2]).fileName())
                    .hasMatch());
    EXPECT_TRUE(QFile::exists(answer));
}

struct FailureCase {
    const char* target;  // in the temporary folder, which holds "folder" and "plain"
    rlim_t sizeLimit;
    const char* reason;
};

class ExportFailureTest : public ExportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportFailureTest, ShowsPathAndReasonAndLosesNothing) {
    const FailureCase c = GetParam();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QFile plain(Path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly) && plain.write("old") == 3);
    plain.close();
    Start();

    struct rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit limit = previous;
    limit.rlim_cur = c.sizeLimit;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool saved = SaveAs(kSavePicture, Path(c.target)) || SaveAs(kSaveHistory, Path(c.target));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(saved);
    ASSERT_EQ(failures.size(), 2);
    for (const QString& text : failures) {
        EXPECT_TRUE(text.contains(Path(c.target)) && text.contains(c.reason)) << text.toStdString();
    }
    EXPECT_EQ(ReadAll(Path("plain")), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"});
    EXPECT_TRUE(dlg->IsStepTimerRunning());  // the run goes on
}

INSTANTIATE_TEST_SUITE_P(Targets, ExportFailureTest,
                         ::testing::Values(FailureCase{"folder", RLIM_INFINITY, "Is a directory"},
                                           FailureCase{"plain/x", RLIM_INFINITY, "Not a directory"},
                                           FailureCase{"plain", 8, "File too large"}));

}  // namespace
