#pragma once

#include "Drawing.h"
#include "HistoryRecorder.h"

// Drawing of the history graph into a width x height surface selected into a memory
// context: black background, a 100 x 20 dot grid, the temperature curve in blue and the
// heat curve in red over it. The plot band lies 10 pixels inside the top and bottom edges.

constexpr double TEMPERATURE_FULL_SCALE = 100.0;  // degrees C at the top of the band
constexpr double HEAT_FULL_SCALE = 2671.02;       // J at the top of the band (639 cal)
constexpr int PLOT_MARGIN = 10;
constexpr int GRID_COLUMNS = 100;
constexpr int GRID_ROWS = 20;

constexpr Rgb GRAPH_BACKGROUND = RGB(0, 0, 0);
constexpr Rgb GRID_DOT_COLOUR = RGB(50, 50, 50);
constexpr Rgb TEMPERATURE_CURVE_COLOUR = RGB(0, 0, 255);
constexpr Rgb HEAT_CURVE_COLOUR = RGB(255, 0, 0);

// Fills (0, 0)-(width, height) black through a brush and a rectangular region. Failing to
// make either ends the program (exit code -3).
void ClearGraph(MemoryDC& dc, int width, int height);

// Sets the pixel (width * i / 100, height * j / 20) grey for i = 1..99 and j = 1..19.
void DrawGridDots(MemoryDC& dc, int width, int height);

// The two polylines through the samples, blue for temperature, then red for heat.
void DrawCurves(MemoryDC& dc, int width, int height, const HistorySample* samples);

// x of sample `index`: hundredths of the width, so the right edge is never reached.
int PlotX(int index, int width);

// y of `value` on a surface `height` high: value 0 at height - 10, full scale at 10,
// truncated toward zero. The product value * (height - 20) is taken in 64 bits and the
// result saturates, so no value overflows.
int PlotY(int value, int height, double fullScale);
