#pragma once

#include "Surface.h"

// The messages the vessel view reports through FatalError, each naming the object and the
// action that failed, and the exit codes of its failing steps.
namespace ViewMessages {

constexpr const char* REGION_CREATE = "リージョンの作成に失敗しました。";
constexpr const char* REGION_DELETE = "リージョンの解放に失敗しました。";
constexpr const char* POLYGON_CREATE = "多角形リージョンの作成に失敗しました。";
constexpr const char* POLYGON_DELETE = "多角形リージョンの解放に失敗しました。";

constexpr const char* BRUSH_CREATE = "ブラシの作成に失敗しました。";
constexpr const char* BRUSH_SELECT = "ブラシの選択に失敗しました。";
constexpr const char* BRUSH_UNSELECT = "ブラシの解除に失敗しました。";
constexpr const char* BRUSH_DETACH = "ブラシの取り外しに失敗しました。";
constexpr const char* BRUSH_DELETE = "ブラシの解放に失敗しました。";

constexpr const char* PEN_CREATE = "ペンの作成に失敗しました。";
constexpr const char* PEN_SELECT = "ペンの選択に失敗しました。";
constexpr const char* PEN_UNSELECT = "ペンの解除に失敗しました。";
constexpr const char* PEN_DETACH = "ペンの取り外しに失敗しました。";
constexpr const char* PEN_DELETE = "ペンの解放に失敗しました。";

}  // namespace ViewMessages

// The exit code of each failing step, fixed per drawing operation; codes repeat across
// operations (the colour scale and the info panel share theirs, and all four steps of the
// vessel report the same code).
namespace ViewExitCodes {

// The off-screen frame, in the order of SurfaceExitCodes.
constexpr SurfaceExitCodes FRAME{-2, -3, -4, -5, -6, -7};

// The black background of the whole view.
constexpr int CLEAR_BRUSH_CREATE = -8;
constexpr int CLEAR_REGION_CREATE = -9;

// Every step of the vessel's polygon.
constexpr int VESSEL = -11;

// One segment of the colour scale.
constexpr int SCALE_BRUSH_CREATE = -12;
constexpr int SCALE_REGION_CREATE = -13;

// The flames' shared pen and brush.
constexpr int FLAME_BRUSH_CREATE = -14;
constexpr int FLAME_PEN_CREATE = -15;
constexpr int FLAME_BRUSH_SELECT = -15;
constexpr int FLAME_PEN_SELECT = -16;
constexpr int FLAME_PEN_DETACH = -17;
constexpr int FLAME_PEN_DELETE = -18;
constexpr int FLAME_BRUSH_DETACH = -19;
constexpr int FLAME_BRUSH_DELETE = -20;

// Clearing the strip of the flames.
constexpr int FLAME_AREA_REGION_CREATE = -21;
constexpr int FLAME_AREA_BRUSH_CREATE = -22;
constexpr int FLAME_AREA_BRUSH_DELETE = -23;
constexpr int FLAME_AREA_REGION_DELETE = -24;

// A liquid cell.
constexpr int LIQUID_REGION_CREATE = -25;
constexpr int LIQUID_BRUSH_CREATE = -26;
constexpr int LIQUID_BRUSH_DELETE = -27;
constexpr int LIQUID_REGION_DELETE = -28;

// Either pass of a bubble cell.
constexpr int BUBBLE_PEN_CREATE = -33;
constexpr int BUBBLE_PEN_SELECT = -34;
constexpr int BUBBLE_BRUSH_CREATE = -35;
constexpr int BUBBLE_BRUSH_SELECT = -36;
constexpr int BUBBLE_BRUSH_UNSELECT = -37;
constexpr int BUBBLE_BRUSH_DELETE = -38;
constexpr int BUBBLE_PEN_UNSELECT = -39;
constexpr int BUBBLE_PEN_DELETE = -40;

// The info panel's black background.
constexpr int PANEL_BRUSH_CREATE = -12;
constexpr int PANEL_REGION_CREATE = -13;

}  // namespace ViewExitCodes
