#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <limits>
#include <optional>
#include <stdexcept>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "AboutDlg.h"
#include "BatchRun.h"
#include "FailureSeam.h"
#include "FatalError.h"
#include "SettingsDlg.h"
#include "SimApp.h"
#include "SimDlg.h"
#include "SimulationProbe.h"

namespace {

const QString kStart = QString::fromUtf8("スタート");
const QString kStop = QString::fromUtf8("ストップ");
const QString kPause = QString::fromUtf8("一時停止");
const QString kResume = QString::fromUtf8("再開");

// What the settings dialog should do when the Start command opens it.
struct DialogAnswer {
    bool ok = true;
    std::function<void(CSettingsDlg&)> edit;  // applied to the shown dialog before answering
};

void SetEdit(CSettingsDlg& dialog, int id, const QString& text) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(text);
}

// A shown main window with a 640 x 480 client area.
class SimDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        FailureSeam::Disarm();
        dlg = std::make_unique<CSimDlg>();
        dlg->m_rcMainWnd = {0, 0, 640, 480};
        dlg->m_rcHistoryWnd = {0, 0, 337, 212};
        dlg->m_runSettingsDialog = [this](CSettingsDlg& dialog) {
            dialog.show();
            QCoreApplication::processEvents();
            ++dialogRuns;
            lastCanContinue = dialog.m_bCanContinue;
            const DialogAnswer answer = next;
            if (answer.edit) {
                answer.edit(dialog);
            }
            if (answer.ok) {
                dialog.accept();
            } else {
                dialog.reject();
            }
            return dialog.result();
        };
        dlg->DoModalWithoutLoop();
        ResizeClient(640, 480);
    }

    void ResizeClient(int cx, int cy) {
        dlg->resize(cx, cy);
        QCoreApplication::processEvents();
    }

    void Start(DialogAnswer answer = {}) {
        next = std::move(answer);
        dlg->m_pStartButton->click();
    }

    QRgb Pixel(int x, int y) const { return dlg->m_view.FrameImage().pixel(x, y); }

    void ExpectState(const QString& start, bool startEnabled, const QString& pause,
                     bool pauseEnabled, bool timer) {
        EXPECT_EQ(dlg->m_pStartButton->text(), start);
        EXPECT_EQ(dlg->m_pStartButton->isEnabled(), startEnabled);
        EXPECT_EQ(dlg->m_pPauseButton->text(), pause);
        EXPECT_EQ(dlg->m_pPauseButton->isEnabled(), pauseEnabled);
        EXPECT_EQ(dlg->IsStepTimerRunning(), timer);
        EXPECT_EQ(dlg->windowTitle(), "Quorvel Ver. 3.1");
    }

    std::unique_ptr<CSimDlg> dlg;
    DialogAnswer next;
    int dialogRuns = 0;
    int lastCanContinue = -1;
};

TEST_F(SimDlgTest, IdleWindowHasNoRunAndIgnoresTheMouse) {
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_FALSE(dlg->m_bStarted);
    EXPECT_FALSE(dlg->m_sim.HasGrid());
    const QImage before = dlg->m_view.FrameImage().copy();
    dlg->OnMouseMove(QPoint(300, 200));
    dlg->OnLButtonUp(QPoint(300, 200));
    EXPECT_EQ(dlg->m_view.FrameImage(), before);
    // Before the first start the inside of the vessel stays black.
    EXPECT_EQ(Pixel(300, 200), qRgb(0, 0, 0));
}

TEST_F(SimDlgTest, RunStateTableThroughButtonsAndDialogResults) {
    Start({false, {}});
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_FALSE(dlg->m_bStarted);
    EXPECT_EQ(lastCanContinue, 0);

    Start();
    ExpectState(kStop, true, kPause, true, true);
    EXPECT_TRUE(dlg->m_bStarted);
    EXPECT_EQ(dlg->m_view.m_nSelCol, 10);
    EXPECT_EQ(dlg->m_view.m_nSelRow, 10);
    EXPECT_EQ(Pixel(300, 195), qRgb(36, 36, 255));  // cells drawn: 15 C

    dlg->m_pPauseButton->click();
    ExpectState(kStop, false, kResume, true, false);
    ResizeClient(500, 400);
    ExpectState(kStop, false, kResume, true, false);

    dlg->m_pPauseButton->click();
    ExpectState(kStop, true, kPause, true, true);

    dlg->m_pStartButton->click();
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_TRUE(dlg->m_bCanContinue);
    ResizeClient(640, 480);
    ExpectState(kStart, true, kPause, false, false);

    // Stopped, dialog cancelled: still stopped.
    Start({false, {}});
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_EQ(lastCanContinue, 1);
}

TEST_F(SimDlgTest, ContinuedRunKeepsGridSizeTemperatureAndHistoryTakingNineValues) {
    Start();
    for (int i = 0; i < 300; ++i) {
        dlg->Step();
    }
    dlg->m_pStartButton->click();  // stop
    const CCell kept = dlg->m_sim.Cell(19, 10);
    const HistorySample sample = dlg->m_pHistoryDlg->Recorder().Sample(99);
    // The vessel and its cells; the flames below are redrawn by every start command and
    // clear part of the info panel.
    const QRect vessel(0, 0, 640, 356);
    const QImage picture = dlg->m_view.FrameImage().copy(vessel);

    Start({true, [](CSettingsDlg& d) {
               EXPECT_TRUE(d.m_chkContinue->isChecked());
               SetEdit(d, 1000, "50");  // ignored
               SetEdit(d, 1029, "5");   // ignored
               SetEdit(d, 1030, "6");   // ignored
               SetEdit(d, 1022, "7");
               SetEdit(d, 1032, "3");
               SetEdit(d, 1015, "900");
               SetEdit(d, 1001, "0.25");
           }});
    EXPECT_EQ(dlg->m_sim.Columns(), 20);
    EXPECT_EQ(dlg->m_sim.Rows(), 20);
    EXPECT_EQ(dlg->m_sim.InitialTemperature(), 15);
    EXPECT_EQ(dlg->m_sim.Cell(19, 10), kept);
    EXPECT_EQ(dlg->m_sim.StepInterval(), 7);
    EXPECT_EQ(SimulationProbe::FlamePower(dlg->m_sim)[FLAME_STRONG], 900);
    EXPECT_EQ(SimulationProbe::ConvectionRatio(dlg->m_sim), 0.25);
    EXPECT_EQ(dlg->m_pHistoryDlg->HistoryInterval(), 3);
    EXPECT_EQ(dlg->m_pHistoryDlg->Recorder().Sample(99).temperature, sample.temperature);
    EXPECT_EQ(dlg->m_view.FrameImage().copy(vessel), picture);  // the view is not redrawn
    ExpectState(kStop, true, kPause, true, true);
}

TEST_F(SimDlgTest, UntickedContinueStartsAFreshGridOfTheNewSize) {
    Start();
    dlg->m_pStartButton->click();
    Start({true, [](CSettingsDlg& d) {
               d.m_chkContinue->click();
               SetEdit(d, 1029, "3");
               SetEdit(d, 1030, "3");
               SetEdit(d, 1000, "40");
           }});
    EXPECT_EQ(dlg->m_sim.Columns(), 3);
    EXPECT_EQ(dlg->m_sim.Cell(2, 2), CCell(40, 40, PHASE_LIQUID));
    EXPECT_EQ(dlg->m_view.m_nSelCol, 1);
    EXPECT_EQ(dlg->m_view.m_nSelRow, 1);
    EXPECT_EQ(dlg->m_pHistoryDlg->Recorder().Sample(0).temperature, 40);
}

// A continued run heats the bottom row with the powers just set, also of a level in use.
TEST_F(SimDlgTest, ContinuedRunRecomputesTheBurnerHeatWithTheNewPowers) {
    Start();  // ends weak 70, centre medium 140
    dlg->m_pStartButton->click();
    Start({true, [](CSettingsDlg& d) {
               SetEdit(d, 1016, "400");  // medium, the centre's level
               SetEdit(d, 1017, "0");    // weak, the ends' level
           }});
    // The row "off 0 / strong 400" of the burner profile for 20 columns.
    const int expected[] = {59, 117, 173, 225, 272, 312, 346, 372, 389, 398};
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(dlg->m_sim.BurnerHeat(c), expected[c]) << c;
        EXPECT_EQ(dlg->m_sim.BurnerHeat(19 - c), expected[c]) << 19 - c;
    }
    const double before = dlg->m_sim.Cell(19, 9).m_dHeat;
    SimulationProbe::StepCol(dlg->m_sim) = 9;
    dlg->m_sim.HeatBottomCell();
    EXPECT_EQ(dlg->m_sim.Cell(19, 9).m_dHeat, before + 398);
}

struct RectCase {
    int cx;
    int cy;
    std::array<int, 7> edges;
    int top;
    int bottom;
};

class LayoutTest : public SimDlgTest, public ::testing::WithParamInterface<RectCase> {};

TEST_P(LayoutTest, ButtonsCoverTheirRowForTheClientSize) {
    const RectCase c = GetParam();
    ResizeClient(c.cx, c.cy);
    QPushButton* const order[] = {dlg->m_pHistoryButton, dlg->m_pPauseButton, dlg->m_pCentreButton,
                                  dlg->m_pEndsButton,    dlg->m_pStartButton, dlg->m_pCloseButton};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(order[i]->geometry(),
                  QRect(QPoint(c.edges[i], c.top), QPoint(c.edges[i + 1] - 1, c.bottom - 1)))
            << "button " << i;
    }
    EXPECT_EQ(dlg->m_view.ViewRect().size(), QSize(c.cx, c.cy == 400 ? 365 : 88));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LayoutTest,
    ::testing::Values(RectCase{400, 400, {5, 51, 119, 199, 279, 347, 395}, 368, 398},
                      RectCase{151, 101, {5, 16, 41, 72, 102, 127, 146}, 91, 99}));

TEST_F(SimDlgTest, TooSmallSizesChangeNothing) {
    ResizeClient(400, 400);
    const QRect closeRect = dlg->m_pCloseButton->geometry();
    const QRect view = dlg->m_view.ViewRect();
    for (const QSize size : {QSize(150, 300), QSize(300, 100)}) {
        dlg->OnSize(size.width(), size.height());  // smaller than the window can be made
        EXPECT_EQ(dlg->m_pCloseButton->geometry(), closeRect);
        EXPECT_EQ(dlg->m_view.ViewRect(), view);
        EXPECT_EQ(dlg->m_rcClient, QRect(0, 0, 400, 400));
    }
}

TEST_F(SimDlgTest, MinimisingKeepsTheFrameAndRestoringRebuildsIt) {
    Start();
    dlg->m_pStartButton->click();  // stopped: the picture stays still
    const QImage picture = dlg->m_view.FrameImage().copy();
    const QRect closeRect = dlg->m_pCloseButton->geometry();
    dlg->showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(dlg->isMinimized());
    dlg->OnSize(300, 200);  // a size message while minimised changes nothing
    EXPECT_EQ(dlg->m_view.ViewRect().size(), QSize(640, 439));
    EXPECT_EQ(dlg->m_pCloseButton->geometry(), closeRect);
    EXPECT_EQ(dlg->m_view.FrameImage(), picture);
    dlg->showNormal();
    QCoreApplication::processEvents();
    // A new frame, fully rebuilt: the cells are drawn again, the info panel is gone.
    EXPECT_EQ(dlg->m_view.ViewRect().size(), QSize(640, 439));
    EXPECT_EQ(dlg->m_view.FrameImage().copy(0, 0, 640, 356), picture.copy(0, 0, 640, 356));
}

TEST_F(SimDlgTest, BurnerButtonsCycleAndTakeEffectOnlyAfterTheFirstStart) {
    dlg->m_pEndsButton->click();
    EXPECT_EQ(dlg->m_pEndsButton->text(), QString::fromUtf8("強火(両端)"));
    EXPECT_EQ(dlg->m_sim.EndsFlame(), FLAME_OFF);
    EXPECT_EQ(SimulationProbe::BurnerHeat(dlg->m_sim), nullptr);
    // The weak end flames at anchors 108 and 432 are gone; the centre flames stay.
    EXPECT_EQ(Pixel(123, 430), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(231, 430), qRgb(255, 0, 0));

    Start();
    EXPECT_EQ(dlg->m_sim.BurnerHeat(0), 20);      // off / medium
    EXPECT_EQ(Pixel(224, 400), qRgb(255, 0, 0));  // inside the medium centre flame
    dlg->m_pCentreButton->click();
    EXPECT_EQ(dlg->m_pCentreButton->text(), QString::fromUtf8("消火(中央)"));
    EXPECT_EQ(dlg->m_sim.CentreFlame(), FLAME_WEAK);
    EXPECT_EQ(dlg->m_sim.BurnerHeat(9), 69);    // off / weak
    EXPECT_EQ(Pixel(224, 400), qRgb(0, 0, 0));  // the narrower weak flame
    EXPECT_EQ(Pixel(231, 430), qRgb(255, 0, 0));
}

TEST_F(SimDlgTest, HistoryButtonTogglesAndRecordingGoesOnWhileHidden) {
    ASSERT_FALSE(dlg->m_pHistoryDlg->isVisible());
    dlg->m_pHistoryButton->click();
    EXPECT_TRUE(dlg->m_pHistoryDlg->isVisible());
    dlg->m_pHistoryButton->click();
    EXPECT_FALSE(dlg->m_pHistoryDlg->isVisible());
    dlg->m_pHistoryButton->click();
    dlg->m_pHistoryDlg->close();  // its own close box only hides it
    EXPECT_FALSE(dlg->m_pHistoryDlg->isVisible());
    dlg->m_pHistoryButton->click();
    EXPECT_TRUE(dlg->m_pHistoryDlg->isVisible());
    dlg->m_pHistoryButton->click();
    Start({true, [](CSettingsDlg& d) { SetEdit(d, 1032, "-1"); }});
    dlg->Step();
    dlg->Step();
    EXPECT_EQ(dlg->m_pHistoryDlg->Recorder().Sample(99).heat, 63);
}

TEST_F(SimDlgTest, InspectionMarkersAndPanelFollowTheMouse) {
    Start();
    dlg->OnMouseMove(QPoint(300, 200));  // cell (10, 10): (285, 185, 312, 201)
    EXPECT_EQ(Pixel(285, 185), qRgb(255, 255, 0));
    EXPECT_FALSE(dlg->m_view.m_bShowSelected);
    dlg->OnLButtonUp(QPoint(40, 30));  // cell (0, 0)
    EXPECT_EQ(Pixel(15, 25), qRgb(0, 0, 0));
    EXPECT_EQ(dlg->m_view.m_nSelCol, 0);
    dlg->OnMouseMove(QPoint(5, 5));  // off the grid: the panel follows the selection
    EXPECT_TRUE(dlg->m_view.m_bShowSelected);
    EXPECT_NE(Pixel(285, 185), qRgb(255, 255, 0));
}

struct MouseCase {
    QPointF position;
    bool release;
    std::optional<CellHit> hit;
};

class MousePixelTest : public SimDlgTest, public ::testing::WithParamInterface<MouseCase> {};

// A mouse position between pixels (a scale factor other than 1) counts for the pixel it
// lies in: 14.6 is on the wall left of cell (0, 0), 41.6 still in column 0, 554.7 still in
// column 19. Cells are 27 x 16 from (15, 25).
TEST_P(MousePixelTest, PositionCountsForThePixelItLiesIn) {
    const MouseCase c = GetParam();
    Start();
    dlg->OnMouseMove(QPoint(300, 200));  // hovering cell (10, 10), the selection
    const QEvent::Type type = c.release ? QEvent::MouseButtonRelease : QEvent::MouseMove;
    QMouseEvent event(type, c.position, dlg->mapToGlobal(c.position),
                      c.release ? Qt::LeftButton : Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &event);
    const CVesselView& view = dlg->m_view;
    if (c.release) {
        EXPECT_EQ((CellHit{view.m_nSelCol, view.m_nSelRow}), c.hit.value_or(CellHit{10, 10}));
    } else if (c.hit) {
        EXPECT_FALSE(view.m_bShowSelected);
        EXPECT_EQ((CellHit{view.m_nHoverCol, view.m_nHoverRow}), *c.hit);
    } else {
        EXPECT_TRUE(view.m_bShowSelected);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, MousePixelTest,
                         ::testing::Values(MouseCase{{14.6, 30.0}, false, std::nullopt},
                                           MouseCase{{14.6, 30.0}, true, std::nullopt},
                                           MouseCase{{41.6, 40.6}, false, CellHit{0, 0}},
                                           MouseCase{{41.6, 40.6}, true, CellHit{0, 0}},
                                           MouseCase{{554.7, 344.9}, false, CellHit{19, 19}},
                                           MouseCase{{20.0, 24.5}, false, std::nullopt}));

TEST_F(SimDlgTest, WindowsCannotBeMadeSmallerThanTheirLayoutTakes) {
    dlg->m_pHistoryButton->click();
    QCoreApplication::processEvents();  // shown and placed before anyone can resize it
    for (QWidget* window :
         {static_cast<QWidget*>(dlg.get()), static_cast<QWidget*>(dlg->m_pHistoryDlg.get())}) {
        window->resize(40, 30);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->size(), QSize(151, 101));
    EXPECT_EQ(dlg->m_rcClient, QRect(0, 0, 151, 101));
    EXPECT_EQ(dlg->m_pHistoryDlg->size(), QSize(100, 100));
    EXPECT_EQ(dlg->m_pHistoryDlg->GraphRect(), QRect(0, 0, 100, 78));
}

TEST_F(SimDlgTest, AboutBoxHoldsTheTimerOnlyWhileItIsOpen) {
    Start();
    bool timerWhileOpen = true;
    dlg->m_runAboutBox = [&](QDialog& about) {
        timerWhileOpen = dlg->IsStepTimerRunning();
        about.show();
        QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_EQ(about.result(), QDialog::Accepted);
    };
    dlg->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_FALSE(timerWhileOpen);
    EXPECT_TRUE(dlg->IsStepTimerRunning());

    dlg->m_pPauseButton->click();
    dlg->OnSysCommand(IDM_ABOUTBOX);
    EXPECT_FALSE(dlg->IsStepTimerRunning());
    EXPECT_EQ(dlg->m_pPauseButton->text(), kResume);
}

TEST(AboutBox, ShowsItsLinesUnclippedInsideTheBox) {
    CAboutDlg about;
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 4);  // the icon and three lines
    QStringList texts;
    for (const QLabel* label : labels) {
        EXPECT_TRUE(about.rect().contains(label->geometry())) << label->text().toStdString();
        if (!label->text().isEmpty()) {
            texts << label->text();
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            EXPECT_LE(label->fontMetrics().height(), label->height())
                << label->text().toStdString();
        }
    }
    EXPECT_TRUE(texts.contains("Quorvel Ver. 3.1"));
    EXPECT_TRUE(about.windowFlags() & Qt::FramelessWindowHint);
}

TEST(AboutBox, EnterAndEscapeCloseIt) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QDialog::DialogCode result;
    } cases[] = {{Qt::Key_Return, Qt::NoModifier, QDialog::Accepted},
                 {Qt::Key_Enter, Qt::KeypadModifier, QDialog::Accepted},
                 {Qt::Key_Escape, Qt::NoModifier, QDialog::Rejected}};
    for (const auto& c : cases) {
        CAboutDlg about;
        about.show();
        QTest::keyClick(&about, c.key, c.modifiers);
        EXPECT_FALSE(about.isVisible()) << c.key;
        EXPECT_EQ(about.result(), c.result) << c.key;
    }
    CAboutDlg about;
    about.show();
    QTest::keyClick(&about, Qt::Key_A);
    EXPECT_TRUE(about.isVisible()) << "other keys leave it open";
}

TEST_F(SimDlgTest, RectanglesAreCapturedOnlyWhenAskedAndNotByEscape) {
    const ScreenRect stored{1, 2, 3, 4};
    dlg->m_rcMainWnd = stored;
    dlg->OnCloseButton();
    EXPECT_EQ(dlg->m_rcMainWnd, stored);  // option off: left as read

    dlg->show();
    dlg->OnSysCommand(IDM_SAVESTATE);
    EXPECT_TRUE(dlg->m_bSaveWindowPos);
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    EXPECT_EQ(dlg->m_rcMainWnd, stored);  // Escape never captures

    dlg->show();
    dlg->close();  // the close box
    EXPECT_EQ(dlg->m_rcMainWnd.Width(), dlg->frameGeometry().width());
    EXPECT_EQ(dlg->m_rcHistoryWnd.Width(), dlg->m_pHistoryDlg->frameGeometry().width());

    dlg->OnSysCommand(IDM_SAVESTATE);
    EXPECT_FALSE(dlg->m_bSaveWindowPos);
}

TEST(SimDlgPlacement, UnreachableStoredRectanglesAreReplacedByTheDefaults) {
    CSimDlg dlg;
    dlg.m_rcMainWnd = {-50000, -50000, -49000, -49000};
    dlg.m_rcHistoryWnd = {10, 10, 10, 300};  // no area
    dlg.DoModalWithoutLoop();
    EXPECT_EQ(dlg.m_rcMainWnd, (ScreenRect{339, 108, 783, 589}));
    EXPECT_EQ(dlg.m_rcHistoryWnd, (ScreenRect{0, 0, 337, 212}));
}

TEST(SimDlgModality, MainWindowBlocksNoOtherWindowWhileItRuns) {
    CSimDlg dlg;
    dlg.m_rcMainWnd = {0, 0, 640, 480};
    dlg.m_rcHistoryWnd = {0, 0, 337, 212};
    bool ran = false;
    QTimer::singleShot(0, &dlg, [&] {
        ran = true;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_FALSE(dlg.isModal());
        dlg.OnCloseButton();
    });
    dlg.DoModal();
    EXPECT_TRUE(ran);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(SimDlgTest, ContextMenuCheckMarkFollowsTheOption) {
    // Opens the context menu, reads the check mark of "終了時の状態を保存" and either picks
    // the item or dismisses the menu.
    const auto openMenu = [this](bool pick) {
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* save = menu->actions().value(0);
            ASSERT_NE(save, nullptr);
            EXPECT_EQ(save->text(), QString::fromUtf8("終了時の状態を保存"));
            checked = save->isChecked();
            if (pick) {
                menu->setActiveAction(save);
                QTest::keyClick(menu, Qt::Key_Return);
            } else {
                QTest::keyClick(menu, Qt::Key_Escape);
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                dlg->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(dlg.get(), &event);
        return checked;
    };
    EXPECT_FALSE(openMenu(true));  // off as read: no mark; picking switches it on
    EXPECT_TRUE(dlg->m_bSaveWindowPos);
    EXPECT_TRUE(openMenu(false));  // dismissing changes nothing
    EXPECT_TRUE(openMenu(true));
    EXPECT_FALSE(dlg->m_bSaveWindowPos);
    EXPECT_FALSE(openMenu(false));
    dlg->OnSysCommand(IDM_SAVESTATE);  // switched from elsewhere, the mark follows
    EXPECT_TRUE(openMenu(false));
}

struct FatalCase {
    int occurrence;  // of window creation
    const char* text;
    int code;
};

class FatalSiteTest : public ::testing::TestWithParam<FatalCase> {};

struct FatalReport : std::runtime_error {
    FatalReport(const std::string& text, int code) : std::runtime_error(text), code(code) {}
    int code;
};

TEST_P(FatalSiteTest, WindowCreationFailureReportsItsMessageAndCode) {
    const FatalCase c = GetParam();
    FatalHandler previous =
        SetFatalHandler([](const std::string& text, int code) { throw FatalReport(text, code); });
    FailureSeam::Arm(ResourceStep::CreateWindow, c.occurrence);
    try {
        CSimDlg dlg;
        dlg.DoModalWithoutLoop();
        ADD_FAILURE() << "no fatal error";
    } catch (const FatalReport& report) {
        EXPECT_STREQ(report.what(), c.text);
        EXPECT_EQ(report.code, c.code);
    }
    FailureSeam::Disarm();
    SetFatalHandler(previous);
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
            SetFatalHandler([](const std::string& text, int) {
                // Acknowledge the box as a user would, as soon as it is shown.
                QTimer::singleShot(0, [] {
                    if (QWidget* box = QApplication::activeModalWidget()) {
                        box->close();
                    }
                });
                ShowFatalMessage(nullptr, QString::fromStdString(text));
            });
            FailureSeam::Arm(ResourceStep::CreateWindow, 7);
            CSimDlg dlg;
            dlg.DoModalWithoutLoop();
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
                dlg.m_runSettingsDialog = [](CSettingsDlg& dialog) {
                    dialog.show();
                    QCoreApplication::processEvents();
                    dialog.accept();
                    return dialog.result();
                };
                dlg.DoModalWithoutLoop();
                dlg.m_pStartButton->click();
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

}  // namespace

namespace {

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
        dlg.OnCloseButton();
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
        dlg.OnCloseButton();
    });
    EXPECT_EQ(written, stored);
}

TEST_F(ProgramProfileTest, OptionSwitchedOnCapturesBothWindowsEvenTheHiddenHistory) {
    QRect mainFrame;
    const ProfileValues written = Run([&](CSimDlg& dlg) {
        dlg.OnSysCommand(IDM_SAVESTATE);
        dlg.move(20, 30);
        dlg.resize(500, 400);
        dlg.m_pHistoryDlg->move(40, 50);
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

TEST_F(ProgramProfileTest, EscapeNeverCapturesAndTheOptionCanBeSwitchedOff) {
    ProfileValues stored;
    stored.saveWindowPos = true;
    WriteProfile(Path(), stored);
    const ProfileValues written = Run([](CSimDlg& dlg) {
        dlg.move(20, 30);
        QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    EXPECT_EQ(written, stored);

    const ProfileValues switchedOff = Run([](CSimDlg& dlg) {
        dlg.OnSysCommand(IDM_SAVESTATE);
        dlg.move(20, 30);
        dlg.OnCloseButton();
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
        EXPECT_LE(dlg.m_pHistoryDlg->width(), 800);
        dlg.OnCloseButton();
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
        dlg.OnCloseButton();
    });
    EXPECT_TRUE(ReadProfile(Path()).saveWindowPos);
    EXPECT_FALSE(ReadProfile(other.filePath("quorvel.ini")).saveWindowPos);
}

}  // namespace

namespace {

TEST_F(SimDlgTest, HistoryWindowTakesTheSamplesTheHeadlessRunnerWrites) {
    constexpr int kTicks = 5000;
    dlg->m_sim.SetSeed(2024);
    Start({true, [](CSettingsDlg& d) { SetEdit(d, 1032, "20"); }});
    for (int i = 0; i < kTicks; ++i) {
        dlg->Step();
    }

    QTemporaryDir dir;
    BatchOptions options;
    options.ticks = kTicks;
    options.seed = 2024;
    options.settings.historyInterval = 20;
    options.historyOut = dir.filePath("h.csv").toStdString();
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunBatch(options, out, errors, false), 0) << errors.str();

    std::ifstream csv(options.historyOut);
    std::vector<HistorySample> written;
    std::string line;
    std::getline(csv, line);  // header
    while (std::getline(csv, line)) {
        long long tick = 0;
        HistorySample sample;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld,%d,%d", &tick, &sample.temperature, &sample.heat),
                  3);
        written.push_back(sample);
    }
    ASSERT_EQ(written.size(), static_cast<std::size_t>(kTicks / 22));
    const CHistoryRecorder& recorder = dlg->m_pHistoryDlg->Recorder();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        const HistorySample& expected = written[written.size() - HISTORY_SAMPLE_COUNT + i];
        EXPECT_EQ(recorder.Sample(i).temperature, expected.temperature) << i;
        EXPECT_EQ(recorder.Sample(i).heat, expected.heat) << i;
    }
}

}  // namespace
