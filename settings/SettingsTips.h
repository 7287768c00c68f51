#pragma once

#include "SettingsTemplate.h"

// The tooltips of the settings dialog's fields: what each value means, its unit and its range.
// "%1" and "%2" stand for the bounds the dialog checks the field against.
struct SettingsTip {
    int id;
    const char* text;  // UTF-8
};

inline constexpr SettingsTip SETTINGS_TIPS[] = {
    {IDC_INITIAL_TEMPERATURE, "初めの水の温度 [℃]。%1 ～ %2 の整数。"},
    {IDC_CONVECTION_RATIO, "対流で上下のセルの熱が入れ替わる割合 (単位なし)。%1 ～ %2 の数値。"},
    {IDC_COLUMNS, "横方向のセルの数。%1 ～ %2 の整数。"},
    {IDC_ROWS, "縦方向のセルの数。%1 ～ %2 の整数。"},
    {IDC_STRONG_FLAME_POWER,
     "強火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。"},
    {IDC_MEDIUM_FLAME_POWER,
     "中火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。"},
    {IDC_WEAK_FLAME_POWER,
     "弱火が1ティックに底のセルへ与える熱量 [cal/ティック]。整数 (範囲の制限なし)。"},
    {IDC_CONDUCTION_COEFFICIENT,
     "隣り合うセルの間の熱伝導の係数 (単位なし)。数値 (範囲の制限なし)。"},
    {IDC_COOLING_COEFFICIENT, "壁と水面から室温へ冷える係数 (単位なし)。数値 (範囲の制限なし)。"},
    {IDC_ROOM_TEMPERATURE, "室温 [℃]。整数 (範囲の制限なし)。"},
    {IDC_STEP_INTERVAL, "1ティックの間隔 [ms] (速度 ×1 のとき)。%1 ～ %2 の整数。"},
    {IDC_HISTORY_INTERVAL,
     "履歴の標本の間隔 [ティック]。標本は (この値 + 2) ティックごとに取ります。整数 "
     "(範囲の制限なし)。"},
    {IDC_CONTINUE,
     "止めたシミュレーションを続きから実行します。初めの温度と容器の大きさは変わりません。"},
};
