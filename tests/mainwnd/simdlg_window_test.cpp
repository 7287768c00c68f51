// The main window: run control through its buttons and the settings dialog, layout and
// resizing, the burner and history buttons, inspection with the mouse.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <array>
#include <optional>

#include "SimDlgFixture.h"

namespace {

TEST_F(SimDlgTest, IdleWindowHasNoRunAndIgnoresTheMouse) {
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_FALSE(dlg->Control().HasStarted());
    EXPECT_FALSE(dlg->Simulation().HasGrid());
    const QImage before = FrameImageOf(dlg->View().Frame()).copy();
    MoveMouse(*dlg, QPoint(300, 200));
    ReleaseLeftButton(*dlg, QPoint(300, 200));
    EXPECT_EQ(FrameImageOf(dlg->View().Frame()), before);
    // Before the first start the inside of the vessel stays black.
    EXPECT_EQ(Pixel(300, 200), qRgb(0, 0, 0));
}

TEST_F(SimDlgTest, RunStateTableThroughButtonsAndDialogResults) {
    Start({false, {}});
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_FALSE(dlg->Control().HasStarted());
    EXPECT_EQ(lastCanContinue, 0);

    Start();
    ExpectState(kStop, true, kPause, true, true);
    EXPECT_TRUE(dlg->Control().HasStarted());
    EXPECT_EQ(dlg->View().Selection(), (CellHit{10, 10}));
    EXPECT_EQ(Pixel(300, 195), qRgb(36, 36, 255));  // cells drawn: 15 C

    dlg->PauseButton()->click();
    ExpectState(kStop, false, kResume, true, false);
    ResizeClient(500, 400);
    ExpectState(kStop, false, kResume, true, false);

    dlg->PauseButton()->click();
    ExpectState(kStop, true, kPause, true, true);

    dlg->StartButton()->click();
    ExpectState(kStart, true, kPause, false, false);
    EXPECT_TRUE(dlg->Control().CanContinue());
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
        dlg->Show(dlg->Session().Timer());
    }
    dlg->StartButton()->click();  // stop
    const CCell kept = dlg->Simulation().Cell(19, 10);
    const HistorySample sample = dlg->Control().Recorder().Sample(99);
    // The vessel and its cells; the flames below are redrawn by every start command and
    // clear part of the info panel.
    const QRect vessel(0, 0, 640, 356);
    const QImage picture = FrameImageOf(dlg->View().Frame()).copy(vessel);

    Start({true, [](CSettingsDlg& d) {
               EXPECT_TRUE(d.m_chkContinue->isChecked());
               SetEdit(d, IDC_INITIAL_TEMPERATURE, "50");  // ignored
               SetEdit(d, IDC_COLUMNS, "5");               // ignored
               SetEdit(d, IDC_ROWS, "6");                  // ignored
               SetEdit(d, IDC_STEP_INTERVAL, "7");
               SetEdit(d, IDC_HISTORY_INTERVAL, "3");
               SetEdit(d, IDC_STRONG_FLAME_POWER, "900");
               SetEdit(d, IDC_CONVECTION_RATIO, "0.25");
           }});
    EXPECT_EQ(dlg->Simulation().Columns(), 20);
    EXPECT_EQ(dlg->Simulation().Rows(), 20);
    EXPECT_EQ(dlg->Simulation().InitialTemperature(), 15);
    EXPECT_EQ(dlg->Simulation().Cell(19, 10), kept);
    EXPECT_EQ(dlg->Simulation().StepInterval(), 7);
    EXPECT_EQ(dlg->Simulation().CurrentSettings(0).strongFlamePower, 900);
    EXPECT_EQ(dlg->Simulation().CurrentSettings(0).convectionRatio, 0.25);
    EXPECT_EQ(dlg->Control().HistoryInterval(), 3);
    EXPECT_EQ(dlg->Control().Recorder().Sample(99).temperature, sample.temperature);
    EXPECT_EQ(FrameImageOf(dlg->View().Frame()).copy(vessel), picture);  // the view is not redrawn
    ExpectState(kStop, true, kPause, true, true);
}

TEST_F(SimDlgTest, UntickedContinueStartsAFreshGridOfTheNewSize) {
    Start();
    dlg->StartButton()->click();
    Start({true, [](CSettingsDlg& d) {
               d.m_chkContinue->click();
               SetEdit(d, IDC_COLUMNS, "3");
               SetEdit(d, IDC_ROWS, "3");
               SetEdit(d, IDC_INITIAL_TEMPERATURE, "40");
           }});
    EXPECT_EQ(dlg->Simulation().Columns(), 3);
    EXPECT_EQ(dlg->Simulation().Cell(2, 2), CCell(40, 40, PHASE_LIQUID));
    EXPECT_EQ(dlg->View().Selection(), (CellHit{1, 1}));
    EXPECT_EQ(dlg->Control().Recorder().Sample(0).temperature, 40);
}

// A continued run heats the bottom row with the powers just set, also of a level in use.
TEST_F(SimDlgTest, ContinuedRunRecomputesTheBurnerHeatWithTheNewPowers) {
    Start();  // ends weak 70, centre medium 140
    dlg->StartButton()->click();
    Start({true, [](CSettingsDlg& d) {
               SetEdit(d, IDC_MEDIUM_FLAME_POWER, "400");  // medium, the centre's level
               SetEdit(d, IDC_WEAK_FLAME_POWER, "0");      // weak, the ends' level
           }});
    // The row "off 0 / strong 400" of the burner profile for 20 columns.
    const int expected[] = {59, 117, 173, 225, 272, 312, 346, 372, 389, 398};
    for (int c = 0; c < 10; ++c) {
        EXPECT_EQ(dlg->Simulation().BurnerHeat(c), expected[c]) << c;
        EXPECT_EQ(dlg->Simulation().BurnerHeat(19 - c), expected[c]) << 19 - c;
    }
    const double before = dlg->Simulation().Cell(19, 9).m_dHeat;
    dlg->Simulation().StepCell(9, 19);  // stages the heated cell before conducting it
    EXPECT_EQ(dlg->Simulation().StagedCell(19, 9).m_dHeat, before + 398);
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
    QPushButton* const order[] = {dlg->HistoryButton(), dlg->PauseButton(), dlg->CentreButton(),
                                  dlg->EndsButton(),    dlg->StartButton(), dlg->CloseButton()};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(order[i]->geometry(),
                  QRect(QPoint(c.edges[i], c.top), QPoint(c.edges[i + 1] - 1, c.bottom - 1)))
            << "button " << i;
    }
    EXPECT_EQ(dlg->View().ViewRect(), (PixelRect{0, 0, c.cx, c.cy == 400 ? 365 : 88}));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LayoutTest,
    ::testing::Values(RectCase{400, 400, {5, 51, 119, 199, 279, 347, 395}, 368, 398},
                      RectCase{151, 101, {5, 16, 41, 72, 102, 127, 146}, 91, 99}));

TEST_F(SimDlgTest, TooSmallSizesChangeNothing) {
    ResizeClient(400, 400);
    const QRect closeRect = dlg->CloseButton()->geometry();
    const PixelRect view = dlg->View().ViewRect();
    for (const QSize size : {QSize(150, 300), QSize(300, 100)}) {
        dlg->OnSize(size.width(), size.height());  // smaller than the window can be made
        EXPECT_EQ(dlg->CloseButton()->geometry(), closeRect);
        EXPECT_EQ(dlg->View().ViewRect(), view);
        EXPECT_EQ(dlg->ClientRect(), QRect(0, 0, 400, 400));
    }
}

TEST_F(SimDlgTest, MinimisingKeepsTheFrameAndRestoringRebuildsIt) {
    Start();
    dlg->StartButton()->click();  // stopped: the picture stays still
    const QImage picture = FrameImageOf(dlg->View().Frame()).copy();
    const QRect closeRect = dlg->CloseButton()->geometry();
    dlg->showMinimized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(dlg->isMinimized());
    dlg->OnSize(300, 200);  // a size message while minimised changes nothing
    EXPECT_EQ(dlg->View().ViewRect(), (PixelRect{0, 0, 640, 439}));
    EXPECT_EQ(dlg->CloseButton()->geometry(), closeRect);
    EXPECT_EQ(FrameImageOf(dlg->View().Frame()), picture);
    dlg->showNormal();
    QCoreApplication::processEvents();
    // A new frame, fully rebuilt: the cells are drawn again, the info panel is gone.
    EXPECT_EQ(dlg->View().ViewRect(), (PixelRect{0, 0, 640, 439}));
    EXPECT_EQ(FrameImageOf(dlg->View().Frame()).copy(0, 0, 640, 356), picture.copy(0, 0, 640, 356));
}

TEST_F(SimDlgTest, BurnerButtonsCycleAndTakeEffectOnlyAfterTheFirstStart) {
    dlg->EndsButton()->click();
    EXPECT_EQ(dlg->EndsButton()->text(), QString::fromUtf8("強火(両端)"));
    EXPECT_EQ(dlg->Simulation().EndsFlame(), FLAME_OFF);
    EXPECT_FALSE(dlg->Simulation().HasGrid());
    // The weak end flames at anchors 108 and 432 are gone; the centre flames stay.
    EXPECT_EQ(Pixel(123, 430), qRgb(0, 0, 0));
    EXPECT_EQ(Pixel(231, 430), qRgb(255, 0, 0));

    Start();
    EXPECT_EQ(dlg->Simulation().BurnerHeat(0), 20);  // off / medium
    EXPECT_EQ(Pixel(224, 400), qRgb(255, 0, 0));     // inside the medium centre flame
    dlg->CentreButton()->click();
    EXPECT_EQ(dlg->CentreButton()->text(), QString::fromUtf8("消火(中央)"));
    EXPECT_EQ(dlg->Simulation().CentreFlame(), FLAME_WEAK);
    EXPECT_EQ(dlg->Simulation().BurnerHeat(9), 69);  // off / weak
    EXPECT_EQ(Pixel(224, 400), qRgb(0, 0, 0));       // the narrower weak flame
    EXPECT_EQ(Pixel(231, 430), qRgb(255, 0, 0));
}

TEST_F(SimDlgTest, HistoryButtonTogglesAndRecordingGoesOnWhileHidden) {
    ASSERT_FALSE(dlg->HistoryDlg()->isVisible());
    dlg->HistoryButton()->click();
    EXPECT_TRUE(dlg->HistoryDlg()->isVisible());
    dlg->HistoryButton()->click();
    EXPECT_FALSE(dlg->HistoryDlg()->isVisible());
    dlg->HistoryButton()->click();
    dlg->HistoryDlg()->close();  // its own close box only hides it
    EXPECT_FALSE(dlg->HistoryDlg()->isVisible());
    dlg->HistoryButton()->click();
    EXPECT_TRUE(dlg->HistoryDlg()->isVisible());
    dlg->HistoryButton()->click();
    Start({true, [](CSettingsDlg& d) { SetEdit(d, IDC_HISTORY_INTERVAL, "-1"); }});
    dlg->Show(dlg->Session().Timer());
    dlg->Show(dlg->Session().Timer());
    EXPECT_EQ(dlg->Control().Recorder().Sample(99).heat, 63);
}

TEST_F(SimDlgTest, InspectionMarkersAndPanelFollowTheMouse) {
    Start();
    MoveMouse(*dlg, QPoint(300, 200));  // cell (10, 10): (285, 185, 312, 201)
    EXPECT_EQ(Pixel(285, 185), qRgb(255, 255, 0));
    EXPECT_FALSE(dlg->View().ShowsSelected());
    ReleaseLeftButton(*dlg, QPoint(40, 30));  // cell (0, 0)
    EXPECT_EQ(Pixel(15, 25), qRgb(0, 0, 0));
    EXPECT_EQ(dlg->View().Selection().col, 0);
    MoveMouse(*dlg, QPoint(5, 5));  // off the grid: the panel follows the selection
    EXPECT_TRUE(dlg->View().ShowsSelected());
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
    MoveMouse(*dlg, QPoint(300, 200));  // hovering cell (10, 10), the selection
    const QEvent::Type type = c.release ? QEvent::MouseButtonRelease : QEvent::MouseMove;
    QMouseEvent event(type, c.position, dlg->mapToGlobal(c.position),
                      c.release ? Qt::LeftButton : Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &event);
    const CVesselView& view = dlg->View();
    if (c.release) {
        EXPECT_EQ((CellHit{view.Selection()}), c.hit.value_or(CellHit{10, 10}));
    } else if (c.hit) {
        EXPECT_FALSE(view.ShowsSelected());
        EXPECT_EQ((CellHit{view.Hover()}), *c.hit);
    } else {
        EXPECT_TRUE(view.ShowsSelected());
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
    dlg->HistoryButton()->click();
    QCoreApplication::processEvents();  // shown and placed before anyone can resize it
    for (QWidget* window :
         {static_cast<QWidget*>(dlg.get()), static_cast<QWidget*>(dlg->HistoryDlg())}) {
        window->resize(40, 30);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg->size(), QSize(151, 101));
    EXPECT_EQ(dlg->ClientRect(), QRect(0, 0, 151, 101));
    EXPECT_EQ(dlg->HistoryDlg()->size(), QSize(100, 100));
    EXPECT_EQ(dlg->HistoryDlg()->GraphRect(), QRect(0, 0, 100, 78));
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
    EXPECT_TRUE(dlg->Profile().saveWindowPos);
    EXPECT_TRUE(openMenu(false));  // dismissing changes nothing
    EXPECT_TRUE(openMenu(true));
    EXPECT_FALSE(dlg->Profile().saveWindowPos);
    EXPECT_FALSE(openMenu(false));
    dlg->OnSysCommand(IDM_SAVESTATE);  // switched from elsewhere, the mark follows
    EXPECT_TRUE(openMenu(false));
}

}  // namespace

namespace {

TEST_F(SimDlgTest, KeyboardInspectsTheVesselAfterTheButtons) {
    Start();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    QWidget* vessel = dlg->VesselFocus();
    dlg->CloseButton()->setFocus();
    QTest::keyClick(dlg->CloseButton(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), vessel);
    EXPECT_EQ(vessel->accessibleName(), QString::fromUtf8("容器"));
    // The focus mark: dotted white just inside the frame's top edge, over the frame only.
    const QImage shown = dlg->grab().toImage();
    int white = 0;
    for (int x = 1; x < 200; ++x) {
        white += shown.pixel(x, 1) == qRgb(255, 255, 255) ? 1 : 0;
    }
    EXPECT_GT(white, 50);
    EXPECT_NE(Pixel(2, 1), qRgb(255, 255, 255));

    QTest::keyClick(vessel, Qt::Key_Right);
    QTest::keyClick(vessel, Qt::Key_Right);
    QTest::keyClick(vessel, Qt::Key_Down);
    EXPECT_EQ(dlg->View().Cursor(), (CellHit{11, 11}));
    const PixelRect cursor = dlg->View().CellRect(11, 11);
    dlg->Simulation().SetCell(11, 11, CCell(90, 90, PHASE_LIQUID));
    const_cast<CVesselView&>(dlg->View()).DrawCell(dlg->Simulation().Cell(11, 11), 11, 11);
    EXPECT_EQ(dlg->grab().toImage().pixel(cursor.left, cursor.top),
              QColor::fromRgba(HOVER_COLOUR).rgb());
    EXPECT_TRUE(vessel->accessibleDescription().startsWith("Cell: (11,11)\nTemp.: "))
        << vessel->accessibleDescription().toStdString();
    QTest::keyClick(vessel, Qt::Key_Space);
    EXPECT_EQ(dlg->View().Selection(), (CellHit{11, 11}));
    // Escape leaves the cursor, and a second one does nothing: the window stays.
    QTest::keyClick(vessel, Qt::Key_Escape);
    EXPECT_FALSE(dlg->View().Cursor().has_value());
    QTest::keyClick(vessel, Qt::Key_Escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), vessel);

    // Every button has its caption as its name for screen readers.
    for (QPushButton* button : {dlg->StartButton(), dlg->PauseButton(), dlg->CloseButton()}) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(face->text(QAccessible::Name), button->text().remove('&'));
    }
}

}  // namespace
