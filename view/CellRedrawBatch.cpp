#include "CellRedrawBatch.h"

#include "VesselView.h"

void CCellRedrawBatch::Begin(int columns, int rows) {
    // The bubble reads the pixel at (left + 1, top + 1), which must lie inside the cell; its
    // figures (a rectangle and the ellipse inscribed in it) never leave the cell.
    m_bCollecting = m_view.CellWidth() >= 2 && m_view.CellHeight() >= 2 && columns > 0 &&
                    rows > 0 && !m_view.Frame().IsNull();
    m_nColumns = columns;
    const auto count = static_cast<std::size_t>(columns > 0 ? columns : 0) *
                       static_cast<std::size_t>(rows > 0 ? rows : 0);
    if (m_cells.size() != count) {
        m_cells.assign(count, Pending{});
        m_dirty.clear();
    }
}

void CCellRedrawBatch::DrawCell(const CCell& cell, int col, int row) {
    if (!m_bCollecting) {
        m_view.DrawCell(cell, col, row);
        return;
    }
    const int index = row * m_nColumns + col;
    Pending& pending = m_cells[static_cast<std::size_t>(index)];
    if (!pending.dirty) {
        pending.dirty = true;
        m_dirty.push_back(index);
    }
    if (cell.m_nPhase == PHASE_LIQUID) {
        pending.liquid = cell;
        pending.hasLiquid = true;
        pending.bubbles = 0;
    } else if (pending.bubbles < 2) {
        ++pending.bubbles;
    }
}

void CCellRedrawBatch::Flush() {
    for (const int index : m_dirty) {
        DrawPending(index);
    }
    m_dirty.clear();
    m_bCollecting = false;
}

void CCellRedrawBatch::DrawPending(int index) {
    Pending& pending = m_cells[static_cast<std::size_t>(index)];
    const int col = index % m_nColumns;
    const int row = index / m_nColumns;
    if (pending.hasLiquid) {
        m_view.DrawCell(pending.liquid, col, row);
    }
    if (pending.bubbles > 0) {
        const CCell bubble(BOILING_POINT, VAPOUR_HEAT, PHASE_VAPOUR);
        const PixelRect r = m_view.CellRect(col, row);
        const Rgb before = m_view.PixelAt(r.left + 1, r.top + 1);
        m_view.DrawCell(bubble, col, row);
        // A second bubble repeats the first unless the first painted over its background.
        if (pending.bubbles > 1 && m_view.PixelAt(r.left + 1, r.top + 1) != before) {
            m_view.DrawCell(bubble, col, row);
        }
    }
    pending = Pending{};
}
