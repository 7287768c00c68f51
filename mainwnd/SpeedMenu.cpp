#include "SpeedMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "RunSession.h"
#include "Translations.h"

CSpeedMenu::CSpeedMenu(QWidget& window, CRunSession& session,
                       std::function<void(const Changes&)> show)
    : QObject(&window), m_session(session), m_show(std::move(show)) {
    auto* group = new QActionGroup(this);
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        QAction* action = group->addAction(Tr(RunSpeed::LABELS[speed]));
        action->setCheckable(true);
        action->setChecked(speed == m_session.Control().Speed());
        connect(action, &QAction::triggered, this,
                [this, speed] { m_show(m_session.SetSpeed(speed)); });
        m_pSpeedActions[speed] = action;
    }
    // Shortcuts that work wherever the focus is in the window; Space, Enter and Escape
    // stay with the buttons.
    auto addShortcut = [this, &window](std::initializer_list<QKeySequence> keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        window.addAction(action);
        return action;
    };
    addShortcut({QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal),
                 QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)},
                [this] { m_show(m_session.SetSpeed(m_session.Control().Speed() + 1)); });
    addShortcut({QKeySequence(Qt::Key_Minus), QKeySequence(Qt::KeypadModifier | Qt::Key_Minus)},
                [this] { m_show(m_session.SetSpeed(m_session.Control().Speed() - 1)); });
    m_pStepAction =
        addShortcut({QKeySequence(Qt::Key_S)}, [this] { m_show(m_session.SingleStep()); });
    m_pStepAction->setText(Tr(RunSpeed::SINGLE_STEP));
    AllowSingleStep(m_session.Control().IsPaused());
}

void CSpeedMenu::AllowSingleStep(bool allowed) {
    m_pStepAction->setEnabled(allowed);
}

void CSpeedMenu::AddTo(QMenu& menu) {
    QMenu* speeds = menu.addMenu(Tr(RunSpeed::MENU));
    m_pSpeedActions[m_session.Control().Speed()]->setChecked(true);
    for (QAction* action : m_pSpeedActions) {
        speeds->addAction(action);
    }
    menu.addAction(m_pStepAction);
}

void CSpeedMenu::Retranslate() {
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        m_pSpeedActions[speed]->setText(Tr(RunSpeed::LABELS[speed]));
    }
    m_pStepAction->setText(Tr(RunSpeed::SINGLE_STEP));
}
