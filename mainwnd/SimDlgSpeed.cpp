// The main window's run speeds and single step.
#include <QAction>
#include <QActionGroup>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QMenu>
#include <algorithm>
#include <cstring>

#include "MainTexts.h"
#include "RunSpeed.h"
#include "SimDlg.h"
#include "Translations.h"

namespace {
// Ticks between two looks at the clock at the fastest speed: a few tenths of a millisecond.
constexpr long long kTimedSlice = 512;
// The title with the tick count follows the run at most this often.
constexpr int kTitleRefreshMs = 100;
}  // namespace

void CSimDlg::CreateSpeedActions() {
    auto* group = new QActionGroup(this);
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        QAction* action = group->addAction(Tr(RunSpeed::LABELS[speed]));
        action->setCheckable(true);
        action->setChecked(speed == m_nSpeed);
        connect(action, &QAction::triggered, this, [this, speed] { SetSpeed(speed); });
        m_pSpeedActions[speed] = action;
    }
    // Shortcuts that work wherever the focus is in the window; Space, Enter and Escape
    // stay with the buttons.
    auto addShortcut = [this](std::initializer_list<QKeySequence> keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
        return action;
    };
    addShortcut({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                 QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
                [this] { SetSpeed(m_nSpeed + 1); });
    addShortcut({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)},
                [this] { SetSpeed(m_nSpeed - 1); });
    m_pStepAction = addShortcut({QKeySequence(Qt::Key_S)}, [this] { SingleStep(); });
    m_pStepAction->setText(Tr(RunSpeed::SINGLE_STEP));
}

void CSimDlg::AddRunMenu(QMenu& menu) {
    QMenu* speeds = menu.addMenu(Tr(RunSpeed::MENU));
    for (QAction* action : m_pSpeedActions) {
        speeds->addAction(action);
    }
    m_pStepAction->setEnabled(IsPaused());
    menu.addAction(m_pStepAction);
}

void CSimDlg::SetSpeed(int speed) {
    m_nSpeed = std::clamp(speed, 0, RunSpeed::COUNT - 1);
    m_pSpeedActions[m_nSpeed]->setChecked(true);
    ShowTitle();
}

bool CSimDlg::IsPaused() const {
    return std::strcmp(m_pszStartButtonText, MainTexts::STOP) == 0 &&
           std::strcmp(m_pszPauseButtonText, MainTexts::RESUME) == 0;
}

void CSimDlg::SingleStep() {
    if (!IsPaused()) {
        return;
    }
    RunTimerMessage(1);
    ShowTitle();
}

void CSimDlg::RunTimerMessage(long long ticks) {
    if (!m_sim.HasGrid() || !m_pHistoryDlg) {
        return;
    }
    CHistoryRecorder& recorder = m_pHistoryDlg->Recorder();
    QElapsedTimer clock;
    clock.start();
    m_cellBatch.Begin(m_sim.Columns(), m_sim.Rows());
    if (ticks > 0) {
        m_sim.RunTicks(ticks, recorder, m_pHistoryDlg.get());
    } else {
        // The budget covers the drawing of the changed cells too, which took about as
        // long last time as it will now.
        const qint64 budgetNs = RunSpeed::FASTEST_BUDGET_MS * 1000000LL;
        const qint64 ticksNs = std::max(budgetNs / 4, budgetNs - m_nLastFlushNs);
        do {
            m_sim.RunTicks(kTimedSlice, recorder, m_pHistoryDlg.get());
        } while (clock.nsecsElapsed() < ticksNs);
    }
    const qint64 flushStart = clock.nsecsElapsed();
    m_cellBatch.Flush();
    m_nLastFlushNs = clock.nsecsElapsed() - flushStart;
    UpdateHistory();
    m_view.RefreshSelectedInfo();
    if (m_nSpeed == RunSpeed::NORMAL) {
        InvalidateAfterTick();
        return;
    }
    if (!m_titleTimer.isActive()) {
        m_titleTimer.start(kTitleRefreshMs);
    }
    // Long messages come back to back: a repaint that is due goes ahead of the next one
    // instead of waiting for a timer behind it.
    if (!m_sinceLastPaint.isValid() || m_sinceLastPaint.elapsed() >= SCREEN_REFRESH_MS) {
        m_repaintTimer.stop();
        update();
    } else {
        InvalidateAfterTick();
    }
}
