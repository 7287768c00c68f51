#include "MenuWidgets.h"

#include <QAction>
#include <QActionGroup>
#include <QList>
#include <QMenu>

#include "Translations.h"

QKeySequence KeySequenceOf(const MenuKey& key) {
    // Qt's codes of the keys of printable ASCII characters are the characters themselves,
    // letters in upper case.
    const int code = static_cast<unsigned char>(key.key);
    return QKeySequence(key.keypad ? QKeyCombination(Qt::KeypadModifier, Qt::Key(code))
                                   : QKeyCombination(Qt::Key(code)));
}

void AddMenuItems(QMenu& menu, const std::vector<MenuItem>& items,
                  const std::function<void(MenuId)>& choose) {
    QActionGroup* group = nullptr;  // of the radio items in a row
    for (const MenuItem& item : items) {
        if (item.kind != MenuItemKind::Radio) {
            group = nullptr;
        }
        if (item.kind == MenuItemKind::Separator) {
            menu.addSeparator();
            continue;
        }
        if (item.kind == MenuItemKind::Submenu) {
            QMenu* submenu = menu.addMenu(Tr(item.text));
            submenu->setEnabled(item.enabled);
            AddMenuItems(*submenu, item.items, choose);
            continue;
        }
        QAction* action = nullptr;
        if (item.kind == MenuItemKind::Radio) {
            if (group == nullptr) {
                group = new QActionGroup(&menu);
            }
            action = group->addAction(Tr(item.text));
            menu.addAction(action);
        } else {
            action = menu.addAction(Tr(item.text));
        }
        if (item.kind != MenuItemKind::Command) {
            action->setCheckable(true);
            action->setChecked(item.checked);
        }
        action->setEnabled(item.enabled);
        QList<QKeySequence> keys;
        for (const MenuKey& key : item.keys) {
            keys.append(KeySequenceOf(key));
        }
        action->setShortcuts(keys);
        QObject::connect(action, &QAction::triggered, &menu,
                         [choose, id = item.id] { choose(id); });
    }
}
