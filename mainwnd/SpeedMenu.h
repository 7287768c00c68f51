#pragma once

#include <QObject>
#include <functional>

#include "RunSpeed.h"

class QAction;
class QMenu;
class QWidget;
class CRunSession;
class Changes;

// The run speeds and single step as the main window offers them: a "速度" submenu of the
// context menu with one checkable item per speed, the single-step item, and shortcuts that
// work wherever the focus is in the window (+ and = faster, - slower, S one step).
class CSpeedMenu : public QObject {
    Q_OBJECT

public:
    // `show` shows what a command of the session changed.
    CSpeedMenu(QWidget& window, CRunSession& session, std::function<void(const Changes&)> show);

    // Adds the submenu and the single-step item, showing the present speed and whether a
    // single step can be taken.
    void AddTo(QMenu& menu);
    // The items' texts in the current language.
    void Retranslate();
    // Whether a single step can be taken (the run is paused): the item and its shortcut.
    void AllowSingleStep(bool allowed);

private:
    CRunSession& m_session;
    std::function<void(const Changes&)> m_show;
    QAction* m_pSpeedActions[RunSpeed::COUNT] = {};
    QAction* m_pStepAction = nullptr;
};
