#include "LanguageMenu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <utility>

#include "MainTexts.h"

void AddLanguageMenu(QMenu& menu, UiLanguage current,
                     const std::function<void(UiLanguage)>& choose) {
    menu.addSeparator();
    auto* group = new QActionGroup(&menu);
    const std::pair<const char*, UiLanguage> choices[] = {
        {MainTexts::LANGUAGE_ENGLISH, UiLanguage::English},
        {MainTexts::LANGUAGE_JAPANESE, UiLanguage::Japanese}};
    for (const auto& [name, language] : choices) {
        QAction* action = group->addAction(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(current == language);
        QObject::connect(action, &QAction::triggered, &menu,
                         [choose, lang = language] { choose(lang); });
        menu.addAction(action);
    }
}
