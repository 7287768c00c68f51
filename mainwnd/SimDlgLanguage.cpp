// The main window's interface language: the context menu's choice and the retranslation of
// the window's own texts.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QPushButton>

#include "MainTexts.h"
#include "RunSpeed.h"
#include "SimDlg.h"
#include "Translations.h"

void CSimDlg::SetLanguage(UiLanguage language) {
    // Installing the translators sends every window QEvent::LanguageChange; each window
    // then shows its texts again in the new language.
    SetUiLanguage(language);
    m_language = CurrentUiLanguage();
}

void CSimDlg::AddLanguageMenu(QMenu& menu) {
    menu.addSeparator();
    auto* group = new QActionGroup(&menu);
    const std::pair<const char*, UiLanguage> choices[] = {
        {MainTexts::LANGUAGE_ENGLISH, UiLanguage::English},
        {MainTexts::LANGUAGE_JAPANESE, UiLanguage::Japanese}};
    for (const auto& [name, language] : choices) {
        // Each language is named in its own words, whatever the current one.
        QAction* action = group->addAction(QString::fromUtf8(name));
        action->setCheckable(true);
        action->setChecked(m_language == language);
        connect(action, &QAction::triggered, this, [this, lang = language] { SetLanguage(lang); });
        menu.addAction(action);
    }
}

void CSimDlg::RetranslateUi() {
    // The run state is held in the Japanese captions; only what is shown is translated.
    const std::pair<QPushButton*, std::pair<const char*, const char*>> buttons[] = {
        {m_pHistoryButton, {MainTexts::HISTORY, MainTexts::HISTORY_TIP}},
        {m_pPauseButton, {m_pszPauseButtonText, MainTexts::PAUSE_TIP}},
        {m_pCentreButton, {m_sim.CentreButtonText(), MainTexts::CENTRE_TIP}},
        {m_pEndsButton, {m_sim.EndsButtonText(), MainTexts::ENDS_TIP}},
        {m_pStartButton, {m_pszStartButtonText, MainTexts::START_TIP}},
        {m_pCloseButton, {MainTexts::CLOSE, MainTexts::CLOSE_TIP}}};
    for (const auto& [button, texts] : buttons) {
        if (button != nullptr) {
            button->setText(Tr(texts.first));
            button->setToolTip(Tr(texts.second));
        }
    }
    for (int speed = 0; speed < RunSpeed::COUNT; ++speed) {
        if (m_pSpeedActions[speed] != nullptr) {
            m_pSpeedActions[speed]->setText(Tr(RunSpeed::LABELS[speed]));
        }
    }
    if (m_pStepAction != nullptr) {
        m_pStepAction->setText(Tr(RunSpeed::SINGLE_STEP));
    }
}
