#include "Profile.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <cstdio>

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

// The permission bits of an existing file.
mode_t StatMode(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0600;
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
    values.mainWnd = ReadRect(settings, kMainKeys, defaults.mainWnd);
    values.historyWnd = ReadRect(settings, kHistoryKeys, defaults.historyWnd);
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
    // The settings are written to a copy beside the profile, read back and only then renamed
    // over it: a write cut short (a full disk, a file size limit) leaves the profile as it was.
    const std::string target = ResolveOutputPath(QFile::encodeName(path).toStdString());
    const QFileInfo targetInfo(QFile::decodeName(target.c_str()));
    QByteArray old;
    if (targetInfo.exists()) {
        QFile file(targetInfo.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            return;
        }
        old = file.readAll();
    }
    std::string tempName;
    const int fd = CreateUnique(QFile::encodeName(targetInfo.absolutePath()).toStdString(), ".tmp",
                                0666, tempName);
    if (fd < 0) {
        return;
    }
    const QString temp = QFile::decodeName(tempName.c_str());
    bool ok = true;
    for (qsizetype done = 0; ok && done < old.size();) {
        const ssize_t put =
            write(fd, old.constData() + done, static_cast<std::size_t>(old.size() - done));
        ok = put > 0;
        done += put > 0 ? put : 0;
    }
    // The copy keeps the profile's permissions; a new profile has a new file's.
    if (targetInfo.exists()) {
        ok = ok && fchmod(fd, StatMode(target)) == 0;
    }
    ok = close(fd) == 0 && ok;
    if (ok) {
        QSettings settings(temp, QSettings::IniFormat);
        settings.setValue(kSaveWindowPos, values.saveWindowPos ? 1 : 0);
        WriteRect(settings, kMainKeys, values.mainWnd);
        WriteRect(settings, kHistoryKeys, values.historyWnd);
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
        ok = settings.status() == QSettings::NoError && SameContents(settings, temp);
    }
    if (!ok || std::rename(tempName.c_str(), target.c_str()) != 0) {
        unlink(tempName.c_str());
    }
}
