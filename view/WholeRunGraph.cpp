#include "WholeRunGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "HistoryGraph.h"

namespace {

constexpr int TICK_LENGTH = 4;
constexpr int GAP = 4;

// Rounds `value` scaled to [0, 1] onto the pixels from `low` (0) to `high` (1); values past
// either end stay there.
int Place(double fraction, int low, int high) {
    if (!(fraction > 0.0)) {  // NaN too
        return low;
    }
    if (fraction >= 1.0) {
        return high;
    }
    return low + static_cast<int>(std::lround(fraction * (high - low)));
}

}  // namespace

long long WholeRunSpan(long long lastTick) {
    for (long long power = 10;; power *= 10) {
        for (const long long factor : {1, 2, 5}) {
            if (factor * power >= lastTick) {
                return factor * power;
            }
        }
        if (power > 1000000000000000000 / 10) {
            return lastTick;
        }
    }
}

std::string TickLabel(long long ticks) {
    struct Unit {
        long long size;
        const char* suffix;
    };
    static constexpr Unit UNITS[] = {{1000000000, "G"}, {1000000, "M"}, {1000, "k"}};
    for (const Unit& unit : UNITS) {
        if (ticks >= unit.size) {
            char text[32];
            // At most one decimal: the spans' steps are 1, 2 or 5 times a power of ten.
            if (ticks % unit.size == 0) {
                std::snprintf(text, sizeof text, "%lld%s", ticks / unit.size, unit.suffix);
            } else {
                std::snprintf(text, sizeof text, "%.1f%s",
                              static_cast<double>(ticks) / static_cast<double>(unit.size),
                              unit.suffix);
            }
            return text;
        }
    }
    return std::to_string(ticks);
}

int WholeRunLayout::X(long long tick) const {
    return Place(static_cast<double>(tick) / static_cast<double>(span), left, right);
}

int WholeRunLayout::TemperatureY(double celsius) const {
    return Place(celsius / TEMPERATURE_FULL_SCALE, bottom, top);
}

int WholeRunLayout::HeatY(double joules) const {
    return Place(joules / HEAT_FULL_SCALE, bottom, top);
}

WholeRunLayout LayOutWholeRun(int width, int height, long long lastTick,
                              const TextMeasure& measure) {
    WholeRunLayout layout;
    layout.width = width;
    layout.height = height;
    layout.span = WholeRunSpan(lastTick);

    std::vector<AxisTick> temperature;
    for (int celsius = 0; celsius <= 100; celsius += 20) {
        temperature.push_back({static_cast<double>(celsius), 0, std::to_string(celsius)});
    }
    std::vector<AxisTick> heat;
    for (int joules = 0; joules <= HEAT_FULL_SCALE; joules += 500) {
        heat.push_back({static_cast<double>(joules), 0, std::to_string(joules)});
    }
    auto widest = [&measure](const std::vector<AxisTick>& ticks) {
        int most = 0;
        for (const AxisTick& tick : ticks) {
            most = std::max(most, measure.width(tick.label));
        }
        return most;
    };
    const int h = measure.height;
    layout.legendTop = GAP;
    // Half a label's height above the top tick and below the bottom one, so that the labels
    // standing at the ticks stay on the surface.
    layout.top = GAP + h + GAP + h / 2;
    layout.left = GAP + widest(temperature) + TICK_LENGTH;
    layout.right = width - 1 - (GAP + widest(heat) + TICK_LENGTH);
    layout.tickAxisTitleTop = height - GAP - h;
    layout.bottom = layout.tickAxisTitleTop - h - TICK_LENGTH - 1;
    if (!layout.Usable()) {
        return layout;
    }

    for (AxisTick& tick : temperature) {
        tick.pixel = layout.TemperatureY(tick.value);
    }
    for (AxisTick& tick : heat) {
        tick.pixel = layout.HeatY(tick.value);
    }
    layout.temperatureAxis = std::move(temperature);
    layout.heatAxis = std::move(heat);

    // Five or four steps: 1 -> 0.2, 2 -> 0.5, 5 -> 1 of the span's power of ten.
    long long power = 1;
    while (power * 10 <= layout.span) {
        power *= 10;
    }
    const long long leading = layout.span / power;
    const long long step = leading == 1 ? power / 5 : leading == 2 ? power / 2 : power;
    for (long long tick = 0; step > 0 && tick <= layout.span; tick += step) {
        layout.tickAxis.push_back({static_cast<double>(tick), layout.X(tick), TickLabel(tick)});
    }
    return layout;
}

std::vector<CurvePoint> WholeRunPoints(const WholeRunLayout& layout,
                                       const std::vector<CRunHistory::Entry>& entries,
                                       std::size_t from) {
    std::vector<CurvePoint> points;
    auto point = [&layout](const CRunHistory::Entry& e) {
        return CurvePoint{layout.X(e.tick), layout.TemperatureY(e.temperature),
                          layout.HeatY(e.heat)};
    };
    for (std::size_t i = from; i < entries.size();) {
        // The samples on one pixel column: its first and last, and the extremes of each curve
        // between, in the order they were taken.
        const int x = point(entries[i]).x;
        std::size_t end = i;
        std::size_t picks[6] = {i, i, i, i, i, i};
        while (end < entries.size() && point(entries[end]).x == x) {
            const CRunHistory::Entry& e = entries[end];
            auto keep = [&](std::size_t& pick, bool better) { pick = better ? end : pick; };
            keep(picks[1], e.temperature < entries[picks[1]].temperature);
            keep(picks[2], e.temperature > entries[picks[2]].temperature);
            keep(picks[3], e.heat < entries[picks[3]].heat);
            keep(picks[4], e.heat > entries[picks[4]].heat);
            ++end;
        }
        picks[5] = end - 1;
        std::sort(std::begin(picks), std::end(picks));
        const std::size_t* last = std::unique(std::begin(picks), std::end(picks));
        for (const std::size_t* pick = picks; pick != last; ++pick) {
            points.push_back(point(entries[*pick]));
        }
        i = end;
    }
    return points;
}
