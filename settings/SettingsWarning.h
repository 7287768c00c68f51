#pragma once

#include <functional>
#include <string>

#include "SimulationSettings.h"

// The warning shown before a run whose settings the model names as unsound (Soundness.h),
// and the report of a run that has left every physical value behind. Japanese here; each has
// its English text in the program's text table.
namespace WarningTexts {
// The warning's two lines: what is wrong, and the stable range.
constexpr const char* UNSTABLE = "この値では計算が不安定になり、正しい結果になりません。";
constexpr const char* STABLE_RANGE =
    "安定な範囲: 熱伝導の係数 k は 0 ～ %1、冷却の係数は 0 ～ (1/k − 4)/2%2、火力は 0 "
    "以上、室温は %3 ℃ 以上です。";
constexpr const char* COOLING_LIMIT = " (k = %1 では %2 まで)";
constexpr const char* COOLING_UNLIMITED = " (k = 0 では上限なし)";
constexpr const char* RUN_ANYWAY = "このまま実行しますか?";
constexpr const char* DIVERGED =
    "計算が不安定になり、数値でない温度か -273.15 ℃ より低い温度のセルが出たため、一時停止しま"
    "した。";
}  // namespace WarningTexts

// The warning for `settings`, with the stable range for their present values, its texts put
// into the front end's language by `translate` (given each Japanese text); empty when the
// settings are sound.
std::string SettingsWarning(const SimulationSettings& settings,
                            const std::function<std::string(const char*)>& translate);

// The first field, in the order of exchange, whose own value makes the settings unsound (it
// alone set back to its default changes what is wrong; where no field does, as with two
// negative flames, the first whose value is unsound among the defaults): the field to return
// to when the user declines to run them. 0 when the settings are sound.
int FirstUnsoundField(const SimulationSettings& settings);
