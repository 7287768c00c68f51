#pragma once

#include <functional>

#include "Translations.h"

class QMenu;

// Adds the interface language items to the context menu after a separator: each language
// named in its own words, whatever the current one, the current one checked. Choosing one
// calls `choose` with it.
void AddLanguageMenu(QMenu& menu, UiLanguage current,
                     const std::function<void(UiLanguage)>& choose);
