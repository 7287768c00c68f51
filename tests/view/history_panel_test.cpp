// The history panel's sizes, status texts, redraw order and whole-run picture.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "HistoryGraph.h"
#include "HistoryPanel.h"

namespace {

std::string Japanese(const char* text) {
    return text;
}

TEST(HistoryPanelSize, TheGraphStandsAboveTheStatusBarFrom100x100On) {
    struct Case {
        int cx, cy;
        bool minimised;
        int width, height;  // the graph afterwards; refused sizes keep 200 x 200
    };
    const Case cases[] = {{100, 100, false, 100, 78},  {231, 110, false, 231, 88},
                          {321, 173, false, 321, 151}, {99, 300, false, 200, 200},
                          {300, 99, false, 200, 200},  {300, 300, true, 200, 200}};
    for (const Case& c : cases) {
        CHistoryRecorder samples;
        CHistoryPanel panel(samples, Japanese);
        ASSERT_TRUE(panel.Resize(200, 222));
        panel.ShowAverages(20, 80);
        const bool accepted = c.width != 200;
        EXPECT_EQ(panel.Resize(c.cx, c.cy, c.minimised), accepted) << c.cx << "x" << c.cy;
        EXPECT_EQ(panel.GraphWidth(), c.width);
        EXPECT_EQ(panel.GraphHeight(), c.height);
        EXPECT_EQ(panel.StatusBarTop(), c.height);
        EXPECT_EQ(panel.FirstPartRight(), c.width / 2);
        ASSERT_NE(panel.Graph(), nullptr);
        EXPECT_EQ(panel.Graph()->Size(), (Extent{c.width, c.height}));
        // A new size shows the placeholders; a refused one keeps the averages.
        EXPECT_EQ(panel.StatusText(CHistoryPanel::TEMPERATURE_PART),
                  accepted ? "Average Temperature" : "平均温度: 20 [ﾟC](青)");
    }
}

TEST(HistoryPanelStatus, AveragesReadAsWholeNumbersOrAsNotFinite) {
    CHistoryRecorder samples;
    CHistoryPanel panel(samples, Japanese);
    panel.ShowAverages(15, 63);  // no status bar yet: nothing shown
    ASSERT_TRUE(panel.Resize(200, 222));
    EXPECT_EQ(panel.StatusText(CHistoryPanel::TEMPERATURE_PART), "Average Temperature");
    EXPECT_EQ(panel.StatusText(CHistoryPanel::HEAT_PART), "Average Heat");
    struct Case {
        double temperature, heat;
        const char* temperatureText;
        const char* heatText;
    };
    const Case cases[] = {
        {15, 63, "平均温度: 15 [ﾟC](青)", "平均熱量: 63 [J](赤)"},
        {-4.9, 1e12, "平均温度: -4 [ﾟC](青)", "平均熱量: 2147483647 [J](赤)"},
        {std::nan(""), 2675.9, "平均温度: NaN [ﾟC](青)", "平均熱量: 2675 [J](赤)"},
        {-HUGE_VAL, HUGE_VAL, "平均温度: -inf [ﾟC](青)", "平均熱量: inf [J](赤)"},
    };
    for (const Case& c : cases) {
        panel.ShowAverages(c.temperature, c.heat);
        EXPECT_EQ(panel.StatusText(CHistoryPanel::TEMPERATURE_PART), c.temperatureText);
        EXPECT_EQ(panel.StatusText(CHistoryPanel::HEAT_PART), c.heatText);
    }
    // Another language's format takes the same value, not finite ones included.
    CHistoryPanel english(samples, [](const char*) { return std::string("Avg.: %d [J]"); });
    ASSERT_TRUE(english.Resize(200, 222));
    english.ShowAverages(std::nan(""), -HUGE_VAL);
    EXPECT_EQ(english.StatusText(CHistoryPanel::HEAT_PART), "Avg.: -inf [J]");
}

TEST(HistoryPanelRedraw, SamplesMakeTheGraphStaleOnceAndTakingItDrawsIt) {
    CHistoryRecorder samples;
    samples.SetHistoryInterval(0);
    CHistoryPanel panel(samples, Japanese);
    EXPECT_TRUE(panel.MarkStale());
    EXPECT_EQ(panel.Graph(), nullptr);  // no surface: the first size draws the samples
    ASSERT_TRUE(panel.Resize(200, 222));
    EXPECT_TRUE(panel.Changed());
    const PixelBuffer before = *panel.Graph();
    EXPECT_FALSE(panel.Changed());

    samples.RecordSample(100, 63);
    EXPECT_TRUE(panel.MarkStale());
    EXPECT_FALSE(panel.MarkStale());  // one repaint for many samples
    EXPECT_TRUE(panel.Changed());
    EXPECT_EQ(*panel.Graph(), before);  // at an interval of 0 the second tick takes a sample
    samples.RecordSample(100, 63);
    panel.MarkStale();
    EXPECT_FALSE(*panel.Graph() == before);
    EXPECT_FALSE(panel.IsStale());

    panel.Release();
    EXPECT_FALSE(panel.Resize(300, 300));
    EXPECT_EQ(panel.Graph(), nullptr);
}

// A run of 300 samples to tick 30,600 on a 480 x 300 graph.
class HistoryPanelWholeRun : public ::testing::Test {
protected:
    void Sample(long long i) {
        run.OnSample(i * 102, static_cast<int>(std::min<long long>(100, 15 + i / 4)),
                     static_cast<int>(std::min<long long>(2671, 63 + 9 * i)));
    }
    PixelBuffer FreshPicture(const TextOf& textOf) {
        CHistoryPanel fresh(samples, textOf);
        fresh.SetWholeRun(&run);
        fresh.Resize(480, 322);
        fresh.ShowWholeRun(true);
        return *fresh.Graph();
    }

    CHistoryRecorder samples;
    CRunHistory run;
};

TEST_F(HistoryPanelWholeRun, AxesLegendAndCurvesAndGrowingAsIfDrawnAfresh) {
    for (long long i = 1; i <= 300; ++i) {
        Sample(i);
    }
    CHistoryPanel panel(samples, Japanese);
    ASSERT_TRUE(panel.Resize(480, 322));
    EXPECT_FALSE(panel.ShowWholeRun(true));  // not offered without the run's samples
    panel.SetWholeRun(&run);
    EXPECT_TRUE(panel.ShowWholeRun(true));
    EXPECT_FALSE(panel.ShowWholeRun(true));
    const PixelBuffer& g = *panel.Graph();
    const WholeRunLayout& l = panel.WholeLayout();
    ASSERT_TRUE(l.Usable());
    EXPECT_EQ(g.Pixel(479, 299), WHOLE_RUN_BACKGROUND);
    EXPECT_EQ(g.Pixel(l.right - 3, l.TemperatureY(60)), WHOLE_RUN_GRIDLINE);
    EXPECT_EQ(g.Pixel(l.left, (l.top + l.bottom) / 2), WHOLE_RUN_AXIS);
    EXPECT_EQ(g.Pixel(l.X(20000), l.bottom + 4), WHOLE_RUN_AXIS);  // the tick's end
    EXPECT_EQ(g.Pixel(l.X(30600) - 1, l.TemperatureY(90)), TEMPERATURE_CURVE_COLOUR);
    EXPECT_EQ(g.Pixel(l.X(102) + 1, l.TemperatureY(15) - 1), TEMPERATURE_CURVE_COLOUR);
    EXPECT_EQ(g.Pixel(l.X(30600) - 1, l.HeatY(2671)), HEAT_CURVE_COLOUR);
    // The legend's lines run 2 pixels thick from a pixel before their start.
    const int legendY = l.legendTop + WholeRunTextMeasure().height / 2;
    EXPECT_EQ(g.Pixel(l.left - 1, legendY - 1), TEMPERATURE_CURVE_COLOUR);
    EXPECT_EQ(g.Pixel(l.left + 20, legendY), TEMPERATURE_CURVE_COLOUR);
    EXPECT_EQ(g.Pixel(l.left + 21, legendY), WHOLE_RUN_BACKGROUND);
    // Dark label ink left of the 100 C tick.
    bool inked = false;
    for (int x = 0; x < l.left - 5; ++x) {
        inked = inked || RedOf(g.Pixel(x, l.top)) < 128;
    }
    EXPECT_TRUE(inked);
    EXPECT_FALSE(FreshPicture([](const char* text) { return std::string(text) + "x"; }) == g);

    // Later samples are added to the picture; it is then the picture of the longer run.
    for (long long i = 301; i <= 400; ++i) {
        Sample(i);
    }
    panel.MarkStale();
    EXPECT_EQ(*panel.Graph(), FreshPicture(Japanese));
    EXPECT_EQ(panel.WholeLayout().span, 50000);

    // The default view again is the 100-sample graph.
    EXPECT_TRUE(panel.ShowWholeRun(false));
    EXPECT_EQ(panel.Graph()->Pixel(0, 0), GRAPH_BACKGROUND);
}

}  // namespace
