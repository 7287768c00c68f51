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

namespace {
// Ticks between two looks at the clock at the fastest speed: a few tenths of a millisecond.
constexpr long long kTimedSlice = 512;
// The title with the tick count follows the run at most this often.
constexpr int kTitleRefreshMs = 100;
}  // namespace

void CSimDlg::CreateSpeedActions() {
    auto* group = new QActionGroup(this);
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        QAction* action = group->addAction(QString::fromUtf8(RunSpeed::LABELS[speed]));
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
    m_pStepAction->setText(QString::fromUtf8(RunSpeed::SINGLE_STEP));
}

void CSimDlg::AddRunMenu(QMenu& menu) {
    QMenu* speeds = menu.addMenu(QString::fromUtf8(RunSpeed::MENU));
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
    m_cellBatch.Begin(m_sim.m_nColumns, m_sim.m_nRows);
    if (ticks > 0) {
        m_sim.RunTicks(ticks, recorder, m_pHistoryDlg.get());
    } else {
        QElapsedTimer clock;
        clock.start();
        do {
            m_sim.RunTicks(kTimedSlice, recorder, m_pHistoryDlg.get());
        } while (clock.elapsed() < RunSpeed::FASTEST_BUDGET_MS);
    }
    m_cellBatch.Flush();
    UpdateHistory();
    m_view.RefreshSelectedInfo();
    if (m_nSpeed != RunSpeed::NORMAL && !m_titleTimer.isActive()) {
        m_titleTimer.start(kTitleRefreshMs);
    }
    InvalidateAfterTick();
}
