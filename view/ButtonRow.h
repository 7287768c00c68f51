#pragma once

#include <array>

#include "VesselView.h"

// Where the six buttons along the bottom of the main window go, for a client area of
// cx x cy pixels. All buttons share one row; neighbours share their vertical edge.
struct ButtonRow {
    int top = 0;
    int bottom = 0;
    // Vertical edges from the left: 5, e5, e4, e3, e2, e1, cx - 5.
    std::array<int, 7> edges{};
};

ButtonRow ComputeButtonRow(int cx, int cy);

// The window keeps its layout for client areas smaller than the smallest frame the view
// makes, and when minimised.
inline bool AcceptsClientSize(int cx, int cy) {
    return cx >= MIN_CLIENT_WIDTH && cy >= MIN_CLIENT_HEIGHT;
}
