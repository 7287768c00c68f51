#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ButtonRow.h"
#include "CellRedrawBatch.h"
#include "RunControl.h"
#include "Simulation.h"
#include "VesselView.h"

// What a command changed, for the front end to show. A command returns every change it made;
// the front end shows them and asks the session for the values.
enum class Shown : unsigned {
    RunButtons = 1u << 0,      // Buttons(): the start/stop and pause/resume buttons
    BurnerCaptions = 1u << 1,  // the burner buttons' captions
    Title = 1u << 2,           // Title(), at once
    Frame = 1u << 3,           // the frame is to be painted again, at once
    // Ticks redrew the frame: paint it at the screen's pace. With BackToBack the messages run
    // many ticks each and follow closely: the title with the tick count follows at its own pace.
    Ticks = 1u << 4,
    BackToBack = 1u << 5,
    Averages = 1u << 6,        // Averages(): the last tick's averages
    Panel = 1u << 7,           // the info panel's lines (screen readers, the page's text)
    GraphReset = 1u << 8,      // the samples were refilled: the graph is drawn again now
    GraphStale = 1u << 9,      // a sample was taken: the graph is out of date
    Divergence = 1u << 10,     // the run has left every physical value and paused: say so
    StepTimer = 1u << 11,      // StepTimerPeriod(): the step timer (re)started or stopped
    SettingsAsked = 1u << 12,  // Request(): the settings dialog is to be shown
};

class Changes {
public:
    Changes() = default;
    Changes(Shown shown) : m_bits(static_cast<unsigned>(shown)) {}
    Changes& operator|=(Changes other) {
        m_bits |= other.m_bits;
        return *this;
    }
    friend Changes operator|(Changes a, Changes b) { return a |= b; }
    bool Has(Shown shown) const { return (m_bits & static_cast<unsigned>(shown)) != 0; }
    bool Any() const { return m_bits != 0; }
    bool operator==(const Changes&) const = default;

private:
    unsigned m_bits = 0;
};

inline Changes operator|(Shown a, Shown b) {
    return Changes(a) | Changes(b);
}

// The keys that move and use the keyboard's cell cursor.
enum class CursorKey { Left, Right, Up, Down, Select, Leave };

// The program behind a main window, for every front end: the simulation, the vessel view and
// its redraws, the run control and its samples. The front end turns its events into the
// commands below, shows what each returns, and implements only what it alone can: the step
// timer, the dialogs and messages, file choice, painting the frame, widgets for the texts.
//
// The settings dialog is asked for in two steps, so that a page (which cannot wait inside a
// call) and a window (which runs it modally) go the same way: StartStop returns SettingsAsked
// with Request() telling what the dialog shows, and Start or CancelStart closes it.
class CRunSession : private RunControlHost {
public:
    CRunSession();
    CRunSession(const CRunSession&) = delete;
    CRunSession& operator=(const CRunSession&) = delete;

    // --- Commands.
    // A new client size: the frame is made for it and drawn again; nothing for a size the
    // window does not take (it keeps its layout).
    std::optional<Changes> Resize(int cx, int cy);
    // Start/stop: stops a running run, or asks for the settings dialog.
    Changes StartStop();
    // The settings dialog's answers.
    Changes Start(const StartAnswer& answer);
    Changes CancelStart();
    Changes PauseResume() {
        return Run([this] { m_control.OnPauseResume(); });
    }
    Changes EndsFlame() {
        return Run([this] { m_control.OnEndsFlame(); });
    }
    Changes CentreFlame() {
        return Run([this] { m_control.OnCentreFlame(); });
    }
    // One message of the step timer.
    Changes Timer() {
        return Run([this] { m_control.OnTimer(); });
    }
    Changes SingleStep() {
        return Run([this] { m_control.SingleStep(); });
    }
    Changes SetSpeed(int speed) {
        return Run([this, speed] { m_control.SetSpeed(speed); });
    }
    // The step timer held off while a modal box is open. Release with what HoldTimer returned:
    // a timer it stopped starts again.
    Changes HoldTimer();
    Changes ReleaseTimer(const Changes& held);
    // Stops the step timer for good (the window is going away, or a fatal message shows).
    Changes StopTimer() {
        return Run([this] { m_control.StopTimer(); });
    }
    // Size of the frame's labels and panel, drawn again at once.
    Changes SetTextSize(TextSize size);
    // The pointer over the frame, and a click in it.
    Changes MouseMove(int x, int y);
    Changes LButtonUp(int x, int y);
    // The keyboard's cell cursor; nothing for a key it does not use now.
    std::optional<Changes> OnCursorKey(CursorKey key);
    // Replaces the run by one read back from a file.
    Changes OpenRun(const RunFile& run);
    // The settings the first dialog shows until a run has started (the page's address).
    void SetFirstSettings(const SimulationSettings& settings) { m_firstSettings = settings; }
    // The interval between samples, until a start sets it.
    void SetHistoryInterval(int interval) { m_control.SetHistoryInterval(interval); }
    // Releases the frame and the grids; the session takes no more commands.
    Changes Release();

    // --- What the front end shows.
    // The run buttons as shown: while the settings dialog is open, as it opened them.
    const RunButtons& Buttons() const { return m_shownButtons; }
    // The step timer's period in milliseconds; 0 while it is stopped.
    int StepTimerPeriod() const { return m_nTimerPeriod; }
    struct SettingsRequest {
        SimulationSettings current;
        bool canContinue = false;
    };
    // What the open settings dialog shows; none while it is closed.
    const std::optional<SettingsRequest>& Request() const { return m_request; }
    // The last averages shown: whole numbers (°C, J), or NaN or an infinity where cells are
    // not finite; none before the first timer message.
    const std::optional<std::pair<double, double>>& Averages() const { return m_averages; }
    // The info panel's three lines as shown now, one per line; empty when it shows none.
    std::string PanelText() const;
    // The run as it stands, for a run file.
    RunFile Capture() const;

    const CRunControl& Control() const { return m_control; }
    const CSimulation& Simulation() const { return m_sim; }
    CSimulation& Simulation() { return m_sim; }
    const CVesselView& View() const { return m_view; }

private:
    template <typename Command>
    Changes Run(Command command) {
        m_changes = {};
        command();
        return m_changes;
    }

    void StartStepTimer(int periodMs) override;
    void StopStepTimer() override;
    void ShowRunButtons(const RunButtons& buttons) override;
    void ShowBurnerCaptions() override { m_changes |= Shown::BurnerCaptions; }
    void DrawFlames() override;
    std::optional<StartAnswer> RunSettingsDialog(const SimulationSettings& current,
                                                 bool canContinue) override;
    void ShowFreshRun() override;
    void Invalidate() override { m_changes |= Shown::Frame; }
    void ShowTitle(const std::string&) override { m_changes |= Shown::Title; }
    void ShowOpenedRun(const RunFile& run) override;
    void HistoryReset() override { m_changes |= Shown::GraphReset; }
    void SampleTaken() override { m_changes |= Shown::GraphStale; }
    void BeginCellBatch(int columns, int rows) override;
    void FlushCellBatch() override { m_cellBatch.Flush(); }
    void ShowAverages(double temperature, double heat) override;
    void RefreshPanel() override;
    void TicksShown(bool backToBack) override;
    void ReportDivergence() override { m_changes |= Shown::Divergence; }

    CSimulation m_sim;
    CVesselView m_view{m_sim};
    CCellRedrawBatch m_cellBatch{m_view};
    CRunControl m_control{m_sim, *this};
    Changes m_changes;

    RunButtons m_shownButtons;
    int m_nTimerPeriod = 0;
    std::optional<std::pair<double, double>> m_averages;
    SimulationSettings m_firstSettings;
    std::optional<SettingsRequest> m_request;
    std::optional<StartAnswer> m_answer;
    // What the bubbles of a run read back stand on, until its first tick: a new size draws
    // it as it was saved.
    std::vector<Rgb> m_openedBubbles;
};
