#pragma once

#include <string>

// The run speeds the main window offers: how many ticks one timer message runs. The
// fastest runs as many ticks as fit a time budget per message instead.
namespace RunSpeed {

constexpr int COUNT = 6;
constexpr int NORMAL = 0;   // one tick per timer message
constexpr int FASTEST = 5;  // "最大"
// Ticks per timer message of each speed; 0 for the fastest, which is timed.
constexpr long long TICKS_PER_MESSAGE[COUNT] = {1, 10, 100, 1000, 10000, 0};
// Work per timer message at the fastest speed: short enough that the window still paints
// at the screen's rate and answers the buttons and the mouse at once.
constexpr int FASTEST_BUDGET_MS = 8;
// Ticks between two looks at the clock at the fastest speed: a few tenths of a millisecond.
constexpr long long TIMED_SLICE = 512;

// The menu's texts.
constexpr const char* MENU = "速度";
constexpr const char* LABELS[COUNT] = {"×1", "×10", "×100", "×1000", "×10000", "最大"};
constexpr const char* SINGLE_STEP = "1ステップ実行";

// The window title (UTF-8): the plain title at the normal speed; otherwise the title, the
// speed and the ticks run, e.g. "Quorvel Ver. 3.1 — ×1000 — 2,400,000 ticks".
std::string Title(const char* title, int speed, long long ticks);
// 2400000 -> "2,400,000".
std::string GroupThousands(long long value);

}  // namespace RunSpeed
