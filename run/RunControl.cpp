#include "RunControl.h"

#include <algorithm>
#include <cstring>

#include "BurnerCaptions.h"
#include "MainTexts.h"
#include "Numbers.h"
#include "RunSpeed.h"
#include "Soundness.h"

namespace {

// Whether a step left the cell as it was: bit for bit, so that a NaN that stays NaN is no
// change and a +0 that became -0 is.
// (Compared as bytes: the WebAssembly build's library has no std::bit_cast.)
bool SameCell(const CCell& a, const CCell& b) {
    return a.m_nPhase == b.m_nPhase &&
           std::memcmp(&a.m_dTemperature, &b.m_dTemperature, sizeof(double)) == 0 &&
           std::memcmp(&a.m_dHeat, &b.m_dHeat, sizeof(double)) == 0;
}

}  // namespace

CRunControl::CRunControl(CSimulation& sim, RunControlHost& host) : m_sim(sim), m_host(host) {}

RunButtons CRunControl::Buttons() const {
    // The start button shows "stop" while a run is set up and not stopped; the pause button
    // shows "resume" while paused. Pausing needs a run that steps or is paused, and a paused
    // run can only be resumed, not stopped.
    const bool active = m_state == RunState::Running || m_state == RunState::Paused;
    return RunButtons{active ? MainTexts::STOP : MainTexts::START, m_state != RunState::Paused,
                      m_state == RunState::Paused ? MainTexts::RESUME : MainTexts::PAUSE, active};
}

void CRunControl::SetTimer() {
    m_host.StartStepTimer(m_sim.StepInterval());
    m_bTimerRunning = true;
}

void CRunControl::KillTimer() {
    if (m_bTimerRunning) {
        m_host.StopStepTimer();
        m_bTimerRunning = false;
    }
}

bool CRunControl::HoldTimer() {
    const bool wasRunning = m_bTimerRunning;
    KillTimer();
    return wasRunning;
}

void CRunControl::ReleaseTimer(bool wasRunning) {
    if (wasRunning) {
        SetTimer();
    }
}

void CRunControl::StopTimer() {
    KillTimer();
}

void CRunControl::OnStartStop() {
    if (m_state == RunState::Paused) {
        return;
    }
    ClearStepChanges();
    if (m_state == RunState::Running) {
        KillTimer();
        m_state = RunState::Stopped;
        m_bCanContinue = true;
        m_host.ShowRunButtons(Buttons());
        return;
    }

    // While the dialog is open the pause button can already be pressed; it does nothing
    // until a run is set up.
    RunButtons opening = Buttons();
    opening.pauseEnabled = true;
    m_host.ShowRunButtons(opening);
    m_host.DrawFlames();
    const std::optional<StartAnswer> answer =
        m_host.RunSettingsDialog(m_sim.CurrentSettings(HistoryInterval()), m_bCanContinue);
    if (!answer) {
        m_host.ShowRunButtons(Buttons());
        return;
    }
    m_bStarted = true;
    const SimulationSettings& settings = answer->settings;
    if (m_bCanContinue && answer->continueRun) {
        // The grid, its size, the initial temperature, the history and the selection stay.
        m_sim.ContinuedStart(settings);
        SetHistoryInterval(settings.historyInterval);
    } else {
        ResetHistory(settings.initialTemperature);
        SetHistoryInterval(settings.historyInterval);
        m_sim.FreshStart(settings);
        m_bDivergenceReported = false;
        m_host.ShowFreshRun();
    }
    m_state = RunState::Running;
    m_host.ShowRunButtons(Buttons());
    m_host.Invalidate();
    m_host.ShowTitle(Title());
    SetTimer();
}

void CRunControl::OnPauseResume() {
    if (m_state == RunState::Running) {
        KillTimer();
        m_state = RunState::Paused;
    } else if (m_state == RunState::Paused) {
        ClearStepChanges();
        SetTimer();
        m_state = RunState::Running;
    } else {
        return;
    }
    m_host.ShowRunButtons(Buttons());
}

void CRunControl::OnEndsFlame() {
    m_sim.AdvanceEndsFlame();
    AfterFlameChange();
}

void CRunControl::OnCentreFlame() {
    m_sim.AdvanceCentreFlame();
    AfterFlameChange();
}

void CRunControl::AfterFlameChange() {
    // The new level shows at once and heats from the very next bottom step of a run.
    m_host.DrawFlames();
    if (m_sim.HasGrid()) {
        m_sim.ComputeBurnerHeat();
    }
    m_host.ShowBurnerCaptions();
    m_host.Invalidate();
}

const char* CRunControl::EndsCaption() const {
    return EndsFlameCaption(m_sim.EndsFlame());
}

const char* CRunControl::CentreCaption() const {
    return CentreFlameCaption(m_sim.CentreFlame());
}

std::string CRunControl::Title() const {
    return RunSpeed::Title(MainTexts::TITLE, m_nSpeed, m_sim.TicksRun());
}

void CRunControl::SetSpeed(int speed) {
    m_nSpeed = std::clamp(speed, 0, RunSpeed::COUNT - 1);
    m_host.ShowTitle(Title());
}

void CRunControl::ResetHistory(int initialTemperature) {
    m_recorder.ResetHistory(initialTemperature);
    m_runHistory.Clear();
    m_host.HistoryReset();
}

RunFile CRunControl::Capture(
    int selectedCol, int selectedRow,
    const std::function<std::uint32_t(int col, int row)>& background) const {
    return CaptureRun(m_sim, m_recorder, m_runHistory, selectedCol, selectedRow, background);
}

void CRunControl::OpenRun(const RunFile& run) {
    KillTimer();
    RestoreRun(run, m_sim, m_recorder, m_runHistory);
    m_bStarted = true;
    m_bCanContinue = true;
    m_state = RunState::Stopped;
    m_host.ShowRunButtons(Buttons());
    m_host.ShowBurnerCaptions();
    m_host.ShowOpenedRun(run);
    m_host.HistoryReset();
    m_host.ShowAverages(m_sim.AverageTemperature(), CalToJoules(m_sim.AverageHeat()));
    m_host.Invalidate();
    m_host.ShowTitle(Title());
}

void CRunControl::OnSample(long long tick, int temperature, int heat) {
    m_runHistory.OnSample(tick, temperature, heat);
    m_host.SampleTaken();
}

void CRunControl::OnTimer() {
    RunTimerMessage(RunSpeed::TICKS_PER_MESSAGE[m_nSpeed]);
}

void CRunControl::SingleStep() {
    if (!IsPaused()) {
        return;
    }
    m_stepChanges.clear();
    std::vector<CCell> before;
    if (m_sim.HasGrid()) {
        before.reserve(static_cast<std::size_t>(m_sim.Columns()) * m_sim.Rows());
        for (int col = 0; col < m_sim.Columns(); ++col) {
            for (int row = 0; row < m_sim.Rows(); ++row) {
                before.push_back(m_sim.Cell(row, col));
            }
        }
    }
    RunTimerMessage(1);
    if (!before.empty() && m_sim.HasGrid()) {
        auto was = before.begin();
        for (int col = 0; col < m_sim.Columns(); ++col) {
            for (int row = 0; row < m_sim.Rows(); ++row, ++was) {
                if (!SameCell(*was, m_sim.Cell(row, col))) {
                    m_stepChanges.push_back(GridCell{col, row});
                }
            }
        }
    }
    m_host.ShowTitle(Title());
}

void CRunControl::ClearStepChanges() {
    if (!m_stepChanges.empty()) {
        m_stepChanges.clear();
        m_host.Invalidate();
    }
}

void CRunControl::RunTimerMessage(long long ticks) {
    if (!m_sim.HasGrid()) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    m_host.BeginCellBatch(m_sim.Columns(), m_sim.Rows());
    if (ticks > 0) {
        m_sim.RunTicks(ticks, m_recorder, this);
    } else {
        // The budget covers the drawing of the changed cells too, which took about as
        // long last time as it will now.
        const Clock::duration budget = std::chrono::milliseconds(RunSpeed::FASTEST_BUDGET_MS);
        const Clock::duration forTicks = std::max(budget / 4, budget - m_lastFlush);
        do {
            m_sim.RunTicks(RunSpeed::TIMED_SLICE, m_recorder, this);
        } while (Clock::now() - start < forTicks);
    }
    const Clock::time_point flushStart = Clock::now();
    m_host.FlushCellBatch();
    m_lastFlush = Clock::now() - flushStart;
    // The ticks have recorded their samples already; the averages shown are the last tick's.
    const double heat = m_sim.AverageHeatValue();
    m_host.ShowAverages(m_sim.AverageTemperatureValue(),
                        std::isfinite(heat) ? CalToJoules(m_sim.AverageHeat()) : heat);
    m_host.RefreshPanel();
    m_host.TicksShown(m_nSpeed != RunSpeed::NORMAL);
    CheckDivergence();
}

void CRunControl::CheckDivergence() {
    if (m_bDivergenceReported || UnphysicalCellCount(m_sim) == 0) {
        return;
    }
    m_bDivergenceReported = true;
    if (m_state == RunState::Running) {
        KillTimer();
        m_state = RunState::Paused;
        m_host.ShowRunButtons(Buttons());
    }
    m_host.ReportDivergence();
}
