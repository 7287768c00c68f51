#pragma once

// Every position of the vessel view, in frame pixels, from the view's width W and height H
// and the grid's cell size: shared by the drawing and the inspection of cells.
namespace VesselGeometry {

// The strip of buttons under the view (BUTTON_STRIP_SHARE of the client height) and the
// gap above it: H = cy - 0.075 cy - 5 for a client height cy.
constexpr double BUTTON_STRIP_GAP = 5.0;

// The grid's top-left pixel.
constexpr int GRID_LEFT = 15;
constexpr int GRID_TOP = 25;
// Width the grid leaves to the walls, the colour scale and the gaps: cells share W - 95.
constexpr int GRID_WIDTH_RESERVE = 95;
// Part of H down to which the cells reach: they share 0.8 H - 25.
constexpr double GRID_HEIGHT_SHARE = 0.8;

// The U-shaped vessel: its walls and floor are 10 pixels thick, its left wall starts at
// x = 5 and both walls rise to y = 10, above the top of the grid.
constexpr int VESSEL_LEFT = 5;
constexpr int VESSEL_TOP = 10;
constexpr int WALL_THICKNESS = 10;

// The colour scale at the right edge: 20 pixels wide, 5 from the edge, from y = 15 down over
// 0.8 H rounded, in COLOR_LEVELS segments.
constexpr int SCALE_RIGHT_GAP = 5;
constexpr int SCALE_WIDTH = 20;
constexpr int SCALE_TOP = 15;
constexpr double SCALE_HEIGHT_SHARE = 0.8;
// Its six labels, 100 down to 0 in steps of 20, one every 8 segments; each ends 3 pixels
// left of the scale with its top 8 pixels above its segment boundary.
constexpr int LABEL_COUNT = 6;
constexpr int LABEL_TOP_VALUE = 100;
constexpr int LABEL_VALUE_STEP = 20;
constexpr int SEGMENTS_PER_LABEL = 8;
constexpr int LABEL_GAP = 3;
constexpr int LABEL_RISE = 8;  // for the frame font of 12 pixels: half its line height

// The flames' strip: from the vessel's left edge, 1 pixel below its floor, to W - 75, down to
// the flames' base line 2 pixels above the bottom. A flame is 10 pixels lower than its share
// of H.
constexpr int FLAME_AREA_RIGHT_RESERVE = 75;
constexpr int FLAME_BASE_GAP = 2;
constexpr int FLAME_HEIGHT_LOSS = 10;

// The info panel: from 45 pixels right of the rounded anchor of the right-hand flame (4/5 of
// the grid width) and 0.83 H down to 0.99 W and 0.99 H; its lines are 2 pixels apart.
constexpr int PANEL_LEFT_PAST_ANCHOR = 45;
constexpr double PANEL_TOP_SHARE = 0.83;
constexpr double PANEL_FAR_SHARE = 0.99;
constexpr int PANEL_LINE_GAP = 2;

}  // namespace VesselGeometry
