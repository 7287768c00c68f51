#include "VesselView.h"

#include <QPainter>
#include <cstdio>

#include "FatalError.h"
#include "Numbers.h"
#include "Surface.h"
#include "ViewMessages.h"

int g_anColorLevel[COLOR_LEVELS] = {};

namespace {

using namespace ViewMessages;

constexpr QRgb BLACK = RGB(0, 0, 0);

// The grid's top-left pixel.
constexpr int GRID_LEFT = 15;
constexpr int GRID_TOP = 25;

void Check(bool succeeded, const char* text, int code) {
    if (!succeeded) {
        FatalError(text, code);
    }
}

QRgb LevelColour(int level) {
    const int g = g_anColorLevel[level] & 0xFF;
    return RGB(g, g, 255);
}

// Offset, width and height factor of a flame at each burner level; FLAME_OFF has none.
struct FlameShape {
    int offset;
    int width;
    double heightFactor;
};
constexpr FlameShape FLAME_SHAPES[] = {
    {0, 30, 0.19},   // FLAME_STRONG
    {5, 20, 0.14},   // FLAME_MEDIUM
    {10, 10, 0.09},  // FLAME_WEAK
};

// One bubble pass: pen and brush of one colour, then the rectangle or the ellipse of the
// cell. Both passes report the same codes.
void BubblePass(MemoryDC& dc, const PixelRect& r, QRgb colour, bool ellipse) {
    Pen pen;
    Check(pen.CreateSolid(colour), PEN_CREATE, -33);
    Pen* oldPen = dc.SelectPen(&pen);
    Check(oldPen != nullptr, PEN_SELECT, -34);
    Brush brush;
    Check(brush.CreateSolid(colour), BRUSH_CREATE, -35);
    Brush* oldBrush = dc.SelectBrush(&brush);
    Check(oldBrush != nullptr, BRUSH_SELECT, -36);
    if (ellipse) {
        dc.RepeatedEllipse(r.left, r.top, r.right, r.bottom);
    } else {
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
    Check(dc.SelectBrush(oldBrush) != nullptr, BRUSH_UNSELECT, -37);
    Check(brush.Delete(), BRUSH_DELETE, -38);
    Check(dc.SelectPen(oldPen) != nullptr, PEN_UNSELECT, -39);
    Check(pen.Delete(), PEN_DELETE, -40);
}

}  // namespace

CVesselView::CVesselView(const CSimulation& simulation) : m_sim(simulation) {}

// ---------------------------------------------------------------------------------------
// Frame lifecycle

QRect CVesselView::ViewRectFor(int cx, int cy) {
    return QRect(0, 0, cx, TruncToInt(cy - 0.075 * cy - 5.0));
}

namespace {
// The frame's failure codes, in the order of SurfaceExitCodes.
constexpr SurfaceExitCodes kFrameCodes{-2, -3, -4, -5, -6, -7};
}  // namespace

void CVesselView::CreateFrame(int cx, int cy) {
    m_rcView = ViewRectFor(cx, cy);
    ReleaseFrame();
    m_pOldBitmap = CreateSurface(m_dcMem, m_bmpFrame, ViewWidth(), ViewHeight(), kFrameCodes);
}

void CVesselView::ReleaseFrame() {
    ReleaseSurface(m_dcMem, m_bmpFrame, m_pOldBitmap, kFrameCodes);
}

void CVesselView::FullRebuild(bool drawCells) {
    ClearView();
    ComputeCellSize();
    DrawVessel();
    InitColorTable();
    ComputeScaleStep();
    DrawColorScale();
    DrawScaleLabels();
    DrawFlames(m_sim.m_nEndsFlame, m_sim.m_nCentreFlame);
    if (drawCells) {
        DrawAllCells();
    }
}

void CVesselView::PaintTo(QPainter& painter) const {
    if (HasFrame()) {
        painter.drawImage(QPoint(0, 0), FrameImage(), m_rcView);
    }
}

// ---------------------------------------------------------------------------------------
// Cells

void CVesselView::InitColorTable() {
    for (int k = 0; k < COLOR_LEVELS; ++k) {
        g_anColorLevel[k] = 240 - 6 * k;
    }
}

void CVesselView::ComputeCellSize() {
    m_nCellWidth = TruncToInt((ViewWidth() - 95) / static_cast<double>(m_sim.m_nColumns));
    m_nCellHeight = TruncToInt((0.8 * ViewHeight() - 25) / m_sim.m_nRows);
}

PixelRect CVesselView::CellRect(int col, int row) const {
    const int left = GRID_LEFT + col * m_nCellWidth;
    const int top = GRID_TOP + row * m_nCellHeight;
    return {left, top, left + m_nCellWidth, top + m_nCellHeight};
}

int CVesselView::GridWidth() const {
    return m_sim.m_nColumns * m_nCellWidth;
}

int CVesselView::GridBottom() const {
    return GRID_TOP + m_sim.m_nRows * m_nCellHeight;
}

bool CVesselView::InGrid(int col, int row) const {
    return m_sim.HasGrid() && col >= 0 && row >= 0 && col < m_sim.m_nColumns && row < m_sim.m_nRows;
}

void CVesselView::DrawLiquidCell(int col, int row, int temperature) {
    const int t = temperature < 0 ? 0 : (temperature > 100 ? 100 : temperature);
    const int level = 39 - TruncToInt(39 * t / 100.0);
    const PixelRect r = CellRect(col, row);

    Region region;
    Check(region.CreateRect(r.left, r.top, r.right, r.bottom), REGION_CREATE, -25);
    Brush brush;
    Check(brush.CreateSolid(LevelColour(level)), BRUSH_CREATE, -26);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, -27);
    Check(region.Delete(), REGION_DELETE, -28);
}

void CVesselView::DrawBubbleCell(int col, int row) {
    const PixelRect r = CellRect(col, row);
    // The bubble stands on the colour the cell showed last: repaint the whole cell in
    // that colour (wiping an older bubble and any outline), then draw the bubble.
    const QRgb background = m_dcMem.GetPixel(r.left + 1, r.top + 1);
    BubblePass(m_dcMem, r, background, false);
    BubblePass(m_dcMem, r, BUBBLE_COLOUR, true);
}

void CVesselView::DrawCell(const CCell& cell, int col, int row) {
    if (cell.m_nPhase == PHASE_LIQUID) {
        DrawLiquidCell(col, row, TruncToInt(cell.m_dTemperature + 0.5));
    } else {
        DrawBubbleCell(col, row);
    }
    if (col == m_nSelCol && row == m_nSelRow) {
        DrawCellMarker(m_nSelCol, m_nSelRow, SELECTION_COLOUR);
    }
}

bool CVesselView::BubbleStaysInCell(int col, int row) {
    const PixelRect r = CellRect(col, row);
    const QRect extent = m_dcMem.EllipseExtent(r.left, r.top, r.right, r.bottom);
    return extent.isEmpty() || (extent.left() >= r.left && extent.top() >= r.top &&
                                extent.right() < r.right && extent.bottom() < r.bottom);
}

void CVesselView::DrawAllCells() {
    if (!m_sim.HasGrid()) {
        return;
    }
    for (int col = 0; col < m_sim.m_nColumns; ++col) {
        for (int row = 0; row < m_sim.m_nRows; ++row) {
            const CCell cell = m_sim.Cell(row, col);
            DrawCell(cell, col, row);
        }
    }
}

void CVesselView::DrawCellMarker(int col, int row, QRgb colour) {
    const PixelRect r = CellRect(col, row);
    // A cell without pixels has no outermost ring to draw.
    if (r.right <= r.left || r.bottom <= r.top) {
        return;
    }
    // The marker reports nothing: a pen that cannot be made or selected draws no outline.
    if (!m_penMarker.CreateSolid(colour)) {
        return;
    }
    Pen* oldPen = m_dcMem.SelectPen(&m_penMarker);
    if (oldPen == nullptr) {
        m_penMarker.Delete();
        return;
    }
    m_dcMem.MoveTo(r.left, r.top);
    m_dcMem.LineTo(r.left, r.bottom - 1);
    m_dcMem.LineTo(r.right - 1, r.bottom - 1);
    m_dcMem.LineTo(r.right - 1, r.top);
    m_dcMem.LineTo(r.left, r.top);
    m_dcMem.SelectPen(oldPen);
    m_penMarker.Delete();
}

// ---------------------------------------------------------------------------------------
// Vessel, flames and colour scale

void CVesselView::FillBlack(const PixelRect& rect, const char* brushText, int brushCode,
                            const char* regionText, int regionCode) {
    Brush brush;
    Check(brush.CreateSolid(BLACK), brushText, brushCode);
    Region region;
    Check(region.CreateRect(rect.left, rect.top, rect.right, rect.bottom), regionText, regionCode);
    m_dcMem.FillRegion(region, brush);
    // Nothing holds these two any more; a failed release changes nothing on screen.
    brush.Delete();
    region.Delete();
}

void CVesselView::ClearView() {
    FillBlack({0, 0, ViewWidth(), ViewHeight()}, BRUSH_CREATE, -8, REGION_CREATE, -9);
}

void CVesselView::DrawVessel() {
    const int xr = GRID_LEFT + GridWidth();
    const int yf = GridBottom();
    const QVector<QPoint> vertices = {{5, 10},  {15, 10},      {15, yf},           {xr, yf},
                                      {xr, 10}, {xr + 10, 10}, {xr + 10, yf + 10}, {5, yf + 10}};
    Brush brush;
    Check(brush.CreateSolid(VESSEL_COLOUR), BRUSH_CREATE, -11);
    Region region;
    Check(region.CreatePolygon(vertices), POLYGON_CREATE, -11);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, -11);
    Check(region.Delete(), POLYGON_DELETE, -11);
}

void CVesselView::ComputeScaleStep() {
    m_nScaleStep = (TruncToInt(0.8 * ViewHeight() + 0.5) - 15) / 40;
}

void CVesselView::DrawColorScale() {
    const int left = ViewWidth() - 25;
    const int right = ViewWidth() - 5;
    for (int i = 0; i < COLOR_LEVELS; ++i) {
        Brush brush;
        Check(brush.CreateSolid(LevelColour(i)), BRUSH_CREATE, -12);
        Region region;
        Check(region.CreateRect(left, 15 + i * m_nScaleStep, right, 15 + (i + 1) * m_nScaleStep),
              REGION_CREATE, -13);
        m_dcMem.FillRegion(region, brush);
        brush.Delete();
        region.Delete();
    }
}

void CVesselView::DrawScaleLabels() {
    // The text state stays on the frame's context; the info panel writes with it too.
    m_dcMem.SetTransparentText();
    m_dcMem.SetTextColor(LABEL_COLOUR);
    for (int j = 0; j < 6; ++j) {
        const QString label = QString::number(100 - 20 * j);
        const int width = m_dcMem.GetTextExtent(label).width();
        // Each label ends 3 pixels left of the scale, 8 pixels above its boundary.
        m_dcMem.TextOut(ViewWidth() - 28 - width, 7 + 8 * j * m_nScaleStep, label);
    }
}

void CVesselView::ClearFlameArea() {
    const PixelRect r{5, GridBottom() + 11, ViewWidth() - 75, ViewHeight() - 2};
    Region region;
    Check(region.CreateRect(r.left, r.top, r.right, r.bottom), REGION_CREATE, -21);
    Brush brush;
    Check(brush.CreateSolid(BLACK), BRUSH_CREATE, -22);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, -23);
    Check(region.Delete(), REGION_DELETE, -24);
}

void CVesselView::DrawFlame(int anchor, int level) {
    if (level < FLAME_STRONG || level > FLAME_WEAK) {
        return;
    }
    const FlameShape& shape = FLAME_SHAPES[level];
    const int base = ViewHeight() - 2;
    const int height = TruncToInt(shape.heightFactor * ViewHeight()) - 10;
    // A flame too low to have a height (a very small view) draws nothing.
    m_dcMem.Ellipse(anchor + shape.offset, base - height, anchor + shape.offset + shape.width,
                    base);
}

void CVesselView::DrawFlames(int endsLevel, int centreLevel) {
    ClearFlameArea();

    Pen pen;
    Check(pen.CreateSolid(FLAME_COLOUR), PEN_CREATE, -15);
    Pen* oldPen = m_dcMem.SelectPen(&pen);
    Check(oldPen != nullptr, PEN_SELECT, -16);
    Brush brush;
    Check(brush.CreateSolid(FLAME_COLOUR), BRUSH_CREATE, -14);
    Brush* oldBrush = m_dcMem.SelectBrush(&brush);
    Check(oldBrush != nullptr, BRUSH_SELECT, -15);

    // Anchors are fractions of the grid width measured from x = 0.
    const int g = GridWidth();
    DrawFlame(g / 5, endsLevel);
    DrawFlame(4 * g / 5, endsLevel);
    DrawFlame(2 * g / 5, centreLevel);
    DrawFlame(3 * g / 5, centreLevel);

    Check(m_dcMem.SelectPen(oldPen) != nullptr, PEN_DETACH, -17);
    Check(pen.Delete(), PEN_DELETE, -18);
    Check(m_dcMem.SelectBrush(oldBrush) != nullptr, BRUSH_DETACH, -19);
    Check(brush.Delete(), BRUSH_DELETE, -20);
}

// ---------------------------------------------------------------------------------------
// Inspection

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
    return HitTest(x, y, m_sim.m_nColumns, m_sim.m_nRows, m_nCellWidth, m_nCellHeight);
}

CellInfoText CVesselView::FormatCellInfo(int col, int row, const CCell& cell) {
    char line[64];
    CellInfoText text;
    std::snprintf(line, sizeof line, "Cell: (%2d,%2d)", col, row);
    text.cell = QString::fromUtf8(line);
    std::snprintf(line, sizeof line, "Temp.: %3d [ﾟC]", TruncToInt(cell.m_dTemperature));
    text.temperature = QString::fromUtf8(line);
    std::snprintf(line, sizeof line, "Heat: %3d [J]", CalToJoules(cell.m_dHeat));
    text.heat = QString::fromUtf8(line);
    return text;
}

PixelRect CVesselView::InfoPanelRect() const {
    return {TruncToInt(4.0 * GridWidth() / 5.0 + 0.5) + 45, TruncToInt(0.83 * ViewHeight() + 0.5),
            TruncToInt(0.99 * ViewWidth() + 0.5), TruncToInt(0.99 * ViewHeight() + 0.5)};
}

void CVesselView::DrawCellInfo(int col, int row) {
    const PixelRect panel = InfoPanelRect();
    FillBlack(panel, BRUSH_CREATE, -12, REGION_CREATE, -13);
    if (!InGrid(col, row)) {
        return;
    }
    const CellInfoText text = FormatCellInfo(col, row, m_sim.Cell(row, col));
    // Text is not clipped to the panel; the lines are spaced by measured text heights.
    m_dcMem.TextOut(panel.left, panel.top, text.cell);
    const int heightT = m_dcMem.GetTextExtent(QStringLiteral("T")).height();
    m_dcMem.TextOut(panel.left, panel.top + heightT + 2, text.temperature);
    const int heightH = m_dcMem.GetTextExtent(QStringLiteral("H")).height();
    m_dcMem.TextOut(panel.left, panel.top + 2 * heightH + 4, text.heat);
}

void CVesselView::MouseMove(int x, int y) {
    // Redrawing the hovered cell removes its yellow outline (and restores the black one
    // if it is the selected cell).
    if (InGrid(m_nHoverCol, m_nHoverRow)) {
        DrawCell(m_sim.Cell(m_nHoverRow, m_nHoverCol), m_nHoverCol, m_nHoverRow);
    }
    if (const std::optional<CellHit> hit = HitTest(x, y)) {
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
    const std::optional<CellHit> hit = HitTest(x, y);
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

void CVesselView::RefreshSelectedInfo() {
    if (m_bShowSelected) {
        DrawCellInfo(m_nSelCol, m_nSelRow);
    }
}

void CVesselView::CentreInspection() {
    m_nSelCol = m_sim.m_nColumns / 2;
    m_nSelRow = m_sim.m_nRows / 2;
    m_nHoverCol = m_nSelCol;
    m_nHoverRow = m_nSelRow;
}

void CVesselView::ClearSelection() {
    m_nSelCol = -1;
    m_nSelRow = -1;
}
