#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "HistoryRecorder.h"
#include "RunFile.h"
#include "RunHistory.h"
#include "Simulation.h"
#include "SimulationSettings.h"

// Where a run stands. Idle: no run set up yet. Running: the step timer runs the ticks.
// Paused: a run is set up but receives no ticks until it is resumed. Stopped: the run was
// stopped and can be continued by the next start.
enum class RunState { Idle, Running, Paused, Stopped };

// What the start/stop and pause/resume buttons show: the captions (texts of the program's
// own language, for the front end to translate) and whether each can be pressed.
struct RunButtons {
    const char* startCaption;
    bool startEnabled;
    const char* pauseCaption;
    bool pauseEnabled;
    bool operator==(const RunButtons&) const = default;
};

// The settings dialog's answer to a start.
struct StartAnswer {
    SimulationSettings settings;
    bool continueRun = false;  // the stopped run goes on with the new settings
};

// What the run control asks of the front end that shows the run. Calls come in the order
// their effects must happen.
class RunControlHost {
public:
    virtual ~RunControlHost() = default;

    // The step timer: (re)started with a period, or stopped. Each period's message is
    // answered with CRunControl::OnTimer.
    virtual void StartStepTimer(int periodMs) = 0;
    virtual void StopStepTimer() = 0;
    // Shows the two run buttons as given.
    virtual void ShowRunButtons(const RunButtons& buttons) = 0;
    // Shows the burner buttons' captions (CRunControl::EndsCaption / CentreCaption).
    virtual void ShowBurnerCaptions() = 0;
    // Draws the flames of the simulation's present levels.
    virtual void DrawFlames() = 0;
    // Runs the settings dialog showing `current`, offering to continue when `canContinue`.
    // Nothing when it is cancelled.
    virtual std::optional<StartAnswer> RunSettingsDialog(const SimulationSettings& current,
                                                         bool canContinue) = 0;
    // A fresh run's grid exists: the inspection goes to the centre cell and the whole view
    // is drawn again, cells included.
    virtual void ShowFreshRun() = 0;
    // The whole window is to be painted again.
    virtual void Invalidate() = 0;
    // Shows the window title (UTF-8).
    virtual void ShowTitle(const std::string& title) = 0;

    // A run read back from a file is in place: the view selects its cell and draws the whole
    // frame again, each bubble on the colour it stood on.
    virtual void ShowOpenedRun(const RunFile& run) = 0;

    // The 100 samples were refilled: the graph is drawn again.
    virtual void HistoryReset() = 0;
    // A tick took a sample: the graph is out of date until it is drawn again.
    virtual void SampleTaken() = 0;

    // One timer message's work on the view, in this order: changed cells are gathered from
    // BeginCellBatch on and drawn once each by FlushCellBatch; then the averages of the last
    // tick are shown, the info panel refreshed and the frame shown by TicksShown.
    virtual void BeginCellBatch(int columns, int rows) = 0;
    virtual void FlushCellBatch() = 0;
    // The averages are whole numbers (degrees C, J), or NaN or an infinity where the grid
    // holds cells that are not finite.
    virtual void ShowAverages(double temperature, double heat) = 0;
    virtual void RefreshPanel() = 0;
    // `backToBack`: the messages run many ticks each and follow one another closely (every
    // speed but the normal one), so the frame shows at the screen's pace and the title with
    // the tick count follows at its own (CRunControl::Title).
    virtual void TicksShown(bool backToBack) = 0;
    // The run has reached cells that are not finite or below absolute zero and was paused
    // (the buttons already show it): the front end says so. Once per fresh run.
    virtual void ReportDivergence() = 0;
};

// The run control: the run's state, the buttons' captions and enabled states that follow
// from it, the step timer, the speeds and single step, the burner buttons and the work of
// one timer message. It owns the run's samples: the last 100 (the history graph's) and the
// whole run's (for saving). The front end turns its events into the On... calls below and
// the host's calls into widget changes.
// A cell of the grid, by column and row.
struct GridCell {
    int col;
    int row;
    bool operator==(const GridCell&) const = default;
};

class CRunControl : public SampleSink {
public:
    CRunControl(CSimulation& sim, RunControlHost& host);

    // --- Commands.
    // Start/stop button: a running run stops; otherwise the settings dialog decides whether
    // and how a run starts. Ignored while paused (the button cannot be pressed then).
    void OnStartStop();
    // Pause/resume button: pauses a running run, resumes a paused one; otherwise nothing.
    void OnPauseResume();
    // Burner buttons: the next level, its flames at once and its heat from the next tick.
    void OnEndsFlame();
    void OnCentreFlame();
    // One message of the step timer: one tick at the normal speed, more at the faster ones.
    void OnTimer();
    // While paused: runs exactly one whole tick and shows it.
    void SingleStep();
    // Speed of the run (an index of RunSpeed, clamped), kept for the session; shows the title.
    void SetSpeed(int speed);

    // The step timer held off while a modal box is open: true when it was running. Release
    // with the answer to start it again.
    bool HoldTimer();
    void ReleaseTimer(bool wasRunning);
    // Stops the step timer for good (the window is going away).
    void StopTimer();

    // The samples: refilled with `initialTemperature` (the whole run's forgotten), and the
    // interval between them.
    void ResetHistory(int initialTemperature);
    void SetHistoryInterval(int interval) { m_recorder.SetHistoryInterval(interval); }
    int HistoryInterval() const { return m_recorder.HistoryInterval(); }

    // --- Run files.
    // The run as it stands, with the view's selected cell and what its bubbles stand on.
    RunFile Capture(int selectedCol, int selectedRow,
                    const std::function<std::uint32_t(int col, int row)>& background) const;
    // Replaces the present run by one read back: the timer stops and the run is stopped with
    // "can continue", showing the run's frame, samples, averages, burners and title; a start
    // that continues it goes on exactly as the saved run would have.
    void OpenRun(const RunFile& run);

    // --- What the front end shows.
    RunState State() const { return m_state; }
    RunButtons Buttons() const;
    bool IsPaused() const { return m_state == RunState::Paused; }
    bool IsTimerRunning() const { return m_bTimerRunning; }
    // Whether a run has been started once: the cells are drawn and the mouse inspects them.
    bool HasStarted() const { return m_bStarted; }
    // Whether a stopped run can be continued.
    bool CanContinue() const { return m_bCanContinue; }
    int Speed() const { return m_nSpeed; }
    // The window title for the present speed and tick count (UTF-8).
    std::string Title() const;
    const char* EndsCaption() const;
    const char* CentreCaption() const;

    // The cells whose temperature, heat or phase the last single step changed, column by
    // column; empty once the run resumes, starts or stops, until the next step.
    const std::vector<GridCell>& StepChanges() const { return m_stepChanges; }

    const CHistoryRecorder& Recorder() const { return m_recorder; }
    // Every sample since the fresh start, for saving.
    const CRunHistory& RunHistory() const { return m_runHistory; }

    void OnSample(long long tick, int temperature, int heat) override;

private:
    void SetTimer();
    void KillTimer();
    void AfterFlameChange();
    // Runs `ticks` ticks (0: as many as fit the fastest speed's budget) as one timer message.
    void RunTimerMessage(long long ticks);
    // After a timer message: pauses and reports a run that has left every physical value.
    void CheckDivergence();
    // Forgets the last step's changes, and has the window drawn without their outlines.
    void ClearStepChanges();

    CSimulation& m_sim;
    RunControlHost& m_host;
    RunState m_state = RunState::Idle;
    bool m_bStarted = false;
    bool m_bCanContinue = false;
    bool m_bTimerRunning = false;
    int m_nSpeed = 0;
    bool m_bDivergenceReported = false;  // in the present fresh run
    std::vector<GridCell> m_stepChanges;
    // Drawing of the changed cells in the last timer message.
    std::chrono::steady_clock::duration m_lastFlush{};
    // Sampling interval, the 100 samples and the count of ticks since the last sample. The
    // run control is made once per process, so the count lives as long as the process and
    // no reset clears it.
    CHistoryRecorder m_recorder;
    CRunHistory m_runHistory;
};
