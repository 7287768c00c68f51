#pragma once

#include <QKeySequence>
#include <functional>
#include <vector>

#include "MenuModel.h"

class QMenu;

// The engine's menu items as Qt shows them: texts in the current language, check marks
// (radio items that follow one another share one exclusive group), enabled states, shortcuts
// and submenus. Choosing an item calls `choose` with its id.
void AddMenuItems(QMenu& menu, const std::vector<MenuItem>& items,
                  const std::function<void(MenuId)>& choose);

// A key of the engine's menu as a Qt key sequence.
QKeySequence KeySequenceOf(const MenuKey& key);
