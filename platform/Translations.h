#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

// Installs Qt's own Japanese translations (qtbase_ja from Qt's translations folder) in `app`,
// so that the standard buttons of message boxes and dialogs read as a Japanese desktop shows
// them. Returns the installed translator, owned by `app`, or null, leaving the English texts,
// when the translations are not installed.
QTranslator* InstallPlatformTranslations(QCoreApplication& app);

// The languages of the interface. The program's texts are written in Japanese; English comes
// from the program's text table (Texts.h).
enum class UiLanguage { Japanese, English };

// "en" is English; anything else, missing included, is Japanese.
UiLanguage LanguageFromCode(const QString& code);
QString LanguageCode(UiLanguage language);

// Switches the application's translators: Japanese loads Qt's qtbase_ja and no translation of
// our own texts; English loads our English translation and not qtbase_ja. Every widget then
// receives QEvent::LanguageChange. Switching to the current language does nothing. Returns
// false when the English texts could not be installed (Japanese stays).
bool SetUiLanguage(UiLanguage language);
UiLanguage CurrentUiLanguage();

// One of the program's own texts (UTF-8, Japanese) as the current language shows it.
QString Tr(const char* source);
