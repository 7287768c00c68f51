#pragma once

#include <string>
#include <string_view>

#include "SettingsTemplate.h"
#include "SimulationSettings.h"

// The settings a run starts from, field by field: what the settings dialog shows and checks
// and what the runner's options set. The values the program starts with and the ranges are
// those of SimulationSettings; this table says how each one is read, checked and described.

enum class SettingKind { Int, Real, Check };

struct SettingField {
    int id;  // the settings dialog's control
    SettingKind kind;
    // The value the field edits: the member of its kind.
    int SimulationSettings::*intValue = nullptr;
    double SimulationSettings::*realValue = nullptr;
    bool SimulationSettings::*checkValue = nullptr;
    // Inclusive range of a checked field; unchecked fields take any value of their kind.
    bool bounded = false;
    double low = 0.0;
    double high = 0.0;
    // The field defines the starting grid, so it is locked while a stopped run is continued.
    bool fixesStartGrid = false;
    const char* option = nullptr;  // the runner's option; null where the runner has none
    // Tooltip: what the value means, its unit and its range ("%1" and "%2" stand for the
    // bounds), in Japanese and in English.
    const char* tip = nullptr;
    const char* tipEnglish = nullptr;
};

// The numeric fields in the order the dialog exchanges them, which decides which bad field is
// reported first; then the check box, which is not exchanged as a number.
inline constexpr SettingField SETTING_FIELDS[] = {
    {.id = IDC_INITIAL_TEMPERATURE,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::initialTemperature,
     .bounded = true,
     .low = MIN_INITIAL_TEMPERATURE,
     .high = MAX_INITIAL_TEMPERATURE,
     .fixesStartGrid = true,
     .option = "--initial-temperature",
     .tip = "初めの水の温度 [℃]。%1 ～ %2 の整数。",
     .tipEnglish = "Temperature of the water at the start, in °C: an integer from %1 to %2."},
    {.id = IDC_CONVECTION_RATIO,
     .kind = SettingKind::Real,
     .realValue = &SimulationSettings::convectionRatio,
     .bounded = true,
     .low = MIN_CONVECTION_RATIO,
     .high = MAX_CONVECTION_RATIO,
     .option = "--convection-ratio",
     .tip = "対流で上下のセルの熱が入れ替わる割合 (単位なし)。%1 ～ %2 の数値。",
     .tipEnglish = "Share of heat exchanged by convection between a cell and the one below "
                   "(no unit): a number from %1 to %2."},
    {.id = IDC_CONDUCTION_COEFFICIENT,
     .kind = SettingKind::Real,
     .realValue = &SimulationSettings::conductionCoefficient,
     .option = "--conduction",
     .tip = "隣り合うセルの間の熱伝導の係数 (単位なし)。数値 (範囲の制限なし)。",
     .tipEnglish =
         "Coefficient of heat conduction between neighbouring cells (no unit): any number."},
    {.id = IDC_COOLING_COEFFICIENT,
     .kind = SettingKind::Real,
     .realValue = &SimulationSettings::coolingCoefficient,
     .option = "--cooling",
     .tip = "壁と水面から室温へ冷える係数 (単位なし)。数値 (範囲の制限なし)。",
     .tipEnglish = "Coefficient of cooling towards room temperature through the walls and the "
                   "surface (no unit): any number."},
    {.id = IDC_ROOM_TEMPERATURE,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::roomTemperature,
     .option = "--room-temperature",
     .tip = "室温 [℃]。整数 (範囲の制限なし)。",
     .tipEnglish = "Room temperature, in °C: any integer."},
    {.id = IDC_STRONG_FLAME_POWER,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::strongFlamePower,
     .option = "--strong",
     .tip = "強火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。",
     .tipEnglish = "Heat a strong flame gives the bottom cells, in cal per tick: any integer."},
    {.id = IDC_MEDIUM_FLAME_POWER,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::mediumFlamePower,
     .option = "--medium",
     .tip = "中火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。",
     .tipEnglish = "Heat a medium flame gives the bottom cells, in cal per tick: any integer."},
    {.id = IDC_WEAK_FLAME_POWER,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::weakFlamePower,
     .option = "--weak",
     .tip = "弱火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。",
     .tipEnglish = "Heat a weak flame gives the bottom cells, in cal per tick: any integer."},
    {.id = IDC_STEP_INTERVAL,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::stepIntervalMs,
     .bounded = true,
     .low = MIN_STEP_INTERVAL,
     .high = MAX_STEP_INTERVAL,
     .tip = "1ティックの間隔 [ms] (速度 ×1 のとき)。%1 ～ %2 の整数。",
     .tipEnglish = "Time between two ticks at speed ×1, in ms: an integer from %1 to %2."},
    {.id = IDC_COLUMNS,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::columns,
     .bounded = true,
     .low = MIN_GRID_SIZE,
     .high = MAX_GRID_SIZE,
     .fixesStartGrid = true,
     .option = "--columns",
     .tip = "横方向のセルの数。%1 ～ %2 の整数。",
     .tipEnglish = "Number of cells across the vessel: an integer from %1 to %2."},
    {.id = IDC_ROWS,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::rows,
     .bounded = true,
     .low = MIN_GRID_SIZE,
     .high = MAX_GRID_SIZE,
     .fixesStartGrid = true,
     .option = "--rows",
     .tip = "縦方向のセルの数。%1 ～ %2 の整数。",
     .tipEnglish = "Number of cells from the surface to the bottom: an integer from %1 to %2."},
    {.id = IDC_HISTORY_INTERVAL,
     .kind = SettingKind::Int,
     .intValue = &SimulationSettings::historyInterval,
     .option = "--history-interval",
     .tip = "履歴の標本の間隔 [ティック]。標本は (この値 + 2) ティックごとに取ります。整数 "
            "(範囲の制限なし)。",
     .tipEnglish = "Interval of the history samples, in ticks: a sample is taken every (this "
                   "value + 2) ticks. Any integer."},
    {.id = IDC_CONTINUE,
     .kind = SettingKind::Check,
     .checkValue = &SimulationSettings::continueRun,
     .tip = "止めたシミュレーションを続きから実行します。初めの温度と容器の大きさは変わりません。",
     .tipEnglish = "Continues the stopped run; the initial temperature and the vessel size stay "
                   "as they were."},
};

// The dialog's own texts, Japanese; each has its English text in the program's text table.
namespace SettingsTexts {
constexpr const char* CONFIRM_DEFAULT = "各値をデフォルト値に戻します。";
constexpr const char* CAPTION_CONFIRM = "確認";
constexpr const char* PROMPT_INTEGER = "整数を入力してください。";
constexpr const char* PROMPT_NUMBER = "数値を入力してください。";
constexpr const char* PROMPT_INTEGER_RANGE = "%1 から %2 までの整数を入力してください。";
constexpr const char* PROMPT_NUMBER_RANGE = "%1 から %2 までの数値を入力してください。";
}  // namespace SettingsTexts

// What is wrong with a field's text.
enum class FieldError { None, NotANumber, OutOfRange };

// The field by its dialog control or its runner option; null when there is none.
const SettingField* FindSettingField(int id);
const SettingField* FindSettingOption(std::string_view option);

// Reads a numeric field's text (see NumberText.h) and checks its range. Only a value that
// passes reaches `settings`.
FieldError ReadSettingField(const SettingField& field, std::string_view text,
                            SimulationSettings& settings);

// A numeric field's value as the dialog shows it, and a bound of its range.
std::string SettingFieldText(const SettingField& field, const SimulationSettings& settings);
std::string SettingBoundText(const SettingField& field, double bound);

// The prompt for a refused text (Japanese; "%1" and "%2" stand for the bounds).
const char* SettingPrompt(const SettingField& field, FieldError error);

// Puts `value` in place of the first `placeholder` ("%1") in `text`.
void FillPlaceholder(std::string& text, std::string_view placeholder, const std::string& value);
// A field's tooltip or prompt, in whatever language, with the bounds of a checked field put in
// for "%1" and "%2".
std::string WithSettingBounds(const SettingField& field, std::string text);
