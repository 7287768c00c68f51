#pragma once

#include <cstddef>
#include <vector>

#include "Simulation.h"

class CVesselView;

// Collects the cell redraws of many ticks and draws each changed cell once when the batch
// ends, leaving exactly the pixels that drawing every redraw in turn would leave.
//
// That holds because a cell's figures stay inside the cell's rectangle and the only pixel
// a cell's drawing reads (the bubble's background, one pixel inside the top-left corner)
// lies inside it too: a liquid cell repaints its whole rectangle, so only the last liquid
// redraw and the bubbles after it matter, and a second bubble in a row differs from the
// first only when the first changed the background pixel. Cells too small to hold that
// pixel are drawn at once, redraw by redraw.
class CCellRedrawBatch : public CellRedrawObserver {
public:
    explicit CCellRedrawBatch(CVesselView& view) : m_view(view) {}

    // Starts collecting the redraws of a grid of columns x rows cells.
    void Begin(int columns, int rows);
    void DrawCell(const CCell& cell, int col, int row) override;
    // Draws every collected cell and stops collecting; redraws then go straight through.
    void Flush();

private:
    struct Pending {
        CCell liquid;  // the last liquid redraw, when there was one
        bool hasLiquid = false;
        unsigned char bubbles = 0;  // bubble redraws after it, counted up to two
        bool dirty = false;
    };
    void DrawPending(int index);

    CVesselView& m_view;
    bool m_bCollecting = false;
    int m_nColumns = 0;
    std::vector<Pending> m_cells;
    std::vector<int> m_dirty;
};
