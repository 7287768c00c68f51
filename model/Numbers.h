#pragma once

#include <climits>
#include <cmath>
#include <cstdint>

// Real -> int exactly as a C cast truncates toward zero, but defined for every input:
// NaN gives 0 and values beyond the int range give INT_MIN or INT_MAX.
inline int TruncToInt(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0) {
        return INT_MAX;
    }
    if (value <= -2147483649.0) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Wide integer -> int, clamped to the int range.
inline int SaturateToInt(std::int64_t value) {
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// The text shown for a value that is not finite ("NaN", "inf", "-inf"), so that it never
// reads as a number; null for a finite value.
inline const char* NonFiniteText(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    return nullptr;
}

// Heat in cal shown in joules: trunc(heat * 4.18 + 0.5).
constexpr double JOULES_PER_CAL = 4.18;
inline int CalToJoules(double heat) {
    return TruncToInt(heat * JOULES_PER_CAL + 0.5);
}
