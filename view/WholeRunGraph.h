#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "PixelBuffer.h"
#include "RunHistory.h"

// The whole-run graph of the history window: every sample since the fresh start on one graph
// with axes, worked out here without any drawing, so that any front end places the same
// ticks, labels and points. The ticks of the run run along the bottom from 0 to a round span
// at least the last sample's tick; degrees C (0 to 100) stand on the left and joules (0 to the
// heat of boiling water, as in the 100-sample graph) on the right.

// Texts of the graph (each has its English text in the program's text table).
namespace WholeRunTexts {
constexpr const char* MENU_ITEM = "全体を表示";
constexpr const char* TEMPERATURE_LEGEND = "平均温度 [°C] (左)";
constexpr const char* HEAT_LEGEND = "平均熱量 [J] (右)";
constexpr const char* TICK_AXIS = "ステップ";
}  // namespace WholeRunTexts

constexpr Rgb WHOLE_RUN_BACKGROUND = RGB(255, 255, 255);
constexpr Rgb WHOLE_RUN_GRIDLINE = RGB(225, 225, 225);
constexpr Rgb WHOLE_RUN_AXIS = RGB(0, 0, 0);

// The smallest of 1, 2 and 5 times a power of ten that is at least `lastTick` (10 at least),
// so that the axis keeps its scale while the run grows into it.
long long WholeRunSpan(long long lastTick);

// One tick mark of an axis: its value, its pixel (x for the bottom axis, y for the others)
// and its label.
struct AxisTick {
    double value;
    int pixel;
    std::string label;
};

// How the graph's texts measure in the front end's font.
struct TextMeasure {
    int height;                                  // line height
    std::function<int(std::string_view)> width;  // advance of a UTF-8 text
};

struct WholeRunLayout {
    int width = 0;  // the surface
    int height = 0;
    // The plot: the curves stay in [left, right] x [top, bottom], inclusive.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    long long span = 10;                    // ticks at the right end of the plot
    std::vector<AxisTick> tickAxis;         // along the bottom, x pixels
    std::vector<AxisTick> temperatureAxis;  // on the left, y pixels
    std::vector<AxisTick> heatAxis;         // on the right, y pixels
    int legendTop = 0;                      // the legend's line, above the plot
    int tickAxisTitleTop = 0;               // the bottom axis's name, under its labels

    // Where a sample goes; values past the axes stay on the plot's edge.
    int X(long long tick) const;
    int TemperatureY(double celsius) const;
    int HeatY(double joules) const;
    bool Usable() const { return right > left && bottom > top; }
};

// The layout of a width x height surface for a run whose last sample was taken at `lastTick`,
// with the texts measured by `measure`. The plot is not Usable() on a surface too small for
// the labels.
WholeRunLayout LayOutWholeRun(int width, int height, long long lastTick,
                              const TextMeasure& measure);

// A tick count as a short label: "0", "500", "2k", "1.5M", "20M".
std::string TickLabel(long long ticks);

// The points of the curves from entry `from` on, one (x, temperature y, heat y) per sample,
// but never more than the extremes and the ends of the samples that fall on one pixel column:
// a million samples draw as a few thousand points and look the same.
struct CurvePoint {
    int x;
    int temperatureY;
    int heatY;
};
std::vector<CurvePoint> WholeRunPoints(const WholeRunLayout& layout,
                                       const std::vector<CRunHistory::Entry>& entries,
                                       std::size_t from);
