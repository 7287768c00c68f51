#pragma once

#include <QString>

#include "Translations.h"
#include "VesselView.h"

// A window rectangle in screen coordinates, outer frame included, right and bottom
// exclusive: the form in which the profile stores it.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const ScreenRect&) const = default;
};

// The values kept between runs: nine of the window positions and their option, and the
// interface language.
struct ProfileValues {
    ScreenRect mainWnd{339, 108, 783, 589};
    ScreenRect historyWnd{0, 0, 337, 212};
    bool saveWindowPos = false;
    UiLanguage language = UiLanguage::Japanese;
    TextSize textSize = TextSize::Standard;
    bool operator==(const ProfileValues&) const = default;
};

// The profile file: the executable's base name plus ".ini", in the working directory.
// When the working directory cannot be determined, the executable's directory is used.
QString ProfilePath(const QString& workingDirectory, const QString& executablePath);

// A profile larger than this (1 MiB) is neither read nor written over: reading it would cost
// its size in memory and rewriting it far more, for nine numbers and a language.
constexpr qint64 MAX_PROFILE_SIZE = 1024 * 1024;
bool IsProfileTooLarge(const QString& path);

// Missing file, missing keys and values that are not integers give the defaults; a language
// other than "en" is Japanese. A profile that is too large gives the defaults and says so
// on stderr.
ProfileValues ReadProfile(const QString& path);
// Writes the nine window values. The language is written as "en" for English; Japanese is
// written as "ja" only over a stored "en", so a profile that never chose a language keeps
// its nine keys alone and an unknown value stays as it was. The text size (key TextSize:
// "standard", "large" or "extra-large") is kept alike: written when it is not the standard
// size or replaces a stored one. A profile that cannot be
// written, or is too large, is left as it was.
void WriteProfile(const QString& path, const ProfileValues& values);
