// Every speed, and any mix of speeds and single steps, leaves the window exactly as the
// same number of ticks one per timer message does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "RunSpeed.h"
#include "SimDlgFixture.h"

namespace {

struct RunSetup {
    int columns = 20;
    int rows = 20;
    int initialTemperature = 15;
    int historyInterval = 100;
    bool hover = false;  // the cursor rests on a cell, so the panel shows that cell
};

// A shown, started and paused window with a fixed seed; the tests drive the timer
// messages themselves.
std::unique_ptr<CSimDlg> StartedWindow(const RunSetup& setup) {
    auto dlg = ShownWindow([setup](CSettingsDlg& dialog) {
        return Answer(
            dialog,
            {true, [&setup](CSettingsDlg& d) {
                 for (auto [id, value] :
                      {std::pair{IDC_COLUMNS, setup.columns}, std::pair{IDC_ROWS, setup.rows},
                       std::pair{IDC_INITIAL_TEMPERATURE, setup.initialTemperature},
                       std::pair{IDC_HISTORY_INTERVAL, setup.historyInterval}}) {
                     SetEdit(d, id, QString::number(value));
                 }
             }});
    });
    dlg->Simulation().SetSeed(4242);
    dlg->StartButton()->click();
    dlg->PauseButton()->click();
    if (setup.hover) {
        MoveMouse(*dlg, QPoint(100, 60));
    }
    return dlg;
}

// What the user can see or read after the run.
struct Outcome {
    long long ticks = 0;
    std::vector<CCell> grid;
    std::vector<int> samples;
    QString status[2];
    QImage frame;
    QImage graph;
};

Outcome Capture(CSimDlg& dlg) {
    Outcome o;
    o.ticks = dlg.Simulation().TicksRun();
    for (int row = 0; row < dlg.Simulation().Rows(); ++row) {
        for (int col = 0; col < dlg.Simulation().Columns(); ++col) {
            o.grid.push_back(dlg.Simulation().Cell(row, col));
        }
    }
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        o.samples.push_back(dlg.Control().Recorder().Sample(i).temperature);
        o.samples.push_back(dlg.Control().Recorder().Sample(i).heat);
    }
    for (int part = 0; part < 2; ++part) {
        o.status[part] = dlg.HistoryDlg()->StatusBar()->Text(part);
    }
    o.frame = FrameImageOf(dlg.View().Frame()).copy();
    o.graph = dlg.HistoryDlg()->GraphImage()->copy();
    return o;
}

void ExpectSame(const Outcome& got, const Outcome& want) {
    EXPECT_EQ(got.ticks, want.ticks);
    EXPECT_EQ(got.grid, want.grid);
    EXPECT_EQ(got.samples, want.samples);
    EXPECT_EQ(got.status[0], want.status[0]);
    EXPECT_EQ(got.status[1], want.status[1]);
    EXPECT_TRUE(got.frame == want.frame) << "frame pixels differ";
    EXPECT_TRUE(got.graph == want.graph) << "graph pixels differ";
}

// One part of a schedule: `messages` timer messages at `speed`, or (speed < 0) that many
// single steps.
struct Part {
    int speed;
    int messages;
};
constexpr int STEP = -1;

void RunSchedule(CSimDlg& dlg, const std::vector<Part>& schedule) {
    for (const Part& part : schedule) {
        if (part.speed != STEP) {
            dlg.Show(dlg.Session().SetSpeed(part.speed));
        }
        for (int i = 0; i < part.messages; ++i) {
            if (part.speed == STEP) {
                dlg.Show(dlg.Session().SingleStep());
            } else {
                dlg.Show(dlg.Session().Timer());
            }
        }
    }
}

struct SpeedCase {
    const char* name;
    RunSetup setup;
    std::vector<Part> schedule;
};

class EverySpeedTest : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(EverySpeedTest, GivesTheRunOfOneTickPerMessage) {
    const SpeedCase& c = GetParam();
    auto fast = StartedWindow(c.setup);
    RunSchedule(*fast, c.schedule);
    const Outcome got = Capture(*fast);
    fast.reset();

    auto normal = StartedWindow(c.setup);
    RunSchedule(*normal, {{RunSpeed::NORMAL, static_cast<int>(got.ticks)}});
    ExpectSame(got, Capture(*normal));
}

INSTANTIATE_TEST_SUITE_P(
    Schedules, EverySpeedTest,
    ::testing::Values(
        SpeedCase{"Times10", {}, {{1, 60}}}, SpeedCase{"Times100", {}, {{2, 30}}},
        SpeedCase{"Times1000And10000", {20, 20, 15, 0}, {{3, 4}, {4, 1}}},
        SpeedCase{"MixWithSingleSteps", {}, {{0, 3}, {STEP, 5}, {2, 7}, {1, 2}, {STEP, 1}}},
        // Many bubbles rising and bursting, sampled every tick, the panel on a hovered cell.
        SpeedCase{"BoilingSmallGrid", {7, 9, 100, -1, true}, {{3, 6}, {STEP, 2}, {1, 3}}},
        SpeedCase{"BoilingLargeGrid", {80, 80, 100, 3}, {{4, 2}, {2, 5}}}),
    [](const auto& info) { return std::string(info.param.name); });

// The timed speed runs a number of ticks that depends on the machine; the fixed speeds,
// each the same as one tick per message, replay that number.
TEST(FastestSpeedTest, GivesTheRunOfTheFixedSpeeds) {
    const RunSetup setup{30, 30, 90, 10, false};
    auto fastest = StartedWindow(setup);
    RunSchedule(*fastest, {{RunSpeed::FASTEST, 1}, {STEP, 1}});
    const Outcome got = Capture(*fastest);
    ASSERT_GT(got.ticks, 1);
    fastest.reset();

    auto fixed = StartedWindow(setup);
    long long left = got.ticks;
    for (int speed = RunSpeed::FASTEST - 1; speed >= RunSpeed::NORMAL; --speed) {
        const long long perMessage = RunSpeed::TICKS_PER_MESSAGE[speed];
        RunSchedule(*fixed, {{speed, static_cast<int>(left / perMessage)}});
        left %= perMessage;
    }
    ExpectSame(got, Capture(*fixed));
}

TEST(SpeedControlTest, TitleMenuShortcutsAndSingleStep) {
    auto dlg = StartedWindow({});
    const QString plain = QString::fromUtf8("Quorvel Ver. 3.1");
    EXPECT_EQ(dlg->windowTitle(), plain);

    dlg->Show(dlg->Session().SingleStep());  // paused: one tick
    EXPECT_EQ(dlg->Simulation().TicksRun(), 1);
    EXPECT_EQ(dlg->windowTitle(), plain);  // the normal speed keeps the plain title

    // Shortcuts step through the speeds and stop at both ends.
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(dlg.get(), Qt::Key_Plus);
    }
    EXPECT_EQ(dlg->Control().Speed(), RunSpeed::FASTEST);
    EXPECT_EQ(dlg->windowTitle(), plain + QString::fromUtf8(" — 最大 — 1 tick"));
    QTest::keyClick(dlg.get(), Qt::Key_Minus);
    EXPECT_EQ(dlg->Control().Speed(), 4);
    QTest::keyClick(dlg->CloseButton(), Qt::Key_S);  // wherever the focus is
    EXPECT_EQ(dlg->Simulation().TicksRun(), 2);
    EXPECT_EQ(dlg->windowTitle(), plain + QString::fromUtf8(" — ×10000 — 2 ticks"));

    // Running: a single step does nothing.
    dlg->PauseButton()->click();
    dlg->Show(dlg->Session().SingleStep());
    EXPECT_EQ(dlg->Simulation().TicksRun(), 2);
    dlg->PauseButton()->click();

    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(dlg.get(), Qt::Key_Minus);
    }
    EXPECT_EQ(dlg->Control().Speed(), RunSpeed::NORMAL);
    EXPECT_EQ(dlg->windowTitle(), plain);
}

TEST(SingleStepTest, TheWindowOutlinesTheChangedCellsButNotTheFrame) {
    auto dlg = StartedWindow({});
    while (dlg->Control().StepChanges().empty() && dlg->Simulation().TicksRun() < 100) {
        dlg->Show(dlg->Session().SingleStep());
    }
    const std::vector<GridCell> changed = dlg->Control().StepChanges();
    ASSERT_FALSE(changed.empty());
    const QRgb green = QColor::fromRgba(STEP_CHANGE_COLOUR).rgba();
    auto corners = [&dlg](const QImage& image, const GridCell& cell) {
        const PixelRect r = dlg->View().CellRect(cell.col, cell.row);
        return std::vector<QRgb>{image.pixel(r.left, r.top),
                                 image.pixel(r.right - 1, r.bottom - 1)};
    };
    const QImage shown = dlg->grab().toImage();
    const QImage frame = FrameImageOf(dlg->View().Frame());
    for (const GridCell& cell : changed) {
        EXPECT_EQ(corners(shown, cell), (std::vector<QRgb>{green, green}));
        EXPECT_NE(corners(frame, cell)[0], green);
    }
    const GridCell still = changed.front().col > 0 ? GridCell{0, changed.front().row}
                                                   : GridCell{1, changed.front().row};
    if (std::find(changed.begin(), changed.end(), still) == changed.end()) {
        EXPECT_NE(corners(shown, still)[0], green);
    }

    // Resumed, the outlines are gone.
    dlg->PauseButton()->click();
    const QImage resumed = dlg->grab().toImage();
    EXPECT_NE(corners(resumed, changed.front())[0], green);
}

// Opens the window's context menu and hands it to `use`, which picks an item or not; the
// menu is closed afterwards either way.
void WithContextMenu(CSimDlg& dlg, const std::function<void(QMenu&)>& use) {
    QTimer::singleShot(0, [&use] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        use(*menu);
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            dlg.mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(&dlg, &event);
}

QAction* Item(const QMenu& menu, const char* text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == QString::fromUtf8(text)) {
            return action;
        }
    }
    ADD_FAILURE() << text;
    return nullptr;
}

TEST(SpeedControlTest, MenuChoosesTheSpeedAndOffersTheSingleStepWhilePaused) {
    auto dlg = StartedWindow({});
    WithContextMenu(*dlg, [](QMenu& menu) {
        QAction* speeds = Item(menu, "速度");
        ASSERT_TRUE(speeds != nullptr && speeds->menu() != nullptr);
        EXPECT_TRUE(Item(*speeds->menu(), "×1")->isChecked());
        Item(*speeds->menu(), "×1000")->trigger();
        QAction* step = Item(menu, "1ステップ実行");
        ASSERT_NE(step, nullptr);
        EXPECT_TRUE(step->isEnabled());
        step->trigger();
    });
    EXPECT_EQ(dlg->Control().Speed(), 3);
    EXPECT_EQ(dlg->Simulation().TicksRun(), 1);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("Quorvel Ver. 3.1 — ×1000 — 1 tick"));

    dlg->PauseButton()->click();  // running again: no single step
    WithContextMenu(*dlg, [](QMenu& menu) {
        QAction* speeds = Item(menu, "速度");
        ASSERT_TRUE(speeds != nullptr && speeds->menu() != nullptr);
        EXPECT_TRUE(Item(*speeds->menu(), "×1000")->isChecked());
        EXPECT_FALSE(Item(menu, "1ステップ実行")->isEnabled());
    });
    // Paused again, the shortcut steps although the menu last showed the item disabled.
    dlg->PauseButton()->click();
    dlg->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    const long long ticks = dlg->Simulation().TicksRun();
    QTest::keyClick(dlg.get(), Qt::Key_S);
    EXPECT_EQ(dlg->Simulation().TicksRun(), ticks + 1);
}

}  // namespace
