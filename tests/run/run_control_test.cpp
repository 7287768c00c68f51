// The run control without a window: the run-state table, the order of a start's effects,
// the burner captions, the timer message and the run's samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "BurnerCaptions.h"
#include "Numbers.h"
#include "RunControl.h"
#include "RunSpeed.h"

namespace {

const std::string kStart = "スタート";
const std::string kStop = "ストップ";
const std::string kPause = "一時停止";
const std::string kResume = "再開";

// A front end that notes every call, shows the buttons as given and answers the settings
// dialog as the test says.
class FakeHost : public RunControlHost {
public:
    void StartStepTimer(int periodMs) override {
        Note("timer " + std::to_string(periodMs));
        timerPeriod = periodMs;
    }
    void StopStepTimer() override {
        Note("kill");
        timerPeriod = 0;
    }
    void ShowRunButtons(const RunButtons& b) override {
        buttons = b;
        Note("buttons " + std::string(b.startCaption) + (b.startEnabled ? "+ " : "- ") +
             b.pauseCaption + (b.pauseEnabled ? "+" : "-"));
    }
    void ShowBurnerCaptions() override { Note("captions"); }
    void DrawFlames() override { Note("flames"); }
    std::optional<StartAnswer> RunSettingsDialog(const SimulationSettings& current,
                                                 bool canContinue) override {
        Note(canContinue ? "dialog continuable" : "dialog");
        shown = current;
        if (!accept) {
            return std::nullopt;
        }
        StartAnswer answer{current, continueRun};
        answer.settings.columns = 6;
        answer.settings.rows = 5;
        answer.settings.historyInterval = historyInterval;
        return answer;
    }
    void ShowFreshRun() override { Note("fresh view"); }
    void ShowOpenedRun(const RunFile&) override { Note("opened view"); }
    void Invalidate() override { Note("invalidate"); }
    void ShowTitle(const std::string& t) override {
        title = t;
        Note("title");
    }
    void HistoryReset() override { Note("history reset"); }
    void SampleTaken() override { ++samplesTaken; }
    void BeginCellBatch(int columns, int rows) override {
        Note("begin " + std::to_string(columns) + "x" + std::to_string(rows));
    }
    void FlushCellBatch() override { Note("flush"); }
    void ShowAverages(double temperature, double heat) override {
        Note("averages " + std::to_string(static_cast<int>(temperature)) + " " +
             std::to_string(static_cast<int>(heat)));
    }
    void RefreshPanel() override { Note("panel"); }
    void TicksShown(bool backToBack) override { Note(backToBack ? "shown fast" : "shown"); }
    void ReportDivergence() override { Note("diverged"); }

    void Note(const std::string& event) { events.push_back(event); }

    std::vector<std::string> events;
    RunButtons buttons{};
    int timerPeriod = 0;
    std::string title;
    SimulationSettings shown;
    int samplesTaken = 0;
    bool accept = true;
    bool continueRun = false;
    int historyInterval = 100;
};

class RunControlTest : public ::testing::Test {
protected:
    RunControlTest() { sim.SetSeed(7); }

    // Brings the control from idle into `state` through its buttons.
    void Reach(RunState state) {
        if (state == RunState::Idle) {
            return;
        }
        control.OnStartStop();
        if (state == RunState::Paused) {
            control.OnPauseResume();
        } else if (state == RunState::Stopped) {
            control.OnStartStop();
        }
        host.events.clear();
    }

    CSimulation sim;
    FakeHost host;
    CRunControl control{sim, host};
};

// ---- The run-state table ---------------------------------------------------------------

enum class Press { StartOk, StartCancel, StartContinue, Pause };

struct TableRow {
    RunState from;
    Press press;
    RunState to;
    const char* start;
    bool startEnabled;
    const char* pause;
    bool pauseEnabled;
    bool timer;
    bool dialog;  // the settings dialog was shown
};

class RunStateTable : public RunControlTest, public ::testing::WithParamInterface<TableRow> {};

TEST_P(RunStateTable, NextStateCaptionsEnabledButtonsAndTimer) {
    const TableRow row = GetParam();
    Reach(row.from);
    host.accept = row.press != Press::StartCancel;
    host.continueRun = row.press == Press::StartContinue;
    if (row.press == Press::Pause) {
        control.OnPauseResume();
    } else {
        control.OnStartStop();
    }
    EXPECT_EQ(control.State(), row.to);
    EXPECT_EQ(std::string(control.Buttons().startCaption), row.start);
    EXPECT_EQ(std::string(control.Buttons().pauseCaption), row.pause);
    EXPECT_EQ(control.Buttons().startEnabled, row.startEnabled);
    EXPECT_EQ(control.Buttons().pauseEnabled, row.pauseEnabled);
    // The buttons last shown are the ones the state gives.
    if (host.buttons.startCaption != nullptr) {
        EXPECT_EQ(host.buttons, control.Buttons());
    }
    EXPECT_EQ(control.IsTimerRunning(), row.timer);
    EXPECT_EQ(host.timerPeriod != 0, row.timer);
    const bool dialogShown = host.events.size() > 2 && host.events[2].rfind("dialog", 0) == 0;
    EXPECT_EQ(dialogShown, row.dialog);
}

using S = RunState;
INSTANTIATE_TEST_SUITE_P(
    Rows, RunStateTable,
    ::testing::Values(
        // Idle: a start opens the dialog; OK runs, cancel stays idle; pause does nothing.
        TableRow{S::Idle, Press::StartOk, S::Running, "ストップ", true, "一時停止", true, true,
                 true},
        TableRow{S::Idle, Press::StartCancel, S::Idle, "スタート", true, "一時停止", false, false,
                 true},
        TableRow{S::Idle, Press::StartContinue, S::Running, "ストップ", true, "一時停止", true,
                 true, true},
        TableRow{S::Idle, Press::Pause, S::Idle, "スタート", true, "一時停止", false, false, false},
        // Running: start stops, pause pauses.
        TableRow{S::Running, Press::StartOk, S::Stopped, "スタート", true, "一時停止", false, false,
                 false},
        TableRow{S::Running, Press::Pause, S::Paused, "ストップ", false, "再開", true, false,
                 false},
        // Paused: the start button cannot be pressed; resume runs again.
        TableRow{S::Paused, Press::StartOk, S::Paused, "ストップ", false, "再開", true, false,
                 false},
        TableRow{S::Paused, Press::Pause, S::Running, "ストップ", true, "一時停止", true, true,
                 false},
        // Stopped: the dialog again; cancel stays stopped.
        TableRow{S::Stopped, Press::StartOk, S::Running, "ストップ", true, "一時停止", true, true,
                 true},
        TableRow{S::Stopped, Press::StartCancel, S::Stopped, "スタート", true, "一時停止", false,
                 false, true},
        TableRow{S::Stopped, Press::StartContinue, S::Running, "ストップ", true, "一時停止", true,
                 true, true},
        TableRow{S::Stopped, Press::Pause, S::Stopped, "スタート", true, "一時停止", false, false,
                 false}));

// ---- Order of effects ------------------------------------------------------------------

TEST_F(RunControlTest, FreshStartDoesItsWorkInOrder) {
    control.OnStartStop();
    const std::vector<std::string> want = {
        "buttons スタート+ 一時停止+",  // pause already enabled while the dialog is open
        "flames",
        "dialog",
        "history reset",
        "fresh view",
        "buttons ストップ+ 一時停止+",
        "invalidate",
        "title",
        "timer 5"};
    EXPECT_EQ(host.events, want);
    EXPECT_TRUE(control.HasStarted());
    EXPECT_FALSE(control.CanContinue());
    EXPECT_EQ(sim.Columns(), 6);
    EXPECT_EQ(host.title, "Quorvel Ver. 3.1");
}

TEST_F(RunControlTest, CancelledStartOnlyShowsTheFlamesAndDisablesPauseAgain) {
    host.accept = false;
    control.OnStartStop();
    const std::vector<std::string> want = {"buttons スタート+ 一時停止+", "flames", "dialog",
                                           "buttons スタート+ 一時停止-"};
    EXPECT_EQ(host.events, want);
    EXPECT_FALSE(control.HasStarted());
    EXPECT_FALSE(sim.HasGrid());
}

TEST_F(RunControlTest, ContinuedStartKeepsGridAndSamplesAndTakesTheInterval) {
    host.historyInterval = 0;
    Reach(RunState::Running);
    for (int i = 0; i < 5; ++i) {
        control.OnTimer();
    }
    control.OnStartStop();  // stop
    EXPECT_TRUE(control.CanContinue());
    const CCell kept = sim.Cell(4, 3);
    const std::size_t samples = control.RunHistory().Entries().size();
    ASSERT_GT(samples, 0u);

    host.events.clear();
    host.continueRun = true;
    host.historyInterval = 9;
    control.OnStartStop();
    EXPECT_EQ(host.events[2], "dialog continuable");
    EXPECT_EQ(host.shown.historyInterval, 0);  // the dialog shows the interval in use
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "history reset"), 0);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "fresh view"), 0);
    EXPECT_EQ(sim.Cell(4, 3), kept);
    EXPECT_EQ(control.RunHistory().Entries().size(), samples);
    EXPECT_EQ(control.HistoryInterval(), 9);
    EXPECT_EQ(sim.TicksRun(), 5);

    // Not continued: a fresh grid, and the whole run's samples forgotten.
    control.OnStartStop();
    host.continueRun = false;
    control.OnStartStop();
    EXPECT_TRUE(control.RunHistory().Entries().empty());
    EXPECT_EQ(sim.TicksRun(), 0);
}

// ---- Timer messages and speeds ------------------------------------------------------------

TEST_F(RunControlTest, TimerMessageRunsTheSpeedsTicksAndShowsThemOnce) {
    Reach(RunState::Running);
    control.OnTimer();
    EXPECT_EQ(sim.TicksRun(), 1);
    ASSERT_EQ(host.events.size(), 5u);
    EXPECT_EQ(host.events[0], "begin 6x5");
    EXPECT_EQ(host.events[1], "flush");
    EXPECT_EQ(host.events[2].rfind("averages 15 ", 0), 0u) << host.events[2];
    EXPECT_EQ(host.events[3], "panel");
    EXPECT_EQ(host.events[4], "shown");

    host.events.clear();
    control.SetSpeed(3);
    EXPECT_EQ(host.title, "Quorvel Ver. 3.1 — ×1000 — 1 tick");
    control.OnTimer();
    EXPECT_EQ(sim.TicksRun(), 1001);
    EXPECT_EQ(host.events.back(), "shown fast");

    control.SetSpeed(99);
    EXPECT_EQ(control.Speed(), RunSpeed::FASTEST);
    control.OnTimer();  // timed: at least one slice
    EXPECT_GE(sim.TicksRun(), 1001 + RunSpeed::TIMED_SLICE);
    control.SetSpeed(-5);
    EXPECT_EQ(control.Speed(), RunSpeed::NORMAL);
    EXPECT_EQ(host.title, "Quorvel Ver. 3.1");
}

TEST_F(RunControlTest, SamplesGoToTheWholeRunAndTheGraph) {
    host.historyInterval = -1;  // every tick samples
    Reach(RunState::Running);
    for (int i = 0; i < 3; ++i) {
        control.OnTimer();
    }
    EXPECT_EQ(host.samplesTaken, 3);
    ASSERT_EQ(control.RunHistory().Entries().size(), 3u);
    EXPECT_EQ(control.RunHistory().Entries().back().tick, 3);
    EXPECT_EQ(control.Recorder().Sample(HISTORY_SAMPLE_COUNT - 1).temperature,
              control.RunHistory().Entries().back().temperature);
}

TEST(RunSpeedTitle, TicksAreGroupedInThousands) {
    const char* title = "Quorvel Ver. 3.1";
    EXPECT_EQ(RunSpeed::Title(title, 3, 2400000), "Quorvel Ver. 3.1 — ×1000 — 2,400,000 ticks");
    EXPECT_EQ(RunSpeed::Title(title, 1, 0), "Quorvel Ver. 3.1 — ×10 — 0 ticks");
    EXPECT_EQ(RunSpeed::Title(title, 0, 2400000), title);
    EXPECT_EQ(RunSpeed::Title(title, 6, 5), title);
    EXPECT_EQ(RunSpeed::GroupThousands(999), "999");
    EXPECT_EQ(RunSpeed::GroupThousands(1000), "1,000");
    EXPECT_EQ(RunSpeed::GroupThousands(-1234567), "-1,234,567");
    EXPECT_EQ(RunSpeed::GroupThousands(9223372036854775807LL), "9,223,372,036,854,775,807");
    EXPECT_EQ(RunSpeed::GroupThousands(-9223372036854775807LL - 1), "-9,223,372,036,854,775,808");
}

// ---- Burner buttons --------------------------------------------------------------------

struct CycleStep {
    const char* before;
    int level;
    const char* after;
};

void ExpectCycle(CRunControl& control, const CSimulation& sim, bool ends,
                 const std::vector<CycleStep>& steps) {
    for (int round = 0; round < 2; ++round) {
        for (const CycleStep& step : steps) {
            ASSERT_STREQ(ends ? control.EndsCaption() : control.CentreCaption(), step.before);
            if (ends) {
                control.OnEndsFlame();
            } else {
                control.OnCentreFlame();
            }
            EXPECT_EQ(ends ? sim.EndsFlame() : sim.CentreFlame(), step.level);
            EXPECT_STREQ(ends ? control.EndsCaption() : control.CentreCaption(), step.after);
        }
    }
}

TEST_F(RunControlTest, EndsButtonCyclesOffStrongMediumWeak) {
    ExpectCycle(control, sim, true,
                {{"消火(両端)", FLAME_OFF, "強火(両端)"},
                 {"強火(両端)", FLAME_STRONG, "中火(両端)"},
                 {"中火(両端)", FLAME_MEDIUM, "弱火(両端)"},
                 {"弱火(両端)", FLAME_WEAK, "消火(両端)"}});
}

TEST_F(RunControlTest, CentreButtonStartsByTurningTheCentreDownToWeak) {
    ExpectCycle(control, sim, false,
                {{"弱火(中央)", FLAME_WEAK, "消火(中央)"},
                 {"消火(中央)", FLAME_OFF, "強火(中央)"},
                 {"強火(中央)", FLAME_STRONG, "中火(中央)"},
                 {"中火(中央)", FLAME_MEDIUM, "弱火(中央)"}});
}

TEST_F(RunControlTest, LevelsSetDirectlyShowTheCaptionsOfClicksToThem) {
    CSimulation set;
    for (int click = 0; click < 4; ++click) {
        control.OnEndsFlame();
        control.OnCentreFlame();
        set.SetFlames(sim.EndsFlame(), sim.CentreFlame());
        EXPECT_STREQ(EndsFlameCaption(set.EndsFlame()), control.EndsCaption()) << click;
        EXPECT_STREQ(CentreFlameCaption(set.CentreFlame()), control.CentreCaption()) << click;
    }
    EXPECT_STREQ(EndsFlameCaption(7), "");
}

TEST_F(RunControlTest, BurnerClickDrawsAtOnceAndHeatsFromTheNextTick) {
    control.OnEndsFlame();  // before the first start: no burner heat to compute
    const std::vector<std::string> want = {"flames", "captions", "invalidate"};
    EXPECT_EQ(host.events, want);
    Reach(RunState::Running);
    EXPECT_EQ(sim.BurnerHeat(0), 60);  // off / medium over 6 columns: 140 sin(pi / 7)
    control.OnCentreFlame();           // off / weak: 70 sin(pi / 7)
    EXPECT_EQ(sim.BurnerHeat(0), 30);
}

// Opening a run file from any state: the timer stops and the run is stopped, ready to go on
// with the file's ticks, samples and averages.
TEST_F(RunControlTest, OpenedRunIsStoppedAndCanContinueFromAnyState) {
    for (const RunState from : {RunState::Idle, RunState::Running, RunState::Paused}) {
        CSimulation source;
        source.SetSeed(3);
        source.FreshStart(SimulationSettings{});
        CHistoryRecorder recorder;
        recorder.ResetHistory(15);
        CRunHistory history;
        source.RunTicks(500, recorder, &history);
        const RunFile run = CaptureRun(source, recorder, history, 1, 2);

        CSimulation sim2;
        FakeHost host2;
        CRunControl control2{sim2, host2};
        if (from != RunState::Idle) {
            control2.OnStartStop();
            if (from == RunState::Paused) {
                control2.OnPauseResume();
            }
        }
        host2.events.clear();
        control2.OpenRun(run);
        const bool timerWasOn = from == RunState::Running;
        std::vector<std::string> want = {"buttons スタート+ 一時停止-",
                                         "captions",
                                         "opened view",
                                         "history reset",
                                         "averages " + std::to_string(source.AverageTemperature()) +
                                             " " +
                                             std::to_string(CalToJoules(source.AverageHeat())),
                                         "invalidate",
                                         "title"};
        if (timerWasOn) {
            want.insert(want.begin(), "kill");
        }
        EXPECT_EQ(host2.events, want);
        EXPECT_EQ(control2.State(), RunState::Stopped);
        EXPECT_TRUE(control2.CanContinue());
        EXPECT_TRUE(control2.HasStarted());
        EXPECT_EQ(sim2.TicksRun(), 500);
        EXPECT_EQ(control2.RunHistory().Entries().size(), history.Entries().size());
        EXPECT_EQ(control2.Recorder().Sample(99).heat, recorder.Sample(99).heat);
    }
}

// ---- A run that diverges -------------------------------------------------------------

TEST_F(RunControlTest, ADivergingRunPausesAndIsReportedOncePerFreshRun) {
    SimulationSettings unstable;
    unstable.conductionCoefficient = 0.5;
    sim.FreshStart(unstable);  // the dialog answers with the settings it is shown
    control.OnStartStop();
    int messages = 0;
    while (control.State() == RunState::Running && messages < 100000) {
        control.OnTimer();
        ++messages;
    }
    ASSERT_EQ(control.State(), RunState::Paused) << "after " << messages << " messages";
    EXPECT_GT(messages, 1) << "the first messages are still physical";
    EXPECT_FALSE(control.IsTimerRunning());
    EXPECT_EQ(std::string(host.buttons.pauseCaption), kResume);
    EXPECT_EQ(host.events.back(), "diverged");
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "diverged"), 1);

    // Resumed, the run goes on without a second report.
    control.OnPauseResume();
    host.events.clear();
    control.OnTimer();
    control.SingleStep();
    EXPECT_EQ(control.State(), RunState::Running);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "diverged"), 0);

    // A fresh run that diverges again is reported again.
    control.OnStartStop();
    control.OnStartStop();
    host.continueRun = false;
    while (control.State() == RunState::Running && messages < 200000) {
        control.OnTimer();
        ++messages;
    }
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "diverged"), 1);
}

// The grid's cells column by column, as the step changes are listed.
std::vector<CCell> Cells(const CSimulation& sim) {
    std::vector<CCell> cells;
    for (int col = 0; col < sim.Columns(); ++col) {
        for (int row = 0; row < sim.Rows(); ++row) {
            cells.push_back(sim.Cell(row, col));
        }
    }
    return cells;
}

TEST_F(RunControlTest, ASingleStepNamesTheCellsItChangedUntilTheRunGoesOn) {
    Reach(RunState::Paused);
    int steps = 0;
    while (control.StepChanges().size() < 2 && steps < 200) {
        const std::vector<CCell> before = Cells(sim);
        control.SingleStep();
        ++steps;
        const std::vector<CCell> after = Cells(sim);
        std::vector<GridCell> changed;
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (!(after[i] == before[i])) {
                changed.push_back(
                    GridCell{static_cast<int>(i) / sim.Rows(), static_cast<int>(i) % sim.Rows()});
            }
        }
        ASSERT_EQ(control.StepChanges(), changed) << "step " << steps;
    }
    ASSERT_GE(control.StepChanges().size(), 2u) << "no step changed two cells";

    // Resuming forgets them and has the window drawn again.
    host.events.clear();
    control.OnPauseResume();
    EXPECT_TRUE(control.StepChanges().empty());
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "invalidate"), 1);
}

TEST_F(RunControlTest, ASoundRunIsNeverPaused) {
    control.OnStartStop();
    control.SetSpeed(RunSpeed::COUNT - 2);
    for (int i = 0; i < 20; ++i) {
        control.OnTimer();
    }
    EXPECT_EQ(control.State(), RunState::Running);
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "diverged"), 0);
}

}  // namespace
