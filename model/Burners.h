#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "SimulationSettings.h"

// The burners' levels by name, and the heat a burner gives each column.

// The burner levels by the names the runner's options, the page's start options and run
// files give them, in the order their lists name them.
inline constexpr std::pair<std::string_view, FlameLevel> FLAME_LEVEL_NAMES[] = {
    {"off", FLAME_OFF}, {"strong", FLAME_STRONG}, {"medium", FLAME_MEDIUM}, {"weak", FLAME_WEAK}};

// The level a name stands for; nothing for a name that is none.
inline std::optional<FlameLevel> FlameLevelFromName(std::string_view name) {
    for (const auto& [levelName, level] : FLAME_LEVEL_NAMES) {
        if (name == levelName) {
            return level;
        }
    }
    return std::nullopt;
}

// The name of a level; empty for a value that is no level.
inline std::string_view FlameLevelName(int level) {
    for (const auto& [name, value] : FLAME_LEVEL_NAMES) {
        if (value == level) {
            return name;
        }
    }
    return {};
}

// Every name, separated by ", " and the last by `lastSeparator`: "off, strong, medium or
// weak" for " or ".
inline std::string FlameLevelChoices(std::string_view lastSeparator) {
    std::string text;
    constexpr std::size_t count = std::size(FLAME_LEVEL_NAMES);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            text += i + 1 == count ? lastSeparator : std::string_view(", ");
        }
        text += FLAME_LEVEL_NAMES[i].first;
    }
    return text;
}

// The power of a burner at `level` under `settings`, in cal per step; 0 for off.
int FlamePower(const SimulationSettings& settings, int level);

// The heat the burners give the bottom cell of column `col` (0 to columns - 1) each time it
// is chosen: a half sine across the columns, the ends' power at the walls rising (or
// falling) towards the centre's power in the middle, truncated toward zero and kept within
// int. Any int powers are accepted.
int ColumnBurnerHeat(int col, int columns, int endsPower, int centrePower);
