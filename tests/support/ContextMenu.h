#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Picks the item `item` of `window`'s context menu as a user does: the menu opened by the
// right mouse button, the item made active and Return pressed on it.
inline void PickMenuItem(QWidget& window, const QString& item) {
    QTimer::singleShot(0, [item] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text() == item) {
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        }
        ADD_FAILURE() << item.toStdString();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                            window.mapToGlobal(QPoint(20, 20)));
    QCoreApplication::sendEvent(&window, &event);
    QCoreApplication::processEvents();
}
