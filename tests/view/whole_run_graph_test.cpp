// The whole-run graph's axes and points, worked out for known runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WholeRunGraph.h"

namespace {

// A font of 6 x 10 pixel characters.
const TextMeasure kMeasure{10,
                           [](std::string_view text) { return static_cast<int>(6 * text.size()); }};

TEST(WholeRunAxis, TheSpanIsTheNextRoundNumber) {
    const struct {
        long long last, span;
    } cases[] = {{0, 10},           {10, 10},           {11, 20},
                 {150, 200},        {201, 500},         {10200, 20000},
                 {999999, 1000000}, {1000001, 2000000}, {9000000, 10000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(WholeRunSpan(c.last), c.span) << c.last;
    }
}

TEST(WholeRunAxis, TickLabelsAreShort) {
    const struct {
        long long ticks;
        const char* label;
    } cases[] = {{0, "0"},          {500, "500"},      {2000, "2k"},      {2500, "2.5k"},
                 {1500000, "1.5M"}, {20000000, "20M"}, {3000000000, "3G"}};
    for (const auto& c : cases) {
        EXPECT_EQ(TickLabel(c.ticks), c.label);
    }
}

// The 100 samples of a run with the default interval end at tick 10,200: the axis runs to
// 20,000 in steps of 5,000.
TEST(WholeRunAxis, AxesOfAKnownRun) {
    const WholeRunLayout l = LayOutWholeRun(400, 300, 10200, kMeasure);
    ASSERT_TRUE(l.Usable());
    EXPECT_EQ(l.span, 20000);
    // Left labels "100" (18 pixels) and right ones "2500" (24 pixels), each with its tick.
    EXPECT_EQ(l.left, 4 + 18 + 4);
    EXPECT_EQ(l.right, 399 - (4 + 24 + 4));
    EXPECT_EQ(l.top, 4 + 10 + 4 + 5);
    EXPECT_EQ(l.bottom, 300 - 4 - 10 - 10 - 4 - 1);

    std::vector<std::string> labels;
    for (const AxisTick& t : l.tickAxis) {
        labels.push_back(t.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"0", "5k", "10k", "15k", "20k"}));
    EXPECT_EQ(l.tickAxis.front().pixel, l.left);
    EXPECT_EQ(l.tickAxis.back().pixel, l.right);
    EXPECT_EQ(l.tickAxis[2].pixel, l.left + (l.right - l.left + 1) / 2);

    ASSERT_EQ(l.temperatureAxis.size(), 6u);
    EXPECT_EQ(l.temperatureAxis.front().pixel, l.bottom);  // 0 C
    EXPECT_EQ(l.temperatureAxis.back().pixel, l.top);      // 100 C
    EXPECT_EQ(l.TemperatureY(50), (l.top + l.bottom + 1) / 2);
    ASSERT_EQ(l.heatAxis.size(), 6u);  // 0 to 2500 J
    EXPECT_EQ(l.heatAxis.back().label, "2500");
    EXPECT_EQ(l.HeatY(2671.02), l.top);  // boiling water's heat meets 100 C
    EXPECT_EQ(l.HeatY(1e9), l.top);      // values past the axes stay on the edge
    EXPECT_EQ(l.TemperatureY(-300), l.bottom);

    // Too small for its labels: no plot.
    EXPECT_FALSE(LayOutWholeRun(60, 40, 10200, kMeasure).Usable());
}

TEST(WholeRunPoints, AMillionSamplesKeepTheirEndsAndExtremes) {
    std::vector<CRunHistory::Entry> entries;
    for (long long i = 1; i <= 1000000; ++i) {
        entries.push_back(
            {i * 102, 15 + static_cast<int>(i / 20000), 63 + static_cast<int>(i / 5000)});
    }
    entries[500000].temperature = 99;  // one spike
    const WholeRunLayout l = LayOutWholeRun(640, 300, entries.back().tick, kMeasure);
    const std::vector<CurvePoint> points = WholeRunPoints(l, entries, 0);
    EXPECT_LE(points.size(), 6u * static_cast<std::size_t>(l.right - l.left + 1));
    EXPECT_EQ(points.front().x, l.X(102));
    EXPECT_EQ(points.back().x, l.X(entries.back().tick));
    EXPECT_EQ(points.back().temperatureY, l.TemperatureY(entries.back().temperature));
    bool spike = false;
    for (const CurvePoint& p : points) {
        spike = spike || p.temperatureY == l.TemperatureY(99);
    }
    EXPECT_TRUE(spike);
    // From an index on: only those samples.
    EXPECT_EQ(WholeRunPoints(l, entries, entries.size() - 1).size(), 1u);
    EXPECT_TRUE(WholeRunPoints(l, entries, entries.size()).empty());
}

}  // namespace
