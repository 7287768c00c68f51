#include "MainMenu.h"

#include <QAction>
#include <QList>
#include <QMenu>
#include <QWidget>
#include <map>
#include <utility>

#include "MenuWidgets.h"

CMainMenu::CMainMenu(QWidget& window, CRunSession& session, StateSource state, ActionRunner run)
    : QObject(&window),
      m_window(window),
      m_session(session),
      m_state(std::move(state)),
      m_run(std::move(run)) {
    // One window-wide action per item the keys choose, with all of its keys.
    std::map<MenuId, QList<QKeySequence>> keys;
    for (const MenuShortcut& shortcut : MenuShortcuts()) {
        keys[shortcut.id].append(KeySequenceOf(shortcut.key));
    }
    for (const auto& [id, sequences] : keys) {
        auto* action = new QAction(this);
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, item = id] { Choose(item); });
        window.addAction(action);
    }
}

void CMainMenu::Exec(const QPoint& globalPos) {
    QMenu menu(&m_window);
    AddMenuItems(menu, ContextMenuItems(m_state()), [this](MenuId id) { Choose(id); });
    menu.exec(globalPos);
}

void CMainMenu::Choose(MenuId id) {
    m_run(ChooseMenuItem(m_session, m_state(), id));
}
