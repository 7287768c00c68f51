#include "Burners.h"

#include <cmath>
#include <cstdint>

#include "Numbers.h"

namespace {

// The decimal literal, deliberately not the full-precision value of pi.
constexpr double BURNER_PI = 3.1415926535;

}  // namespace

int FlamePower(const SimulationSettings& settings, int level) {
    switch (level) {
        case FLAME_STRONG:
            return settings.strongFlamePower;
        case FLAME_MEDIUM:
            return settings.mediumFlamePower;
        case FLAME_WEAK:
            return settings.weakFlamePower;
        default:
            return 0;
    }
}

int ColumnBurnerHeat(int col, int columns, int endsPower, int centrePower) {
    const std::int64_t ends = endsPower;
    const std::int64_t centre = centrePower;
    // Any int powers are accepted, so the difference and the sum are formed wide.
    const double difference = static_cast<double>(centre - ends);
    const double profile = std::sin((col + 1) * BURNER_PI / (columns + 1)) * difference;
    // |profile| < 2^33, so the 64-bit truncation is exact and defined.
    return SaturateToInt(static_cast<std::int64_t>(profile) + ends);
}
