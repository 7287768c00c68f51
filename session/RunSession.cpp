#include "RunSession.h"

#include <cmath>

CRunSession::CRunSession() {
    m_sim.SetRedrawObserver(&m_cellBatch);
    m_shownButtons = m_control.Buttons();
    // As a window opens: the graph's samples at the initial temperature, the default interval.
    m_control.ResetHistory(m_sim.InitialTemperature());
    m_control.SetHistoryInterval(DEFAULT_HISTORY_INTERVAL);
    m_firstSettings = m_sim.CurrentSettings(m_control.HistoryInterval());
}

std::optional<Changes> CRunSession::Resize(int cx, int cy) {
    if (!AcceptsClientSize(cx, cy)) {
        return std::nullopt;
    }
    m_view.CreateFrame(cx, cy);
    m_view.FullRebuild(m_control.HasStarted());
    if (!m_openedBubbles.empty()) {
        m_view.RestoreBubbles(m_openedBubbles);
        m_view.RefreshSelectedInfo();
    }
    return Shown::Frame | Shown::Title;
}

Changes CRunSession::StartStop() {
    return Run([this] { m_control.OnStartStop(); });
}

Changes CRunSession::Start(const StartAnswer& answer) {
    if (!m_request) {
        return {};
    }
    return Run([this, &answer] {
        m_request.reset();
        m_answer = answer;
        // The start the run control makes with this answer: the dialog answers at once.
        m_control.OnStartStop();
        m_answer.reset();
    });
}

Changes CRunSession::CancelStart() {
    if (!m_request) {
        return {};
    }
    return Run([this] {
        m_request.reset();
        ShowRunButtons(m_control.Buttons());
    });
}

Changes CRunSession::HoldTimer() {
    return Run([this] { m_control.HoldTimer(); });
}

Changes CRunSession::ReleaseTimer(const Changes& held) {
    return Run([this, &held] { m_control.ReleaseTimer(held.Has(Shown::StepTimer)); });
}

Changes CRunSession::SetTextSize(TextSize size) {
    if (size == m_view.GetTextSize()) {
        return {};
    }
    m_view.SetTextSize(size);
    if (!m_view.HasFrame()) {
        return {};
    }
    m_view.FullRebuild(m_control.HasStarted());
    if (m_control.HasStarted()) {
        m_view.RefreshInfo();  // the panel in the new size at once
    }
    return Shown::Frame;
}

Changes CRunSession::MouseMove(int x, int y) {
    if (!m_control.HasStarted() || !m_view.HasFrame()) {
        return {};
    }
    m_view.MouseMove(x, y);
    return Shown::Frame | Shown::Panel;
}

Changes CRunSession::LButtonUp(int x, int y) {
    if (!m_control.HasStarted() || !m_view.HasFrame() || !m_view.LButtonUp(x, y)) {
        return {};
    }
    return Shown::Frame | Shown::Panel;
}

std::optional<Changes> CRunSession::OnCursorKey(CursorKey key) {
    if (!m_control.HasStarted()) {
        return std::nullopt;
    }
    switch (key) {
        case CursorKey::Left:
            m_view.MoveCursor(-1, 0);
            break;
        case CursorKey::Right:
            m_view.MoveCursor(1, 0);
            break;
        case CursorKey::Up:
            m_view.MoveCursor(0, -1);
            break;
        case CursorKey::Down:
            m_view.MoveCursor(0, 1);
            break;
        case CursorKey::Select:
            m_view.SelectAtCursor();
            break;
        case CursorKey::Leave:
            if (!m_view.Cursor()) {
                return std::nullopt;  // as anywhere else in the window: nothing
            }
            m_view.LeaveCursor();
            break;
    }
    return Shown::Frame | Shown::Panel;
}

Changes CRunSession::OpenRun(const RunFile& run) {
    return Run([this, &run] { m_control.OpenRun(run); });
}

Changes CRunSession::Release() {
    Changes changes = StopTimer();
    m_view.ReleaseFrame();
    m_sim.ReleaseGrids();
    return changes;
}

std::string CRunSession::PanelText() const {
    if (!m_control.HasStarted() || !m_sim.HasGrid()) {
        return {};
    }
    const std::optional<CellInfoText> text = m_view.PanelText();
    return text ? text->cell + "\n" + text->temperature + "\n" + text->heat : std::string();
}

RunFile CRunSession::Capture() const {
    return m_control.Capture(
        m_view.Selection().col, m_view.Selection().row,
        [this](int col, int row) { return m_view.BubbleBackground(col, row); });
}

void CRunSession::StartStepTimer(int periodMs) {
    m_nTimerPeriod = periodMs;
    m_changes |= Shown::StepTimer;
}

void CRunSession::StopStepTimer() {
    m_nTimerPeriod = 0;
    m_changes |= Shown::StepTimer;
}

void CRunSession::ShowRunButtons(const RunButtons& buttons) {
    // While the settings dialog is open the buttons stay as it opened them.
    if (!m_request) {
        m_shownButtons = buttons;
        m_changes |= Shown::RunButtons;
    }
}

void CRunSession::DrawFlames() {
    m_view.DrawFlames(m_sim.EndsFlame(), m_sim.CentreFlame());
    m_changes |= Shown::Frame;
}

std::optional<StartAnswer> CRunSession::RunSettingsDialog(const SimulationSettings& current,
                                                          bool canContinue) {
    if (m_answer) {
        return m_answer;
    }
    // Until a run has started the dialog shows the first settings (the page's address's).
    m_request = SettingsRequest{m_control.HasStarted() ? current : m_firstSettings, canContinue};
    m_changes |= Shown::SettingsAsked;
    return std::nullopt;
}

void CRunSession::ShowFreshRun() {
    m_openedBubbles.clear();
    m_view.CentreInspection();
    m_view.FullRebuild(true);
    m_changes |= Shown::Frame | Shown::Panel;
}

void CRunSession::ShowOpenedRun(const RunFile& run) {
    // Kept so that size messages before the first tick draw the bubbles the same way.
    m_openedBubbles = run.bubbleBackgrounds;
    m_view.ShowRunReadBack(run.selectedCol, run.selectedRow, run.bubbleBackgrounds);
    m_changes |= Shown::Frame | Shown::Panel;
}

void CRunSession::BeginCellBatch(int columns, int rows) {
    m_openedBubbles.clear();
    m_cellBatch.Begin(columns, rows);
}

void CRunSession::ShowAverages(double temperature, double heat) {
    m_averages = {temperature, heat};
    m_changes |= Shown::Averages;
}

void CRunSession::RefreshPanel() {
    m_view.RefreshInfo();
    m_changes |= Shown::Panel;
}

void CRunSession::TicksShown(bool backToBack) {
    m_changes |= backToBack ? Shown::Ticks | Shown::BackToBack : Changes(Shown::Ticks);
}
