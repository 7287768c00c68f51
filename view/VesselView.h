#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Drawing.h"
#include "Simulation.h"

// The colour table shared by the cells and the colour scale: entry k is 240 - 6k, so
// level 0 is the palest colour and level 39 the deepest blue. Zero until first filled.
constexpr int COLOR_LEVELS = 40;
extern int g_anColorLevel[COLOR_LEVELS];

// The smallest client area the main window accepts; the frame is made only for these.
constexpr int MIN_CLIENT_WIDTH = 151;
constexpr int MIN_CLIENT_HEIGHT = 101;
// Part of the client height taken by the strip of buttons under the view.
constexpr double BUTTON_STRIP_SHARE = 0.075;

// Fixed colours of the view.
constexpr Rgb BUBBLE_COLOUR = RGB(95, 180, 175);
constexpr Rgb SELECTION_COLOUR = RGB(0, 0, 0);
constexpr Rgb HOVER_COLOUR = RGB(255, 255, 0);
// The outline the window draws over each cell a single step changed (never into the frame).
constexpr Rgb STEP_CHANGE_COLOUR = RGB(0, 255, 0);
constexpr Rgb VESSEL_COLOUR = RGB(130, 130, 130);
constexpr Rgb FLAME_COLOUR = RGB(255, 0, 0);
constexpr Rgb LABEL_COLOUR = RGB(255, 255, 255);

// A rectangle of the frame in pixels, right and bottom exclusive.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// A cell found under a point of the view.
struct CellHit {
    int col;
    int row;
    bool operator==(const CellHit&) const = default;
};

// The info panel's lines: drawn alike in both languages, the frame having one font.
inline constexpr char CELL_INFO_CELL_FORMAT[] = "Cell: (%2d,%2d)";
inline constexpr char CELL_INFO_TEMPERATURE_FORMAT[] = "Temp.: %3d [ﾟC]";
inline constexpr char CELL_INFO_HEAT_FORMAT[] = "Heat: %3d [J]";

// The size of the frame's text (the colour scale's labels and the info panel): the frame
// font's 12 pixels, 1.5 times or twice that.
enum class TextSize { Standard, Large, ExtraLarge };
inline constexpr TextSize TEXT_SIZES[] = {TextSize::Standard, TextSize::Large,
                                          TextSize::ExtraLarge};
// The names in the profile and on the runner's command line: "standard", "large",
// "extra-large".
const char* TextSizeName(TextSize size);
std::optional<TextSize> TextSizeFromName(std::string_view name);

// The three lines of the info panel for one cell.
struct CellInfoText {
    std::string cell;
    std::string temperature;  // whole degrees truncated
    std::string heat;         // the heat in joules rounded
};

// The vessel view: draws the simulation into an off-screen frame that the window copies
// to the screen. It reads the model and never changes it; attached to the model as its
// redraw observer, it draws every cell the step reports. Every drawing operation creates
// its own pens, brushes and regions, and a failure of any of them ends the program through
// FatalError with the message and code of that site.
class CVesselView : public CellRedrawObserver {
public:
    explicit CVesselView(const CSimulation& simulation);
    CVesselView(const CVesselView&) = delete;
    CVesselView& operator=(const CVesselView&) = delete;

    // --- Frame lifecycle -------------------------------------------------------------
    // The view rectangle for a client area of cx x cy: (0, 0, cx, trunc(cy - 0.075 cy - 5)).
    static PixelRect ViewRectFor(int cx, int cy);
    // Releases any old frame and makes a new, black one for the client size. Does not draw.
    void CreateFrame(int cx, int cy);
    // Releases the frame if there is one; a second call does nothing.
    void ReleaseFrame();
    bool HasFrame() const { return m_pOldBitmap != nullptr; }
    // Redraws everything in its fixed order; the cells (with the selection outline) only
    // when drawCells is set, that is once a run has been started.
    void FullRebuild(bool drawCells);
    // The frame as the window shows it at (0, 0): W x H pixels. Empty without a frame.
    const PixelBuffer& Frame() const { return m_bmpFrame.Pixels(); }
    PixelBuffer& Frame() { return m_bmpFrame.Pixels(); }
    const PixelRect& ViewRect() const { return m_rcView; }

    // --- Cells -----------------------------------------------------------------------
    void InitColorTable();
    void ComputeCellSize();
    void DrawLiquidCell(int col, int row, int temperature);
    void DrawBubbleCell(int col, int row);
    // Draws the bubble of (col, row) on `background`, and remembers that colour for it.
    void DrawBubbleOn(int col, int row, Rgb background);
    void DrawCell(const CCell& cell, int col, int row) override;
    void DrawAllCells();
    void DrawCellMarker(int col, int row, Rgb colour);
    PixelRect CellRect(int col, int row) const;
    // The frame's pixel at (x, y); 0 off the frame or without one.
    Rgb PixelAt(int x, int y) const { return m_dcMem.GetPixel(x, y); }

    // --- Vessel, flames and scale ----------------------------------------------------
    void ClearView();
    void DrawVessel();
    void ComputeScaleStep();
    void DrawColorScale();
    void DrawScaleLabels();
    void DrawFlames(int endsLevel, int centreLevel);
    void ClearFlameArea();

    // --- Inspection ------------------------------------------------------------------
    // The cell under (x, y) in a grid of columns x rows cells of cellWidth x cellHeight at
    // (15, 25); none off the grid, and none at all when a cell has no width or height.
    static std::optional<CellHit> HitTest(int x, int y, int columns, int rows, int cellWidth,
                                          int cellHeight);
    std::optional<CellHit> HitTest(int x, int y) const;
    static CellInfoText FormatCellInfo(int col, int row, const CCell& cell);
    // The panel rectangle for the current geometry.
    PixelRect InfoPanelRect() const;
    // Clears the panel and writes the three lines for the cell of the live grid.
    void DrawCellInfo(int col, int row);
    // Mouse moved to (x, y) of a started run: the hover outline and the panel follow the
    // cell under the cursor, or the panel returns to the selected cell off the grid.
    // The caller invalidates the window afterwards.
    void MouseMove(int x, int y);
    // Left button released at (x, y) of a started run: selects the cell under it. True
    // when the point was on the grid and the frame changed.
    bool LButtonUp(int x, int y);
    // At the end of a tick: refreshes the panel while it follows the selected cell.
    void RefreshSelectedInfo();
    // At the end of a timer message: refreshes the panel for the cell it shows, the hovered
    // or the selected one, so that it never shows values a cell no longer has.
    void RefreshInfo();
    // Keyboard inspection: a cell cursor that acts as the pointer. MoveCursor puts it on the
    // cell the panel shows, or moves it by (dCol, dRow) within the grid; the hover outline
    // and the panel follow it as they follow the mouse, which ends it by moving. Selecting
    // at the cursor is a click on its cell (false without a cursor); leaving it is the
    // pointer leaving the grid. The caller invalidates the window afterwards.
    void MoveCursor(int dCol, int dRow);
    bool SelectAtCursor();
    void LeaveCursor();
    std::optional<CellHit> Cursor() const { return m_cursor; }
    // The panel's lines for the cell it shows, as a screen reader reads them; none without
    // a grid.
    std::optional<CellInfoText> PanelText() const;

    // A start with a new grid puts the selection and the hover on the centre cell.
    void CentreInspection();
    // No cell selected: no cell gets the black outline (the picture of the headless run).
    void ClearSelection();
    // Selects (col, row) and puts the hover there too, as a run read back had it; (-1, -1)
    // selects none.
    void SetSelection(int col, int row);

    // A bubble stands on the colour its cell showed before it was drawn; what it stands on
    // decides its pixels and those of its next redraw. The colour the bubble of (col, row)
    // was last drawn on (0 when the cell never showed a bubble since the grid was made).
    Rgb BubbleBackground(int col, int row) const;
    // After a full rebuild of a run read back: every bubble drawn again on the colour it
    // stood on (`backgrounds` holds one colour per cell, row by row from the surface), so
    // the frame is the one the run had shown.
    void RestoreBubbles(const std::vector<Rgb>& backgrounds);
    // A run read back is in place: selects its cell and, once there is a frame, draws the
    // whole frame again with each bubble on the colour it stood on and the panel for the
    // selected cell. Without a frame yet, the next rebuild draws it.
    void ShowRunReadBack(int selectedCol, int selectedRow, const std::vector<Rgb>& backgrounds);

    // The selected and the hovered cell, and whether the panel shows the selected one
    // (the cursor is off the grid) rather than the hovered one.
    CellHit Selection() const { return CellHit{m_nSelCol, m_nSelRow}; }
    CellHit Hover() const { return CellHit{m_nHoverCol, m_nHoverRow}; }
    bool ShowsSelected() const { return m_bShowSelected; }

    // The text size asked for; a full rebuild draws with it when the info panel can hold its
    // three lines, and otherwise with the largest size that fits (the standard size always
    // does as it always has).
    void SetTextSize(TextSize size) { m_textSize = size; }
    TextSize GetTextSize() const { return m_textSize; }
    TextSize ShownTextSize() const { return m_shownTextSize; }

    // Geometry, set by the full rebuild: a cell's size in pixels, and the colour scale's
    // step.
    int CellWidth() const { return m_nCellWidth; }
    int CellHeight() const { return m_nCellHeight; }
    int ScaleStep() const { return m_nScaleStep; }

private:
    int ViewWidth() const { return m_rcView.Width(); }
    int ViewHeight() const { return m_rcView.Height(); }
    int GridWidth() const;
    int GridBottom() const;
    bool InGrid(int col, int row) const;
    void FillBlack(const PixelRect& rect, const char* brushText, int brushCode,
                   const char* regionText, int regionCode);
    void DrawFlame(int anchor, int level);
    void HoverAt(const std::optional<CellHit>& hit);
    bool SelectCell(const std::optional<CellHit>& hit);
    // How far a scale label stands above its boundary: half the text's height.
    int LabelRise() const;

    const CSimulation& m_sim;

    int m_nCellWidth = 0;
    int m_nCellHeight = 0;
    int m_nScaleStep = 0;

    // Inspection state.
    int m_nSelCol = 0;
    int m_nSelRow = 0;
    int m_nHoverCol = 0;
    int m_nHoverRow = 0;
    bool m_bShowSelected = true;
    std::optional<CellHit> m_cursor;  // the keyboard's cell cursor, while it is on

    TextSize m_textSize = TextSize::Standard;
    TextSize m_shownTextSize = TextSize::Standard;

    // What each cell's bubble was last drawn on, row by row from the surface.
    std::vector<Rgb> m_bubbleBackgrounds;

    PixelRect m_rcView{0, 0, 0, 0};
    // What the panel's text last covered, which may reach past the panel (a wide value, a
    // narrow frame): cleared with the panel before its next text. Empty on a cleared frame.
    PixelRect m_rcPanelText{0, 0, 0, 0};
    MemoryDC m_dcMem;
    FrameBitmap m_bmpFrame;
    FrameBitmap* m_pOldBitmap = nullptr;
    // The marker's pen outlives every selection of it, so that a failed restore (which
    // the marker does not treat as fatal) never leaves the frame's context with a pen
    // that no longer exists.
    Pen m_penMarker;
};
