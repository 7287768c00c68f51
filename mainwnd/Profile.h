#pragma once

#include <QString>

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

// The nine values kept between runs.
struct ProfileValues {
    ScreenRect mainWnd{339, 108, 783, 589};
    ScreenRect historyWnd{0, 0, 337, 212};
    bool saveWindowPos = false;
    bool operator==(const ProfileValues&) const = default;
};

// The profile file: the executable's base name plus ".ini", in the working directory.
// When the working directory cannot be determined, the executable's directory is used.
QString ProfilePath(const QString& workingDirectory, const QString& executablePath);

// Missing file, missing keys and values that are not integers give the defaults.
ProfileValues ReadProfile(const QString& path);
// Writes all nine values. A profile that cannot be written is left as it was.
void WriteProfile(const QString& path, const ProfileValues& values);
