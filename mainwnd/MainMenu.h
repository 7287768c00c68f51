#pragma once

#include <QObject>
#include <functional>

#include "MenuModel.h"

class QPoint;
class QWidget;
class CRunSession;

// The main window's context menu and its keys as the engine's menu model gives them. The
// window gives the state the model is computed from, shows what a choice changed and does
// what it leaves to the window; the
// keys (+ and = faster, - slower, S one step) work wherever the focus is in the window, while
// Space, Enter and Escape stay with the buttons.
class CMainMenu : public QObject {
    Q_OBJECT

public:
    using StateSource = std::function<MenuState()>;
    using ActionRunner = std::function<void(const MenuOutcome&)>;
    CMainMenu(QWidget& window, CRunSession& session, StateSource state, ActionRunner run);

    // Shows the menu at `globalPos` until an item is chosen or the menu is dismissed.
    void Exec(const QPoint& globalPos);
    // Chooses an item as the menu or a key does.
    void Choose(MenuId id);

private:
    QWidget& m_window;
    CRunSession& m_session;
    StateSource m_state;
    ActionRunner m_run;
};
