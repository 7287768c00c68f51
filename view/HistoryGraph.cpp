#include "HistoryGraph.h"

#include <algorithm>
#include <cstdint>

#include "FatalError.h"
#include "HistoryTexts.h"
#include "Numbers.h"
#include "ViewMessages.h"

namespace {

// Points far beyond the surface are pulled in to this distance before a line is drawn. The
// line loop walks every row between its ends, so an unbounded end (a value near INT_MAX)
// would take seconds and overflow its differences; at this distance the visible part of a
// segment only a few pixels wide is the same vertical run as for the exact end.
constexpr int FAR_OFF_SURFACE = 32768;

int ClampToDrawable(int y, int height) {
    return std::clamp(y, -FAR_OFF_SURFACE, height + FAR_OFF_SURFACE);
}

template <typename ValueOf>
void DrawCurve(MemoryDC& dc, int width, int height, const HistorySample* samples, double fullScale,
               ValueOf valueOf) {
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        const int x = PlotX(i, width);
        const int y = ClampToDrawable(PlotY(valueOf(samples[i]), height, fullScale), height);
        if (i == 0) {
            dc.MoveTo(x, y);
        } else {
            dc.LineTo(x, y);
        }
    }
}

}  // namespace

void ClearGraph(MemoryDC& dc, int width, int height) {
    Brush brush;
    if (!brush.CreateSolid(GRAPH_BACKGROUND)) {
        FatalError(ViewMessages::BRUSH_CREATE, EXIT_GRAPH_BACKGROUND);
    }
    Region region;
    if (!region.CreateRect(0, 0, width, height)) {
        FatalError(ViewMessages::REGION_CREATE, EXIT_GRAPH_BACKGROUND);
    }
    dc.FillRegion(region, brush);
    // A failed release leaves nothing behind that matters; it is not examined.
    static_cast<void>(region.Delete());
    static_cast<void>(brush.Delete());
}

void DrawGridDots(MemoryDC& dc, int width, int height) {
    for (int i = 1; i < GRID_COLUMNS; ++i) {
        for (int j = 1; j < GRID_ROWS; ++j) {
            dc.SetPixel(width * i / GRID_COLUMNS, height * j / GRID_ROWS, GRID_DOT_COLOUR);
        }
    }
}

void DrawCurves(MemoryDC& dc, int width, int height, const HistorySample* samples) {
    // Pen failures are not examined: a failed pen only leaves the graph incomplete until
    // the next redraw.
    Pen bluePen;
    static_cast<void>(bluePen.CreateSolid(TEMPERATURE_CURVE_COLOUR));
    Pen* previousPen = dc.SelectPen(&bluePen);
    DrawCurve(dc, width, height, samples, TEMPERATURE_FULL_SCALE,
              [](const HistorySample& s) { return s.temperature; });

    Pen redPen;
    static_cast<void>(redPen.CreateSolid(HEAT_CURVE_COLOUR));
    Pen* displaced = dc.SelectPen(&redPen);
    if (previousPen == nullptr) {
        // The blue pen never got in, so the red one displaced the context's own pen.
        previousPen = displaced;
    }
    static_cast<void>(bluePen.Delete());
    DrawCurve(dc, width, height, samples, HEAT_FULL_SCALE,
              [](const HistorySample& s) { return s.heat; });

    if (previousPen != nullptr) {
        dc.SelectPen(previousPen);
    }
    static_cast<void>(redPen.Delete());
}

int PlotX(int index, int width) {
    return SaturateToInt(std::int64_t{width} * index / HISTORY_SAMPLE_COUNT);
}

int PlotY(int value, int height, double fullScale) {
    const int band = height - 2 * PLOT_MARGIN;
    const std::int64_t product = std::int64_t{value} * band;
    const int offset = TruncToInt(band - static_cast<double>(product) / fullScale);
    return SaturateToInt(std::int64_t{offset} + PLOT_MARGIN);
}
