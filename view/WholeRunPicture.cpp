#include "WholeRunPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "GlyphTable.h"
#include "HistoryGraph.h"

namespace {

constexpr int FINE = 64;  // text positions in 1/64 pixel

// The pixels whose centres lie in [left, right] x [top, bottom] may be drawn.
struct Clip {
    int left;
    int top;
    int right;
    int bottom;
};

void Plot(PixelBuffer& image, const Clip& clip, int x, int y, Rgb colour) {
    if (x >= clip.left && x <= clip.right && y >= clip.top && y <= clip.bottom &&
        image.Contains(x, y)) {
        image.Row(y)[x] = colour;
    }
}

// A line of one pixel across or down, both ends included, as the desktop draws a thin line.
void StraightLine(PixelBuffer& image, int x0, int y0, int x1, int y1, Rgb colour) {
    const Clip all{0, 0, image.Width() - 1, image.Height() - 1};
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) {
        for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) {
            Plot(image, all, x, y, colour);
        }
    }
}

struct Vertex {
    double x;
    double y;
};

// Fills the convex polygon by the pixels' centres, as the desktop fills without antialiasing:
// a row's centre in [upper end, lower end) of an edge crosses it, and the pixels whose
// centres lie in (left crossing, right crossing] are inside.
void FillConvex(PixelBuffer& image, const Clip& clip, const std::vector<Vertex>& polygon,
                Rgb colour) {
    double top = polygon.front().y;
    double bottom = top;
    for (const Vertex& v : polygon) {
        top = std::min(top, v.y);
        bottom = std::max(bottom, v.y);
    }
    const int firstRow = std::max(clip.top, static_cast<int>(std::floor(top - 0.5)));
    const int lastRow = std::min(clip.bottom, static_cast<int>(std::ceil(bottom)));
    for (int row = firstRow; row <= lastRow; ++row) {
        const double centre = row + 0.5;
        double crossings[2];
        int count = 0;
        for (std::size_t i = 0; i < polygon.size() && count < 2; ++i) {
            Vertex a = polygon[i];
            Vertex b = polygon[(i + 1) % polygon.size()];
            if (a.y == b.y) {
                continue;
            }
            if (a.y > b.y) {
                std::swap(a, b);
            }
            if (centre >= a.y && centre < b.y) {
                crossings[count++] = a.x + (centre - a.y) * (b.x - a.x) / (b.y - a.y);
            }
        }
        if (count < 2) {
            continue;
        }
        const double from = std::min(crossings[0], crossings[1]);
        const double to = std::max(crossings[0], crossings[1]);
        const int end = static_cast<int>(std::floor(to - 0.5)) + 1;
        for (int x = static_cast<int>(std::floor(from - 0.5)) + 1; x < end; ++x) {
            Plot(image, clip, x, row, colour);
        }
    }
}

// A polyline 2 pixels wide through whole-pixel points, as the desktop strokes it without
// antialiasing: a band a pixel either side of each segment, square ends a pixel long at the
// line's two ends and bevelled corners; repeated points are one.
void WidePolyline(PixelBuffer& image, const Clip& clip, const std::vector<Point>& input,
                  Rgb colour) {
    std::vector<Point> points;
    for (const Point& p : input) {
        if (points.empty() || !(points.back() == p)) {
            points.push_back(p);
        }
    }
    constexpr double HALF = 1.0;
    auto normal = [&points](std::size_t i) {
        const double dx = points[i + 1].x - points[i].x;
        const double dy = points[i + 1].y - points[i].y;
        const double length = std::hypot(dx, dy);
        return Vertex{-dy / length * HALF, dx / length * HALF};
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Vertex n = normal(i);
        const Vertex d{n.y, -n.x};  // along the segment, HALF long
        const double before = i == 0 ? 1.0 : 0.0;
        const double after = i + 2 == points.size() ? 1.0 : 0.0;
        const Vertex a{points[i].x - d.x * before, points[i].y - d.y * before};
        const Vertex b{points[i + 1].x + d.x * after, points[i + 1].y + d.y * after};
        FillConvex(image, clip,
                   {{a.x + n.x, a.y + n.y},
                    {b.x + n.x, b.y + n.y},
                    {b.x - n.x, b.y - n.y},
                    {a.x - n.x, a.y - n.y}},
                   colour);
        if (i + 2 < points.size()) {
            const Vertex m = normal(i + 1);
            const Vertex corner{static_cast<double>(points[i + 1].x),
                                static_cast<double>(points[i + 1].y)};
            for (const double side : {1.0, -1.0}) {
                FillConvex(image, clip,
                           {corner,
                            {corner.x + side * n.x, corner.y + side * n.y},
                            {corner.x + side * m.x, corner.y + side * m.y}},
                           colour);
            }
        }
    }
}

// Text placed in the box from `left` `width` pixels wide, as the desktop aligns a line in a
// box: at its left edge, at its right edge or in its middle, at a fraction of a pixel; ink
// beyond the box's sides is cut off.
enum class Align { Left, Right, Centre };

void BoxText(MemoryDC& dc, int left, int width, int top, Align align, const std::string& text) {
    const std::int64_t box = std::int64_t{left} * FINE;
    const std::int64_t spare = std::int64_t{width} * FINE - dc.GetFineTextWidth(text);
    const std::int64_t x = align == Align::Left    ? box
                           : align == Align::Right ? box + spare
                                                   : box + spare / 2;
    dc.TextOutFine(x, top, text, left, left + width);
}

}  // namespace

TextMeasure WholeRunTextMeasure() {
    return {GraphGlyphs().height, [](std::string_view text) {
                MemoryDC measure;
                measure.SetFont(GraphGlyphs());
                return measure.GetTextExtent(text).width;
            }};
}

void DrawWholeRunAxes(MemoryDC& dc, const WholeRunLayout& layout, const TextOf& textOf) {
    PixelBuffer* image = dc.Target();
    if (image == nullptr) {
        return;
    }
    image->Fill(WHOLE_RUN_BACKGROUND);
    if (!layout.Usable()) {
        return;
    }
    dc.SetFont(GraphGlyphs());
    dc.SetTransparentText();
    dc.SetTextColor(WHOLE_RUN_AXIS);
    const int h = GraphGlyphs().height;
    // Gridlines first, then the axes, their ticks and labels over them.
    for (const AxisTick& tick : layout.temperatureAxis) {
        StraightLine(*image, layout.left, tick.pixel, layout.right, tick.pixel, WHOLE_RUN_GRIDLINE);
    }
    for (const AxisTick& tick : layout.tickAxis) {
        StraightLine(*image, tick.pixel, layout.top, tick.pixel, layout.bottom, WHOLE_RUN_GRIDLINE);
    }
    StraightLine(*image, layout.left, layout.top, layout.left, layout.bottom, WHOLE_RUN_AXIS);
    StraightLine(*image, layout.right, layout.top, layout.right, layout.bottom, WHOLE_RUN_AXIS);
    StraightLine(*image, layout.left, layout.bottom, layout.right, layout.bottom, WHOLE_RUN_AXIS);
    for (const AxisTick& tick : layout.temperatureAxis) {
        StraightLine(*image, layout.left - 4, tick.pixel, layout.left, tick.pixel, WHOLE_RUN_AXIS);
        BoxText(dc, 0, layout.left - 5, tick.pixel - h / 2, Align::Right, tick.label);
    }
    for (const AxisTick& tick : layout.heatAxis) {
        StraightLine(*image, layout.right, tick.pixel, layout.right + 4, tick.pixel,
                     WHOLE_RUN_AXIS);
        BoxText(dc, layout.right + 6, layout.width - layout.right - 6, tick.pixel - h / 2,
                Align::Left, tick.label);
    }
    for (const AxisTick& tick : layout.tickAxis) {
        StraightLine(*image, tick.pixel, layout.bottom, tick.pixel, layout.bottom + 4,
                     WHOLE_RUN_AXIS);
        const int w = dc.GetTextExtent(tick.label).width;
        BoxText(dc, tick.pixel - w / 2 - 1, w + 2, layout.bottom + 5, Align::Centre, tick.label);
    }
    BoxText(dc, layout.left, layout.right - layout.left, layout.tickAxisTitleTop, Align::Centre,
            textOf(WholeRunTexts::TICK_AXIS));
    // The legend: a short stretch of each curve's line before its name.
    int x = layout.left;
    const int y = layout.legendTop + h / 2;
    const Clip all{0, 0, image->Width() - 1, image->Height() - 1};
    for (const auto& [colour, text] :
         {std::pair{TEMPERATURE_CURVE_COLOUR, WholeRunTexts::TEMPERATURE_LEGEND},
          std::pair{HEAT_CURVE_COLOUR, WholeRunTexts::HEAT_LEGEND}}) {
        WidePolyline(*image, all, {{x, y}, {x + 20, y}}, colour);
        const std::string name = textOf(text);
        const int w = dc.GetTextExtent(name).width;
        BoxText(dc, x + 24, w + 2, layout.legendTop, Align::Left, name);
        x += 24 + w + 16;
    }
}

void DrawWholeRunCurves(PixelBuffer& image, const WholeRunLayout& layout,
                        const std::vector<CurvePoint>& points) {
    if (!layout.Usable() || points.empty()) {
        return;
    }
    const Clip plot{layout.left + 1, layout.top, layout.right - 1, layout.bottom - 1};
    std::vector<Point> temperature;
    std::vector<Point> heat;
    temperature.reserve(points.size());
    heat.reserve(points.size());
    for (const CurvePoint& p : points) {
        temperature.push_back({p.x, p.temperatureY});
        heat.push_back({p.x, p.heatY});
    }
    WidePolyline(image, plot, temperature, TEMPERATURE_CURVE_COLOUR);
    WidePolyline(image, plot, heat, HEAT_CURVE_COLOUR);
}
