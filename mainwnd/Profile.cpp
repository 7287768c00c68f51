#include "Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

#include "PendingOutputs.h"

namespace {

const char* const kSaveWindowPos = "Option/SaveWindowPos";
const char* const kLanguage = "Option/Language";
const char* const kTextSize = "Option/TextSize";

struct RectKeys {
    const char* left;
    const char* top;
    const char* right;
    const char* bottom;
};
constexpr RectKeys MAIN_KEYS{"Size/MainWndPosX1", "Size/MainWndPosY1", "Size/MainWndPosX2",
                             "Size/MainWndPosY2"};
constexpr RectKeys HISTORY_KEYS{"Size/HistoryWndPosX1", "Size/HistoryWndPosY1",
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

// Whether the file at `path`, read anew, holds every key of `settings` with its value (as
// text: the file holds no types). After sync() `settings` holds what it meant to write.
bool SameContents(const QSettings& settings, const QString& path) {
    const QSettings written(path, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    if (written.status() != QSettings::NoError || written.allKeys() != keys) {
        return false;
    }
    for (const QString& key : keys) {
        const QVariant expected = settings.value(key);
        const QVariant found = written.value(key);
        if (found.toString() != expected.toString() ||
            found.toStringList() != expected.toStringList()) {
            return false;
        }
    }
    return true;
}

// The profile's bytes as they are: none for a new profile, nothing when it cannot be read.
std::optional<QByteArray> ReadOld(const QString& target) {
    if (!QFileInfo::exists(target)) {
        return QByteArray();
    }
    QFile file(target);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

// The profile `old` with the values written into it, as QSettings writes it, once it has
// read back whole: it works on a copy in a scratch folder of its own, removed afterwards.
std::optional<QByteArray> ProfileText(const QByteArray& old, const ProfileValues& values) {
    const QTemporaryDir scratch;
    const QString copy = scratch.filePath(QStringLiteral("profile.ini"));
    QFile file(copy);
    if (!scratch.isValid() || !file.open(QIODevice::WriteOnly) || file.write(old) != old.size() ||
        !file.flush()) {
        return std::nullopt;
    }
    file.close();
    {
        QSettings settings(copy, QSettings::IniFormat);
        settings.setValue(kSaveWindowPos, values.saveWindowPos ? 1 : 0);
        WriteRect(settings, MAIN_KEYS, values.mainWnd);
        WriteRect(settings, HISTORY_KEYS, values.historyWnd);
        const bool storedEnglish =
            LanguageFromCode(settings.value(kLanguage).toString()) == UiLanguage::English;
        if (values.language == UiLanguage::English || storedEnglish) {
            settings.setValue(kLanguage, LanguageCode(values.language));
        }
        const std::optional<TextSize> storedSize =
            TextSizeFromName(settings.value(kTextSize).toString().toStdString());
        if (values.textSize != TextSize::Standard ||
            storedSize.value_or(TextSize::Standard) != TextSize::Standard) {
            settings.setValue(kTextSize, QString::fromUtf8(TextSizeName(values.textSize)));
        }
        settings.sync();
        if (settings.status() != QSettings::NoError || !SameContents(settings, copy)) {
            return std::nullopt;
        }
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return file.readAll();
}

}  // namespace

QString ProfilePath(const QString& workingDirectory, const QString& executablePath) {
    const QFileInfo executable(executablePath);
    const QString directory =
        workingDirectory.isEmpty() ? executable.absolutePath() : workingDirectory;
    return QDir(directory).filePath(executable.completeBaseName() + QStringLiteral(".ini"));
}

bool IsProfileTooLarge(const QString& path) {
    const QFileInfo file(path);
    return file.exists() && file.size() > MAX_PROFILE_SIZE;
}

ProfileValues ReadProfile(const QString& path) {
    if (IsProfileTooLarge(path)) {
        std::fprintf(stderr,
                     "quorvel: the profile '%s' is larger than 1 MiB: not read, the defaults are "
                     "used and it is not written\n",
                     EscapeControls(QFile::encodeName(path).toStdString()).c_str());
        return ProfileValues{};
    }
    const QSettings settings(path, QSettings::IniFormat);
    const ProfileValues defaults;
    ProfileValues values;
    values.mainWnd = ReadRect(settings, MAIN_KEYS, defaults.mainWnd);
    values.historyWnd = ReadRect(settings, HISTORY_KEYS, defaults.historyWnd);
    values.saveWindowPos = ReadInt(settings, kSaveWindowPos, 0) != 0;
    values.language = LanguageFromCode(settings.value(kLanguage).toString());
    values.textSize = TextSizeFromName(settings.value(kTextSize).toString().toStdString())
                          .value_or(TextSize::Standard);
    return values;
}

void WriteProfile(const QString& path, const ProfileValues& values) {
    if (IsProfileTooLarge(path)) {
        return;
    }
    const std::string given = QFile::encodeName(path).toStdString();
    const std::optional<QByteArray> old =
        ReadOld(QFile::decodeName(ResolveOutputPath(given).c_str()));
    const std::optional<QByteArray> text = old ? ProfileText(*old, values) : std::nullopt;
    if (!text) {
        return;
    }
    // Through the all-or-none writer: the profile keeps its mode, a new one gets a new file's,
    // and a write cut short (a full disk, a file size limit) leaves the profile as it was and
    // no temporary file behind.
    PendingOutputs outputs;
    const std::size_t output = outputs.Add(given);
    if (outputs.Open() &&
        outputs.Write(output, text->constData(), static_cast<std::size_t>(text->size()))) {
        outputs.Commit();
    }
}
