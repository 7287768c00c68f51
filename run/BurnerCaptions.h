#pragma once

#include "SimulationSettings.h"

// The burner buttons' captions. A caption names the level the next click selects.
inline constexpr const char* ENDS_CAPTION_OFF = "消火(両端)";
inline constexpr const char* ENDS_CAPTION_STRONG = "強火(両端)";
inline constexpr const char* ENDS_CAPTION_MEDIUM = "中火(両端)";
inline constexpr const char* ENDS_CAPTION_WEAK = "弱火(両端)";
inline constexpr const char* CENTRE_CAPTION_OFF = "消火(中央)";
inline constexpr const char* CENTRE_CAPTION_STRONG = "強火(中央)";
inline constexpr const char* CENTRE_CAPTION_MEDIUM = "中火(中央)";
inline constexpr const char* CENTRE_CAPTION_WEAK = "弱火(中央)";

// One row of a burner button's cycle: the caption shown while the burner is at the level
// before this row's, the level a click then sets and the caption shown after it.
struct FlameCycleEntry {
    const char* caption;
    FlameLevel level;
    const char* nextCaption;
};
extern const FlameCycleEntry ENDS_FLAME_CYCLE[4];
extern const FlameCycleEntry CENTRE_FLAME_CYCLE[4];

// The caption a burner button shows while its burner is at `level`: the name of the level
// its next click selects. A value that is no level gets an empty caption.
const char* EndsFlameCaption(int level);
const char* CentreFlameCaption(int level);
