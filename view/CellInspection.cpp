// The vessel view's inspection of cells: which cell the mouse or the keyboard points at, the
// selection, and the info panel that shows a cell's values.
#include <algorithm>
#include <cstdio>
#include <string>

#include "Numbers.h"
#include "VesselGeometry.h"
#include "VesselView.h"
#include "ViewMessages.h"

namespace {

using namespace ViewMessages;
using namespace ViewExitCodes;
using namespace VesselGeometry;

// One panel line: `format` (one "%3d") filled with `shown`, the whole-number form of `value`;
// a value that is not finite shows as such ("NaN", "inf", "-inf") in the same three places,
// never as the 0 or the limit its conversion would give.
std::string FormatValue(const char* format, double value, int shown) {
    char line[64];
    if (const char* notFinite = NonFiniteText(value)) {
        std::string text = format;
        char field[8];
        std::snprintf(field, sizeof field, "%3s", notFinite);
        text.replace(text.find("%3d"), 3, field);
        return text;
    }
    std::snprintf(line, sizeof line, format, shown);
    return line;
}

}  // namespace

std::optional<CellHit> CVesselView::HitTest(int x, int y, int columns, int rows, int cellWidth,
                                            int cellHeight) {
    // With cells of no width or height the grid has no area, so nothing is ever hit and
    // nothing is divided by zero.
    if (cellWidth < 1 || cellHeight < 1) {
        return std::nullopt;
    }
    const bool onGrid = x > GRID_LEFT - 1 && y > GRID_TOP - 1 &&
                        x < GRID_LEFT + columns * cellWidth && y < GRID_TOP + rows * cellHeight;
    if (!onGrid) {
        return std::nullopt;
    }
    return CellHit{(x - GRID_LEFT) / cellWidth, (y - GRID_TOP) / cellHeight};
}

std::optional<CellHit> CVesselView::HitTest(int x, int y) const {
    return HitTest(x, y, m_sim.Columns(), m_sim.Rows(), m_nCellWidth, m_nCellHeight);
}

CellInfoText CVesselView::FormatCellInfo(int col, int row, const CCell& cell) {
    char line[64];
    CellInfoText text;
    std::snprintf(line, sizeof line, CELL_INFO_CELL_FORMAT, col, row);
    text.cell = line;
    text.temperature = FormatValue(CELL_INFO_TEMPERATURE_FORMAT, cell.m_dTemperature,
                                   TruncToInt(cell.m_dTemperature));
    text.heat = FormatValue(CELL_INFO_HEAT_FORMAT, cell.m_dHeat, CalToJoules(cell.m_dHeat));
    return text;
}

PixelRect CVesselView::InfoPanelRect() const {
    return {TruncToInt(4.0 * GridWidth() / 5.0 + 0.5) + PANEL_LEFT_PAST_ANCHOR,
            TruncToInt(PANEL_TOP_SHARE * ViewHeight() + 0.5),
            TruncToInt(PANEL_FAR_SHARE * ViewWidth() + 0.5),
            TruncToInt(PANEL_FAR_SHARE * ViewHeight() + 0.5)};
}

void CVesselView::DrawCellInfo(int col, int row) {
    const PixelRect panel = InfoPanelRect();
    FillBlack(panel, BRUSH_CREATE, PANEL_BRUSH_CREATE, REGION_CREATE, PANEL_REGION_CREATE);
    // Text that reached past the panel goes with it, so that no character of a wider value
    // is left beside a narrower one.
    const PixelRect& last = m_rcPanelText;
    if (last.left < last.right && (last.left < panel.left || last.top < panel.top ||
                                   last.right > panel.right || last.bottom > panel.bottom)) {
        FillBlack(last, BRUSH_CREATE, PANEL_BRUSH_CREATE, REGION_CREATE, PANEL_REGION_CREATE);
    }
    m_rcPanelText = {0, 0, 0, 0};
    if (!InGrid(col, row)) {
        return;
    }
    const CellInfoText text = FormatCellInfo(col, row, m_sim.Cell(row, col));
    // Text is not clipped to the panel; the lines are spaced by measured text heights.
    const int heightT = m_dcMem.GetTextExtent("T").height;
    const int heightH = m_dcMem.GetTextExtent("H").height;
    const struct {
        int top;
        const std::string& text;
    } lines[] = {{panel.top, text.cell},
                 {panel.top + heightT + PANEL_LINE_GAP, text.temperature},
                 {panel.top + 2 * (heightH + PANEL_LINE_GAP), text.heat}};
    for (const auto& line : lines) {
        m_dcMem.TextOut(panel.left, line.top, line.text);
        const TextBox box = m_dcMem.GetTextBox(panel.left, line.top, line.text);
        if (box.left == box.right) {
            continue;
        }
        PixelRect& covered = m_rcPanelText;
        covered = covered.left == covered.right
                      ? PixelRect{box.left, box.top, box.right, box.bottom}
                      : PixelRect{std::min(covered.left, box.left), std::min(covered.top, box.top),
                                  std::max(covered.right, box.right),
                                  std::max(covered.bottom, box.bottom)};
    }
}

void CVesselView::MouseMove(int x, int y) {
    m_cursor.reset();  // the mouse takes over from the keyboard
    HoverAt(HitTest(x, y));
}

void CVesselView::HoverAt(const std::optional<CellHit>& hit) {
    // Redrawing the hovered cell removes its yellow outline (and restores the black one
    // if it is the selected cell).
    if (InGrid(m_nHoverCol, m_nHoverRow)) {
        DrawCell(m_sim.Cell(m_nHoverRow, m_nHoverCol), m_nHoverCol, m_nHoverRow);
    }
    if (hit) {
        DrawCellMarker(hit->col, hit->row, HOVER_COLOUR);
        DrawCellInfo(hit->col, hit->row);
        m_nHoverCol = hit->col;
        m_nHoverRow = hit->row;
        m_bShowSelected = false;
    } else {
        m_bShowSelected = true;
        DrawCellInfo(m_nSelCol, m_nSelRow);
    }
}

bool CVesselView::LButtonUp(int x, int y) {
    return SelectCell(HitTest(x, y));
}

bool CVesselView::SelectCell(const std::optional<CellHit>& hit) {
    if (!hit) {
        return false;
    }
    const int oldCol = m_nSelCol;
    const int oldRow = m_nSelRow;
    m_nSelCol = hit->col;
    m_nSelRow = hit->row;
    // Removes the old cell's black outline, or draws it again when the same cell was hit.
    if (InGrid(oldCol, oldRow)) {
        DrawCell(m_sim.Cell(oldRow, oldCol), oldCol, oldRow);
    }
    DrawCellMarker(m_nSelCol, m_nSelRow, SELECTION_COLOUR);
    DrawCellInfo(m_nSelCol, m_nSelRow);
    return true;
}

void CVesselView::MoveCursor(int dCol, int dRow) {
    if (!m_sim.HasGrid()) {
        return;
    }
    // The first key puts the cursor on the cell the panel shows; later ones move it, stopping
    // at the grid's edges.
    CellHit at = m_bShowSelected ? Selection() : Hover();
    if (m_cursor) {
        at = {std::clamp(m_cursor->col + dCol, 0, m_sim.Columns() - 1),
              std::clamp(m_cursor->row + dRow, 0, m_sim.Rows() - 1)};
    } else if (!InGrid(at.col, at.row)) {
        at = {0, 0};
    }
    m_cursor = at;
    HoverAt(at);
}

bool CVesselView::SelectAtCursor() {
    return m_cursor && SelectCell(m_cursor);
}

void CVesselView::LeaveCursor() {
    if (m_cursor) {
        m_cursor.reset();
        HoverAt(std::nullopt);
    }
}

std::optional<CellInfoText> CVesselView::PanelText() const {
    const CellHit shown = m_bShowSelected ? Selection() : Hover();
    if (!InGrid(shown.col, shown.row)) {
        return std::nullopt;
    }
    return FormatCellInfo(shown.col, shown.row, m_sim.Cell(shown.row, shown.col));
}

void CVesselView::RefreshSelectedInfo() {
    if (m_bShowSelected) {
        DrawCellInfo(m_nSelCol, m_nSelRow);
    }
}

void CVesselView::RefreshInfo() {
    if (m_bShowSelected) {
        DrawCellInfo(m_nSelCol, m_nSelRow);
    } else {
        DrawCellInfo(m_nHoverCol, m_nHoverRow);
    }
}

void CVesselView::CentreInspection() {
    m_nSelCol = m_sim.Columns() / 2;
    m_nSelRow = m_sim.Rows() / 2;
    m_nHoverCol = m_nSelCol;
    m_nHoverRow = m_nSelRow;
    m_cursor.reset();
}

void CVesselView::ClearSelection() {
    m_nSelCol = -1;
    m_nSelRow = -1;
}

void CVesselView::SetSelection(int col, int row) {
    m_nSelCol = col;
    m_nSelRow = row;
    m_nHoverCol = col;
    m_nHoverRow = row;
    m_bShowSelected = true;
}
