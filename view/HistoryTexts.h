#pragma once

// Every text the history window shows or reports, in one place.

inline constexpr char HISTORY_CAPTION[] = "履歴ウインドウ";

// Status bar: placeholders after a resize, then the averages of every tick.
inline constexpr char STATUS_TEMPERATURE_PLACEHOLDER[] = "Average Temperature";
inline constexpr char STATUS_HEAT_PLACEHOLDER[] = "Average Heat";
inline constexpr char STATUS_TEMPERATURE_FORMAT[] = "平均温度: %d [ﾟC](青)";
inline constexpr char STATUS_HEAT_FORMAT[] = "平均熱量: %d [J](赤)";

// Fatal failures of the graph surface, its background (reported with the vessel view's
// messages, ViewMessages.h) and the window itself.
inline constexpr char MSG_CREATE_HISTORY_WINDOW[] = "履歴ウインドウを作成できませんでした。";

inline constexpr int EXIT_RELEASE_SURFACE = -1;
inline constexpr int EXIT_CREATE_SURFACE = -2;
inline constexpr int EXIT_GRAPH_BACKGROUND = -3;
inline constexpr int EXIT_CREATE_HISTORY_WINDOW = -101;
