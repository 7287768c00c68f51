#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Drawing.h"
#include "WholeRunGraph.h"

// The whole-run graph drawn on the pixel buffer, as every front end shows it: its texts in
// the dialogs' font (GraphGlyphs), placed as the desktop places text in a box, and its lines
// as the desktop draws them without antialiasing.

// A Japanese text of the graph as the front end's language shows it.
using TextOf = std::function<std::string(const char*)>;

// How the graph's texts measure in its font.
TextMeasure WholeRunTextMeasure();

// Fills `dc`'s surface white and, on a usable layout, draws over it the gridlines, the axes
// with their ticks and labels, the bottom axis's name and the legend. `dc` is left writing in
// the graph's font.
void DrawWholeRunAxes(MemoryDC& dc, const WholeRunLayout& layout, const TextOf& textOf);

// The curves through `points`, 2 pixels wide, temperature (blue) and then heat (red) over
// it, kept off the axes: only the pixels strictly between the left and right axes and from
// the top of the plot to above the bottom axis are drawn.
void DrawWholeRunCurves(PixelBuffer& image, const WholeRunLayout& layout,
                        const std::vector<CurvePoint>& points);
