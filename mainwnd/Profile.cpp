#include "Profile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const char* const kSaveWindowPos = "Option/SaveWindowPos";
const char* const kLanguage = "Option/Language";

struct RectKeys {
    const char* left;
    const char* top;
    const char* right;
    const char* bottom;
};
constexpr RectKeys kMainKeys{"Size/MainWndPosX1", "Size/MainWndPosY1", "Size/MainWndPosX2",
                             "Size/MainWndPosY2"};
constexpr RectKeys kHistoryKeys{"Size/HistoryWndPosX1", "Size/HistoryWndPosY1",
                                "Size/HistoryWndPosX2", "Size/HistoryWndPosY2"};

int ReadInt(const QSettings& settings, const char* key, int fallback) {
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

ScreenRect ReadRect(const QSettings& settings, const RectKeys& keys, const ScreenRect& fallback) {
    return ScreenRect{ReadInt(settings, keys.left, fallback.left),
                      ReadInt(settings, keys.top, fallback.top),
                      ReadInt(settings, keys.right, fallback.right),
                      ReadInt(settings, keys.bottom, fallback.bottom)};
}

void WriteRect(QSettings& settings, const RectKeys& keys, const ScreenRect& rect) {
    settings.setValue(keys.left, rect.left);
    settings.setValue(keys.top, rect.top);
    settings.setValue(keys.right, rect.right);
    settings.setValue(keys.bottom, rect.bottom);
}

}  // namespace

QString ProfilePath(const QString& workingDirectory, const QString& executablePath) {
    const QFileInfo executable(executablePath);
    const QString directory =
        workingDirectory.isEmpty() ? executable.absolutePath() : workingDirectory;
    return QDir(directory).filePath(executable.completeBaseName() + QStringLiteral(".ini"));
}

ProfileValues ReadProfile(const QString& path) {
    const QSettings settings(path, QSettings::IniFormat);
    const ProfileValues defaults;
    ProfileValues values;
    values.mainWnd = ReadRect(settings, kMainKeys, defaults.mainWnd);
    values.historyWnd = ReadRect(settings, kHistoryKeys, defaults.historyWnd);
    values.saveWindowPos = ReadInt(settings, kSaveWindowPos, 0) != 0;
    values.language = LanguageFromCode(settings.value(kLanguage).toString());
    return values;
}

void WriteProfile(const QString& path, const ProfileValues& values) {
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(kSaveWindowPos, values.saveWindowPos ? 1 : 0);
    WriteRect(settings, kMainKeys, values.mainWnd);
    WriteRect(settings, kHistoryKeys, values.historyWnd);
    const bool storedEnglish =
        LanguageFromCode(settings.value(kLanguage).toString()) == UiLanguage::English;
    if (values.language == UiLanguage::English || storedEnglish) {
        settings.setValue(kLanguage, LanguageCode(values.language));
    }
    settings.sync();
}
