#pragma once

#include <array>

// Where the six buttons along the bottom of the main window go, for a client area of
// cx x cy pixels. All buttons share one row; neighbours share their vertical edge.
struct ButtonRow {
    int top = 0;
    int bottom = 0;
    // Vertical edges from the left: 5, e5, e4, e3, e2, e1, cx - 5.
    std::array<int, 7> edges{};
};

ButtonRow ComputeButtonRow(int cx, int cy);

// Height of the vessel view above the buttons: trunc(cy - 0.075 cy - 5).
int ViewHeight(int cy);

// The window keeps its layout for client areas this small or smaller, and when minimised.
constexpr int MAX_REJECTED_CLIENT_WIDTH = 150;
constexpr int MAX_REJECTED_CLIENT_HEIGHT = 100;
inline bool AcceptsClientSize(int cx, int cy) {
    return cx > MAX_REJECTED_CLIENT_WIDTH && cy > MAX_REJECTED_CLIENT_HEIGHT;
}
