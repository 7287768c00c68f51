// Saving the picture and the whole run's history from the main window: the same files the
// headless runner writes, the save dialog's proposals, and failures that lose nothing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <map>
#include <sstream>

#include "BatchRun.h"
#include "SimDlgFixture.h"

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ExportTest : public SimDlgTest {
protected:
    void SetUp() override {
        SimDlgTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        dlg->SetSaveFailureRunner([this](const QString& text) { failures << text; });
    }

    // A seeded run of `ticks` ticks in the window, paused, and the runner's files for it.
    void RunBoth(int ticks) {
        dlg->Simulation().SetSeed(77);
        Start({true, [](CSettingsDlg& d) { SetEdit(d, IDC_HISTORY_INTERVAL, "3"); }});
        for (int i = 0; i < ticks; ++i) {
            dlg->Step();
        }
        dlg->PauseButton()->click();
        BatchOptions options;
        options.ticks = ticks;
        options.seed = 77;
        options.settings.historyInterval = 3;
        options.historyOut = Path("runner.csv").toStdString();
        options.pngOut = Path("runner.png").toStdString();
        std::ostringstream out, errors;
        ASSERT_EQ(RunBatch(options, out, errors, false), 0) << errors.str();
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // The enabled state of the context menu's items, by text.
    std::map<QString, bool> MenuItems() {
        std::map<QString, bool> items;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                items[action->text()] = action->isEnabled();
            }
            QTest::keyClick(menu, Qt::Key_Escape);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                dlg->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(dlg.get(), &event);
        return items;
    }

    QTemporaryDir dir;
    QStringList failures;
};

const QString kSavePicture = QString::fromUtf8("画像を保存...");
const QString kSaveHistory = QString::fromUtf8("履歴をCSVで保存...");

TEST_F(ExportTest, FilesEqualTheRunnersForTheSameSeed) {
    RunBoth(30000);
    ASSERT_TRUE(dlg->SaveHistoryCsv(Path("window.csv")));
    ASSERT_TRUE(dlg->SavePicture(Path("window.png")));
    EXPECT_TRUE(failures.isEmpty()) << failures.join(' ').toStdString();

    const QByteArray csv = ReadAll(Path("window.csv"));
    EXPECT_EQ(csv.count('\n'), 1 + 30000 / 5);
    EXPECT_EQ(csv, ReadAll(Path("runner.csv")));

    // The same pixels but for the window's selection outline and info panel.
    const QImage window(Path("window.png"), "PNG");
    const QImage runner(Path("runner.png"), "PNG");
    ASSERT_EQ(window.size(), runner.size());
    EXPECT_EQ(window.convertToFormat(QImage::Format_RGB32), dlg->View().FrameImage());
    const PixelRect panel = dlg->View().InfoPanelRect();
    const CellHit selected = dlg->View().Selection();
    PixelRect outline = dlg->View().CellRect(selected.col, selected.row);
    int differing = 0;
    for (int y = 0; y < runner.height(); ++y) {
        for (int x = 0; x < runner.width(); ++x) {
            const bool inPanel =
                x >= panel.left && x < panel.right && y >= panel.top && y < panel.bottom;
            const bool nearSelection = x >= outline.left - 2 && x < outline.right + 2 &&
                                       y >= outline.top - 2 && y < outline.bottom + 2;
            if (!inPanel && !nearSelection) {
                ASSERT_EQ(window.pixel(x, y), runner.pixel(x, y)) << x << ", " << y;
            } else if (window.pixel(x, y) != runner.pixel(x, y)) {
                ++differing;
            }
        }
    }
    EXPECT_GT(differing, 0);  // the panel and the outline are in the window's picture
}

TEST_F(ExportTest, MenuAndSaveDialogProposals) {
    std::map<QString, bool> items = MenuItems();
    EXPECT_TRUE(items.at(kSavePicture));  // the frame exists before any run
    EXPECT_FALSE(items.at(kSaveHistory));

    QStringList proposals;
    QString answer;
    dlg->SetSaveFileChooser([&](const QString&, const QString& proposed, const QString&) {
        proposals << proposed;
        return answer;
    });
    dlg->OnSavePicture();  // cancelled: nothing written, the folder stays
    answer = Path("sub/a.png");
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    dlg->OnSavePicture();
    dlg->OnSavePicture();
    ASSERT_EQ(proposals.size(), 3);
    QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!QDir(pictures).exists()) {
        pictures = QDir::homePath();
    }
    const QRegularExpression name(QStringLiteral("/quorvel-\\d{8}-\\d{6}\\.png$"));
    for (const QString& proposed : proposals) {
        EXPECT_TRUE(name.match(proposed).hasMatch()) << proposed.toStdString();
    }
    EXPECT_TRUE(proposals[0].startsWith(pictures));
    EXPECT_TRUE(proposals[1].startsWith(pictures));
    EXPECT_TRUE(proposals[2].startsWith(Path("sub/quorvel-")));
    EXPECT_TRUE(QFile::exists(Path("sub/a.png")));

    Start();
    items = MenuItems();
    EXPECT_TRUE(items.at(kSavePicture));  // also while running
    EXPECT_TRUE(items.at(kSaveHistory));
}

TEST_F(ExportTest, FreshStartClearsTheHistoryAndContinuingKeepsIt) {
    RunBoth(100);
    const std::size_t samples = dlg->HistoryDlg()->RunHistory().Entries().size();
    ASSERT_EQ(samples, 20u);
    dlg->PauseButton()->click();
    dlg->StartButton()->click();  // stop
    Start();                      // a stopped run continues unless the box is cleared
    EXPECT_EQ(dlg->HistoryDlg()->RunHistory().Entries().size(), samples);
    dlg->StartButton()->click();
    Start({true,
           [](CSettingsDlg& d) { qobject_cast<QCheckBox*>(d.GetDlgItem(IDC_CONTINUE))->click(); }});
    EXPECT_TRUE(dlg->HistoryDlg()->RunHistory().Entries().empty());
}

struct FailureCase {
    const char* name;
    const char* target;  // in the temporary folder
    rlim_t sizeLimit;    // RLIM_INFINITY: none
    const char* reason;
};

class ExportFailureTest : public ExportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportFailureTest, ShowsPathAndReasonAndLosesNothing) {
    const FailureCase c = GetParam();
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    QFile plain(Path("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly) && plain.write("old") == 3);
    plain.close();
    Start();
    dlg->Step();

    const QString target = Path(c.target);
    struct rlimit previous {};
    getrlimit(RLIMIT_FSIZE, &previous);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = previous;
    limit.rlim_cur = c.sizeLimit;
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool picture = dlg->SavePicture(target);
    const bool csv = dlg->SaveHistoryCsv(target);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(picture);
    EXPECT_FALSE(csv);
    ASSERT_EQ(failures.size(), 2);
    for (const QString& text : failures) {
        EXPECT_TRUE(text.contains(target)) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.reason))) << text.toStdString();
    }
    EXPECT_EQ(ReadAll(Path("plain")), "old");
    EXPECT_TRUE(QFileInfo(Path("folder")).isDir());
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{QStringLiteral("plain")});
    // The run goes on.
    EXPECT_TRUE(dlg->IsStepTimerRunning());
    dlg->Step();
    EXPECT_EQ(dlg->Simulation().TicksRun(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ExportFailureTest,
    ::testing::Values(FailureCase{"TargetIsAFolder", "folder", RLIM_INFINITY, "Is a directory"},
                      FailureCase{"FolderIsAFile", "plain/x.csv", RLIM_INFINITY, "Not a directory"},
                      FailureCase{"FileSizeLimit", "plain", 8, "File too large"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
