#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ButtonRow.h"
#include "CellRedrawBatch.h"
#include "Drawing.h"
#include "RunControl.h"
#include "Simulation.h"
#include "VesselView.h"

// The program behind the web page: the simulation, its view, the run control and the history
// graph, with the window's part of the run control's host. The page turns its events into the
// calls below and reads back what to show after each one; every rule (captions, enabled states,
// the settings' checks, the frame's pixels) stays in the engine.
//
// The settings dialog is modal on the desktop and the run control waits for its answer; in a
// page the dialog's answer comes later, as an event. So a start is asked in two calls: StartStop
// opens the dialog (SettingsRequest then tells what it shows) and AnswerStart or CancelStart
// closes it, AnswerStart running the start the run control would have run with that answer.
class WebApp : private RunControlHost {
public:
    WebApp();

    // --- The main window.
    // A new client size: the frame is made for it and drawn again; false for a size the
    // window does not take (it then keeps its layout).
    bool Resize(int cx, int cy);
    int ClientWidth() const { return m_cx; }
    int ClientHeight() const { return m_cy; }
    ButtonRow Buttons() const { return ComputeButtonRow(m_cx, m_cy); }
    // The frame as the window shows it at (0, 0): the view's part of the client area, as bytes
    // R, G, B, A (opaque) row by row from the top.
    const std::vector<std::uint8_t>& FrameRgba();
    int FrameWidth() const { return m_view.Frame().Width(); }
    int FrameHeight() const { return m_view.Frame().Height(); }
    // Whether the frame changed since it was last taken.
    bool FrameChanged() const { return m_bFrameChanged; }

    // --- Commands: the six buttons, the mouse and the context menu.
    // Start/stop: stops a running run, or opens the settings dialog (true).
    bool StartStop();
    void PauseResume() { m_control.OnPauseResume(); }
    void EndsFlame() { m_control.OnEndsFlame(); }
    void CentreFlame() { m_control.OnCentreFlame(); }
    void OnTimer() { m_control.OnTimer(); }
    void SingleStep() { m_control.SingleStep(); }
    void SetSpeed(int speed) { m_control.SetSpeed(speed); }
    bool HoldTimer() { return m_control.HoldTimer(); }
    void ReleaseTimer(bool wasRunning) { m_control.ReleaseTimer(wasRunning); }
    void MouseMove(int x, int y);
    void LButtonUp(int x, int y);
    // The info panel's three lines as it shows them now (the hovered or the selected cell),
    // one per line; empty before a run has started.
    std::string PanelText() const;

    // --- The settings dialog.
    struct SettingsRequest {
        SimulationSettings current;
        bool canContinue = false;
    };
    // What the open dialog shows; none while it is closed.
    const std::optional<SettingsRequest>& Request() const { return m_request; }
    // The dialog's OK with the texts of the numeric fields (in SETTING_FIELDS order) and the
    // continue box: the first refused field's id, or 0 when every field passed and the run
    // started. A refused answer keeps the dialog open. Settings that are unsound are refused
    // with their warning (its texts put into the page's language by `translate`) and the
    // field to return to, unless `runUnsound`: the user was asked and chose to run them.
    struct FieldRefusal {
        int id = 0;
        const char* prompt = "";  // Japanese, "%1" and "%2" standing for the bounds
        bool outOfRange = false;
        std::string unsoundWarning;  // with the question whether to run them anyway
    };
    FieldRefusal AnswerStart(const std::vector<std::string>& texts, bool continueRun,
                             bool runUnsound = false,
                             const std::function<std::string(const char*)>& translate = {});
    void CancelStart();

    // --- The address: a setting under its runner option's name (without "--"), a burner
    // ("ends", "centre") or the seed. The error names what is wrong; empty when taken.
    std::string ApplyOption(const std::string& name, const std::string& value);

    // --- What the page shows.
    const CRunControl& Control() const { return m_control; }
    const RunButtons& ShownButtons() const { return m_shownButtons; }
    bool TimerOn() const { return m_bTimerOn; }
    int TimerPeriod() const { return m_nTimerPeriod; }
    // Counts the step timer's (re)starts: the page restarts its pacing when it changes.
    int TimerStarts() const { return m_nTimerStarts; }
    // The averages of the last tick, for the history panel's status bar; none yet.
    // The last averages shown: whole numbers, or NaN or an infinity where cells are not finite.
    const std::optional<std::pair<double, double>>& Averages() const { return m_averages; }
    // Whether the run has paused on cells that are not finite or below absolute zero since
    // the last call: the page then says so once.
    bool TakeDivergence() { return std::exchange(m_bDivergencePending, false); }
    const CVesselView& View() const { return m_view; }
    long long TicksRun() const { return m_sim.TicksRun(); }

    // --- The history panel's graph: made for a client area of cx x cy (the graph above the
    // 22-pixel status bar), false for one smaller than 100 x 100.
    bool ResizeGraph(int cx, int cy);
    const std::vector<std::uint8_t>& GraphRgba();
    int GraphWidth() const { return m_bmpGraph.Pixels().Width(); }
    int GraphHeight() const { return m_bmpGraph.Pixels().Height(); }
    bool GraphChanged() const { return m_bGraphStale; }

    // The whole run's history as the CSV file the desktop saves.
    std::string HistoryCsv() const;

    static constexpr int GRAPH_STATUS_HEIGHT = 22;
    static constexpr int GRAPH_MIN_CLIENT = 100;
    // The title with the tick count follows the run at most this often, as on the desktop.
    static constexpr int TITLE_REFRESH_MS = 100;

private:
    void StartStepTimer(int periodMs) override;
    void StopStepTimer() override;
    void ShowRunButtons(const RunButtons& buttons) override;
    void ShowBurnerCaptions() override {}
    void DrawFlames() override;
    std::optional<StartAnswer> RunSettingsDialog(const SimulationSettings& current,
                                                 bool canContinue) override;
    void ShowFreshRun() override;
    void Invalidate() override { m_bFrameChanged = true; }
    // The page shows the run control's title as it paints, at most every TITLE_REFRESH_MS,
    // as the desktop's title follows a run at the faster speeds.
    void ShowTitle(const std::string&) override {}
    void ShowOpenedRun(const RunFile& run) override;
    void HistoryReset() override { m_bGraphStale = true; }
    void SampleTaken() override { m_bGraphStale = true; }
    void BeginCellBatch(int columns, int rows) override { m_cellBatch.Begin(columns, rows); }
    void FlushCellBatch() override { m_cellBatch.Flush(); }
    void ShowAverages(double temperature, double heat) override {
        m_averages = {temperature, heat};
    }
    void ReportDivergence() override { m_bDivergencePending = true; }
    void RefreshPanel() override { m_view.RefreshInfo(); }
    void TicksShown(bool) override { m_bFrameChanged = true; }

    CSimulation m_sim;
    CVesselView m_view{m_sim};
    CCellRedrawBatch m_cellBatch{m_view};
    CRunControl m_control{m_sim, *this};
    int m_cx = 0;
    int m_cy = 0;
    std::vector<std::uint8_t> m_frameRgba;
    bool m_bFrameChanged = true;

    RunButtons m_shownButtons;
    bool m_bTimerOn = false;
    int m_nTimerPeriod = 0;
    int m_nTimerStarts = 0;
    std::optional<std::pair<double, double>> m_averages;
    bool m_bDivergencePending = false;

    // The settings the first dialog shows: the program's, or the address's.
    SimulationSettings m_firstSettings;
    std::optional<SettingsRequest> m_request;
    std::optional<StartAnswer> m_answer;

    MemoryDC m_dcGraph;
    FrameBitmap m_bmpGraph;
    FrameBitmap* m_pOldGraphBitmap = nullptr;
    std::vector<std::uint8_t> m_graphRgba;
    bool m_bGraphStale = true;
};
