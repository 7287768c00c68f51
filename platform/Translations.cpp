#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <cstring>

#include "Texts.h"

namespace {

// The context every text of the program is translated in.
const char* const kContext = "Quorvel";

// The program's English texts, straight from its text table: installed like any translation,
// so that every widget is told of the change of language.
class EnglishTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* = nullptr,
                      int = -1) const override {
        if (context == nullptr || sourceText == nullptr || std::strcmp(context, kContext) != 0) {
            return {};
        }
        const char* english = Texts::English(sourceText);
        return english == nullptr ? QString() : QString::fromUtf8(english);
    }

    bool isEmpty() const override { return false; }
};

QPointer<QTranslator> g_platformJapanese;
QPointer<QTranslator> g_english;
UiLanguage g_language = UiLanguage::Japanese;

void Remove(QPointer<QTranslator>& translator) {
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

}  // namespace

QTranslator* InstallPlatformTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

UiLanguage LanguageFromCode(const QString& code) {
    return code.trimmed() == QStringLiteral("en") ? UiLanguage::English : UiLanguage::Japanese;
}

QString LanguageCode(UiLanguage language) {
    return language == UiLanguage::English ? QStringLiteral("en") : QStringLiteral("ja");
}

bool SetUiLanguage(UiLanguage language) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return false;
    }
    if (language == UiLanguage::English) {
        if (!g_english) {
            auto* english = new EnglishTranslator(app);
            if (!QCoreApplication::installTranslator(english)) {
                delete english;
                return false;
            }
            g_english = english;
        }
        Remove(g_platformJapanese);
    } else {
        Remove(g_english);
        if (!g_platformJapanese) {
            g_platformJapanese = InstallPlatformTranslations(*app);
        }
    }
    g_language = language;
    return true;
}

UiLanguage CurrentUiLanguage() {
    return g_language;
}

QString Tr(const char* source) {
    return QCoreApplication::translate(kContext, source);
}
