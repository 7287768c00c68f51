#pragma once

// The simulation settings dialog (template 129): caption, size and every control with
// its id, kind, text and rectangle in dialog units. The controls are listed in creation order,
// which is also the order of the tab stops.

#include <cstddef>

constexpr int IDD_SETTINGS = 129;

constexpr int IDC_STATIC = -1;  // labels and group boxes, never addressed by id
constexpr int IDC_SETTINGS_OK = 1;
constexpr int IDC_SETTINGS_CANCEL = 2;
constexpr int IDC_INITIAL_TEMPERATURE = 1000;
constexpr int IDC_CONVECTION_RATIO = 1001;
constexpr int IDC_STRONG_FLAME_POWER = 1015;
constexpr int IDC_MEDIUM_FLAME_POWER = 1016;
constexpr int IDC_WEAK_FLAME_POWER = 1017;
constexpr int IDC_CONDUCTION_COEFFICIENT = 1018;
constexpr int IDC_COOLING_COEFFICIENT = 1019;
constexpr int IDC_ROOM_TEMPERATURE = 1020;
constexpr int IDC_STEP_INTERVAL = 1022;
constexpr int IDC_CONTINUE = 1028;
constexpr int IDC_COLUMNS = 1029;
constexpr int IDC_ROWS = 1030;
constexpr int IDC_DEFAULT = 1031;
constexpr int IDC_HISTORY_INTERVAL = 1032;

enum SettingsItemKind : int {
    ITEM_GROUP_BOX,
    ITEM_STATIC,
    ITEM_EDIT,
    ITEM_AUTO_CHECK_BOX,
    ITEM_DEF_PUSH_BUTTON,
    ITEM_PUSH_BUTTON,
};

struct SettingsItem {
    int id;
    SettingsItemKind kind;
    const char* text;     // UTF-8; "&" marks the keyboard mnemonic of check boxes and buttons
    const char* english;  // the text in English; null where it reads the same in both
    int x, y, cx, cy;     // dialog units
};

constexpr const char* SETTINGS_CAPTION = "シミュレーション設定";
constexpr int SETTINGS_WIDTH = 243;  // client area, dialog units
constexpr int SETTINGS_HEIGHT = 311;

inline constexpr SettingsItem SETTINGS_ITEMS[] = {
    {IDC_STATIC, ITEM_GROUP_BOX, "初期値の設定", "Initial values", 11, 10, 220, 250},
    {IDC_STATIC, ITEM_STATIC, "初めの温度 (0 ～ 100) :", "Initial temp. (0 - 100):", 37, 27, 75, 8},
    {IDC_INITIAL_TEMPERATURE, ITEM_EDIT, "", nullptr, 139, 24, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "℃", nullptr, 179, 27, 15, 8},
    {IDC_STATIC, ITEM_STATIC, "対流の割合 (0 ～ 1) :", "Convection (0 - 1):", 37, 46, 70, 8},
    {IDC_CONVECTION_RATIO, ITEM_EDIT, "", nullptr, 139, 43, 30, 14},
    {IDC_STATIC, ITEM_GROUP_BOX, "容器の大きさ(セルの数) (3 ～ 80)",
     "Vessel size in cells (3 - 80)", 37, 63, 166, 33},
    {IDC_STATIC, ITEM_STATIC, "横方向 : ", "Across: ", 54, 78, 27, 8},
    {IDC_COLUMNS, ITEM_EDIT, "", nullptr, 85, 75, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "縦方向 : ", "Down: ", 127, 78, 27, 8},
    {IDC_ROWS, ITEM_EDIT, "", nullptr, 158, 75, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "強火の火力 :", "Strong flame:", 37, 105, 55, 8},
    {IDC_STRONG_FLAME_POWER, ITEM_EDIT, "", nullptr, 139, 102, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "cal  ", nullptr, 179, 105, 14, 8},
    {IDC_STATIC, ITEM_STATIC, "中火の火力 :", "Medium flame:", 37, 125, 49, 8},
    {IDC_MEDIUM_FLAME_POWER, ITEM_EDIT, "", nullptr, 139, 122, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "cal  ", nullptr, 179, 125, 14, 8},
    {IDC_STATIC, ITEM_STATIC, "弱火の火力 :", "Weak flame:", 37, 144, 47, 8},
    {IDC_WEAK_FLAME_POWER, ITEM_EDIT, "", nullptr, 139, 141, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "cal  ", nullptr, 179, 144, 14, 8},
    {IDC_STATIC, ITEM_STATIC, "熱伝導の係数 :", "Conduction:", 37, 163, 56, 8},
    {IDC_CONDUCTION_COEFFICIENT, ITEM_EDIT, "", nullptr, 139, 160, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "冷却の係数 :", "Cooling:", 37, 182, 50, 8},
    {IDC_COOLING_COEFFICIENT, ITEM_EDIT, "", nullptr, 139, 179, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "室温 :", "Room:", 37, 201, 31, 8},
    {IDC_ROOM_TEMPERATURE, ITEM_EDIT, "", nullptr, 139, 198, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "℃", nullptr, 179, 201, 15, 8},
    {IDC_STATIC, ITEM_STATIC, "シミュレーション間隔 :  ", "Step interval:  ", 37, 220, 78, 8},
    {IDC_STEP_INTERVAL, ITEM_EDIT, "", nullptr, 139, 217, 30, 14},
    {IDC_STATIC, ITEM_STATIC, "ms  ", nullptr, 179, 220, 14, 8},
    {IDC_STATIC, ITEM_STATIC, "履歴グラフの更新頻度 :  ", "History interval:  ", 37, 239, 84, 8},
    {IDC_HISTORY_INTERVAL, ITEM_EDIT, "", nullptr, 139, 236, 30, 14},
    {IDC_CONTINUE, ITEM_AUTO_CHECK_BOX, "続きから実行する(&T)", "Con&tinue the run", 18, 278, 76,
     10},
    {IDC_SETTINGS_OK, ITEM_DEF_PUSH_BUTTON, "&OK", nullptr, 99, 273, 35, 20},
    {IDC_SETTINGS_CANCEL, ITEM_PUSH_BUTTON, "&CANCEL", nullptr, 143, 273, 35, 20},
    {IDC_DEFAULT, ITEM_PUSH_BUTTON, "&DEFAULT", nullptr, 187, 273, 35, 20},
};

constexpr std::size_t SETTINGS_ITEM_COUNT = sizeof(SETTINGS_ITEMS) / sizeof(SETTINGS_ITEMS[0]);
