#include "VesselView.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FatalError.h"
#include "GlyphTable.h"
#include "Numbers.h"
#include "Surface.h"
#include "VesselGeometry.h"
#include "ViewMessages.h"

int g_anColorLevel[COLOR_LEVELS] = {};

namespace {

using namespace ViewMessages;
using namespace ViewExitCodes;
using namespace VesselGeometry;

constexpr Rgb BLACK = RGB(0, 0, 0);

void Check(bool succeeded, const char* text, int code) {
    if (!succeeded) {
        FatalError(text, code);
    }
}

Rgb LevelColour(int level) {
    const int redAndGreen = g_anColorLevel[level] & 0xFF;
    return RGB(redAndGreen, redAndGreen, 255);
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
void BubblePass(MemoryDC& dc, const PixelRect& r, Rgb colour, bool ellipse) {
    Pen pen;
    Check(pen.CreateSolid(colour), PEN_CREATE, BUBBLE_PEN_CREATE);
    Pen* oldPen = dc.SelectPen(&pen);
    Check(oldPen != nullptr, PEN_SELECT, BUBBLE_PEN_SELECT);
    Brush brush;
    Check(brush.CreateSolid(colour), BRUSH_CREATE, BUBBLE_BRUSH_CREATE);
    Brush* oldBrush = dc.SelectBrush(&brush);
    Check(oldBrush != nullptr, BRUSH_SELECT, BUBBLE_BRUSH_SELECT);
    if (ellipse) {
        dc.Ellipse(r.left, r.top, r.right, r.bottom);
    } else {
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
    Check(dc.SelectBrush(oldBrush) != nullptr, BRUSH_UNSELECT, BUBBLE_BRUSH_UNSELECT);
    Check(brush.Delete(), BRUSH_DELETE, BUBBLE_BRUSH_DELETE);
    Check(dc.SelectPen(oldPen) != nullptr, PEN_UNSELECT, BUBBLE_PEN_UNSELECT);
    Check(pen.Delete(), PEN_DELETE, BUBBLE_PEN_DELETE);
}

}  // namespace

CVesselView::CVesselView(const CSimulation& simulation) : m_sim(simulation) {}

// ---------------------------------------------------------------------------------------
// Frame lifecycle

PixelRect CVesselView::ViewRectFor(int cx, int cy) {
    return PixelRect{0, 0, cx, TruncToInt(cy - BUTTON_STRIP_SHARE * cy - BUTTON_STRIP_GAP)};
}

void CVesselView::CreateFrame(int cx, int cy) {
    m_rcView = ViewRectFor(cx, cy);
    m_rcPanelText = {0, 0, 0, 0};
    ReleaseFrame();
    m_pOldBitmap = CreateSurface(m_dcMem, m_bmpFrame, ViewWidth(), ViewHeight(), FRAME);
}

void CVesselView::ReleaseFrame() {
    ReleaseSurface(m_dcMem, m_bmpFrame, m_pOldBitmap, FRAME);
}

const char* TextSizeName(TextSize size) {
    switch (size) {
        case TextSize::Large:
            return "large";
        case TextSize::ExtraLarge:
            return "extra-large";
        case TextSize::Standard:
            break;
    }
    return "standard";
}

std::optional<TextSize> TextSizeFromName(std::string_view name) {
    for (const TextSize size : TEXT_SIZES) {
        if (name == TextSizeName(size)) {
            return size;
        }
    }
    return std::nullopt;
}

namespace {

const GlyphFont& FontOf(TextSize size) {
    switch (size) {
        case TextSize::Large:
            return FrameGlyphs18();
        case TextSize::ExtraLarge:
            return FrameGlyphs24();
        case TextSize::Standard:
            break;
    }
    return FrameGlyphs();
}

}  // namespace

void CVesselView::FullRebuild(bool drawCells) {
    // The largest size up to the one asked for whose panel lines fit the panel: three lines
    // and their gaps, as wide as the widest temperature line.
    m_shownTextSize = TextSize::Standard;
    const PixelRect panel = InfoPanelRect();
    char widest[64];
    std::snprintf(widest, sizeof widest, CELL_INFO_TEMPERATURE_FORMAT, 100);
    for (const TextSize size : TEXT_SIZES) {
        if (size > m_textSize) {
            break;
        }
        m_dcMem.SetFont(FontOf(size));
        const Extent line = m_dcMem.GetTextExtent(widest);
        if (size == TextSize::Standard || (3 * line.height + 2 * PANEL_LINE_GAP <= panel.Height() &&
                                           line.width <= panel.Width())) {
            m_shownTextSize = size;
        }
    }
    m_dcMem.SetFont(FontOf(m_shownTextSize));
    ClearView();
    ComputeCellSize();
    DrawVessel();
    InitColorTable();
    ComputeScaleStep();
    DrawColorScale();
    DrawScaleLabels();
    DrawFlames(m_sim.EndsFlame(), m_sim.CentreFlame());
    if (drawCells) {
        DrawAllCells();
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
    m_nCellWidth =
        TruncToInt((ViewWidth() - GRID_WIDTH_RESERVE) / static_cast<double>(m_sim.Columns()));
    m_nCellHeight = TruncToInt((GRID_HEIGHT_SHARE * ViewHeight() - GRID_TOP) / m_sim.Rows());
}

PixelRect CVesselView::CellRect(int col, int row) const {
    const int left = GRID_LEFT + col * m_nCellWidth;
    const int top = GRID_TOP + row * m_nCellHeight;
    return {left, top, left + m_nCellWidth, top + m_nCellHeight};
}

int CVesselView::GridWidth() const {
    return m_sim.Columns() * m_nCellWidth;
}

int CVesselView::GridBottom() const {
    return GRID_TOP + m_sim.Rows() * m_nCellHeight;
}

bool CVesselView::InGrid(int col, int row) const {
    return m_sim.HasGrid() && col >= 0 && row >= 0 && col < m_sim.Columns() && row < m_sim.Rows();
}

void CVesselView::DrawLiquidCell(int col, int row, int temperature) {
    const int clamped = temperature < 0 ? 0 : (temperature > 100 ? 100 : temperature);
    const int level = 39 - TruncToInt(39 * clamped / 100.0);
    const PixelRect r = CellRect(col, row);

    Region region;
    Check(region.CreateRect(r.left, r.top, r.right, r.bottom), REGION_CREATE, LIQUID_REGION_CREATE);
    Brush brush;
    Check(brush.CreateSolid(LevelColour(level)), BRUSH_CREATE, LIQUID_BRUSH_CREATE);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, LIQUID_BRUSH_DELETE);
    Check(region.Delete(), REGION_DELETE, LIQUID_REGION_DELETE);
}

void CVesselView::DrawBubbleCell(int col, int row) {
    // The bubble stands on the colour the cell showed last: repaint the whole cell in
    // that colour (wiping an older bubble and any outline), then draw the bubble.
    const PixelRect r = CellRect(col, row);
    DrawBubbleOn(col, row, m_dcMem.GetPixel(r.left + 1, r.top + 1));
}

void CVesselView::DrawBubbleOn(int col, int row, Rgb background) {
    const PixelRect r = CellRect(col, row);
    BubblePass(m_dcMem, r, background, false);
    BubblePass(m_dcMem, r, BUBBLE_COLOUR, true);
    const auto count = static_cast<std::size_t>(m_sim.Columns()) * m_sim.Rows();
    if (m_bubbleBackgrounds.size() != count) {
        m_bubbleBackgrounds.assign(count, 0);
    }
    const auto index = static_cast<std::size_t>(row) * m_sim.Columns() + col;
    if (index < count) {
        m_bubbleBackgrounds[index] = background;
    }
}

Rgb CVesselView::BubbleBackground(int col, int row) const {
    const auto index = static_cast<std::size_t>(row) * m_sim.Columns() + col;
    return InGrid(col, row) && index < m_bubbleBackgrounds.size() ? m_bubbleBackgrounds[index] : 0;
}

void CVesselView::RestoreBubbles(const std::vector<Rgb>& backgrounds) {
    const auto count = static_cast<std::size_t>(m_sim.Columns()) * m_sim.Rows();
    if (!m_sim.HasGrid() || backgrounds.size() != count) {
        return;
    }
    m_bubbleBackgrounds = backgrounds;
    for (int row = 0; row < m_sim.Rows(); ++row) {
        for (int col = 0; col < m_sim.Columns(); ++col) {
            if (m_sim.Cell(row, col).m_nPhase != PHASE_VAPOUR) {
                continue;
            }
            DrawBubbleOn(col, row,
                         backgrounds[static_cast<std::size_t>(row) * m_sim.Columns() + col]);
            if (col == m_nSelCol && row == m_nSelRow) {
                DrawCellMarker(m_nSelCol, m_nSelRow, SELECTION_COLOUR);
            }
        }
    }
}

void CVesselView::ShowRunReadBack(int selectedCol, int selectedRow,
                                  const std::vector<Rgb>& backgrounds) {
    SetSelection(selectedCol, selectedRow);
    if (!HasFrame()) {
        return;
    }
    FullRebuild(true);
    RestoreBubbles(backgrounds);
    if (selectedCol >= 0) {
        RefreshSelectedInfo();
    }
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

void CVesselView::DrawAllCells() {
    if (!m_sim.HasGrid()) {
        return;
    }
    for (int col = 0; col < m_sim.Columns(); ++col) {
        for (int row = 0; row < m_sim.Rows(); ++row) {
            const CCell cell = m_sim.Cell(row, col);
            DrawCell(cell, col, row);
        }
    }
}

void CVesselView::DrawCellMarker(int col, int row, Rgb colour) {
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
    FillBlack({0, 0, ViewWidth(), ViewHeight()}, BRUSH_CREATE, CLEAR_BRUSH_CREATE, REGION_CREATE,
              CLEAR_REGION_CREATE);
    m_rcPanelText = {0, 0, 0, 0};
}

void CVesselView::DrawVessel() {
    const int gridRight = GRID_LEFT + GridWidth();
    const int gridBottom = GridBottom();
    const int outerRight = gridRight + WALL_THICKNESS;
    const int outerBottom = gridBottom + WALL_THICKNESS;
    const std::vector<Point> vertices = {{VESSEL_LEFT, VESSEL_TOP}, {GRID_LEFT, VESSEL_TOP},
                                         {GRID_LEFT, gridBottom},   {gridRight, gridBottom},
                                         {gridRight, VESSEL_TOP},   {outerRight, VESSEL_TOP},
                                         {outerRight, outerBottom}, {VESSEL_LEFT, outerBottom}};
    Brush brush;
    Check(brush.CreateSolid(VESSEL_COLOUR), BRUSH_CREATE, VESSEL);
    Region region;
    Check(region.CreatePolygon(vertices), POLYGON_CREATE, VESSEL);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, VESSEL);
    Check(region.Delete(), POLYGON_DELETE, VESSEL);
}

void CVesselView::ComputeScaleStep() {
    m_nScaleStep = (TruncToInt(SCALE_HEIGHT_SHARE * ViewHeight() + 0.5) - SCALE_TOP) / COLOR_LEVELS;
}

void CVesselView::DrawColorScale() {
    const int right = ViewWidth() - SCALE_RIGHT_GAP;
    const int left = right - SCALE_WIDTH;
    for (int i = 0; i < COLOR_LEVELS; ++i) {
        Brush brush;
        Check(brush.CreateSolid(LevelColour(i)), BRUSH_CREATE, SCALE_BRUSH_CREATE);
        Region region;
        Check(region.CreateRect(left, SCALE_TOP + i * m_nScaleStep, right,
                                SCALE_TOP + (i + 1) * m_nScaleStep),
              REGION_CREATE, SCALE_REGION_CREATE);
        m_dcMem.FillRegion(region, brush);
        brush.Delete();
        region.Delete();
    }
}

int CVesselView::LabelRise() const {
    const int height = m_dcMem.GetTextExtent("0").height;
    return m_shownTextSize == TextSize::Standard ? LABEL_RISE : height / 2;
}

void CVesselView::DrawScaleLabels() {
    // The text state stays on the frame's context; the info panel writes with it too.
    m_dcMem.SetTransparentText();
    m_dcMem.SetTextColor(LABEL_COLOUR);
    const int scaleLeft = ViewWidth() - SCALE_RIGHT_GAP - SCALE_WIDTH;
    for (int j = 0; j < LABEL_COUNT; ++j) {
        const std::string label = std::to_string(LABEL_TOP_VALUE - LABEL_VALUE_STEP * j);
        const int width = m_dcMem.GetTextExtent(label).width;
        const int boundary = SCALE_TOP + SEGMENTS_PER_LABEL * j * m_nScaleStep;
        m_dcMem.TextOut(scaleLeft - LABEL_GAP - width, boundary - LabelRise(), label);
    }
}

void CVesselView::ClearFlameArea() {
    const PixelRect r{VESSEL_LEFT, GridBottom() + WALL_THICKNESS + 1,
                      ViewWidth() - FLAME_AREA_RIGHT_RESERVE, ViewHeight() - FLAME_BASE_GAP};
    Region region;
    Check(region.CreateRect(r.left, r.top, r.right, r.bottom), REGION_CREATE,
          FLAME_AREA_REGION_CREATE);
    Brush brush;
    Check(brush.CreateSolid(BLACK), BRUSH_CREATE, FLAME_AREA_BRUSH_CREATE);
    m_dcMem.FillRegion(region, brush);
    Check(brush.Delete(), BRUSH_DELETE, FLAME_AREA_BRUSH_DELETE);
    Check(region.Delete(), REGION_DELETE, FLAME_AREA_REGION_DELETE);
}

void CVesselView::DrawFlame(int anchor, int level) {
    if (level < FLAME_STRONG || level > FLAME_WEAK) {
        return;
    }
    const FlameShape& shape = FLAME_SHAPES[level];
    const int base = ViewHeight() - FLAME_BASE_GAP;
    const int height = TruncToInt(shape.heightFactor * ViewHeight()) - FLAME_HEIGHT_LOSS;
    // A flame too low to have a height (a very small view) draws nothing.
    m_dcMem.Ellipse(anchor + shape.offset, base - height, anchor + shape.offset + shape.width,
                    base);
}

void CVesselView::DrawFlames(int endsLevel, int centreLevel) {
    ClearFlameArea();

    Pen pen;
    Check(pen.CreateSolid(FLAME_COLOUR), PEN_CREATE, FLAME_PEN_CREATE);
    Pen* oldPen = m_dcMem.SelectPen(&pen);
    Check(oldPen != nullptr, PEN_SELECT, FLAME_PEN_SELECT);
    Brush brush;
    Check(brush.CreateSolid(FLAME_COLOUR), BRUSH_CREATE, FLAME_BRUSH_CREATE);
    Brush* oldBrush = m_dcMem.SelectBrush(&brush);
    Check(oldBrush != nullptr, BRUSH_SELECT, FLAME_BRUSH_SELECT);

    // Anchors are fractions of the grid width measured from x = 0.
    const int gridWidth = GridWidth();
    DrawFlame(gridWidth / 5, endsLevel);
    DrawFlame(4 * gridWidth / 5, endsLevel);
    DrawFlame(2 * gridWidth / 5, centreLevel);
    DrawFlame(3 * gridWidth / 5, centreLevel);

    Check(m_dcMem.SelectPen(oldPen) != nullptr, PEN_DETACH, FLAME_PEN_DETACH);
    Check(pen.Delete(), PEN_DELETE, FLAME_PEN_DELETE);
    Check(m_dcMem.SelectBrush(oldBrush) != nullptr, BRUSH_DETACH, FLAME_BRUSH_DETACH);
    Check(brush.Delete(), BRUSH_DELETE, FLAME_BRUSH_DELETE);
}
