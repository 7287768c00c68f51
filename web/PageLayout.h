#pragma once

#include "MainTexts.h"

// What the page lays out as the desktop does, for the page's script to take rather than
// repeat: the dialog units of the desktop's dialog font and the About box's lines.
namespace PageLayout {

// The desktop's 9-point dialog font has base units of 6 x 12 pixels: a horizontal dialog unit
// is a quarter of the first, a vertical one an eighth of the second.
constexpr int DIALOG_BASE_X = 6;
constexpr int DIALOG_BASE_Y = 12;
constexpr double DIALOG_UNIT_X = DIALOG_BASE_X / 4.0;
constexpr double DIALOG_UNIT_Y = DIALOG_BASE_Y / 8.0;

// The About box's three lines at their places in the desktop's box (dialog units).
struct AboutLine {
    int x, y;
    const char* text;
};
inline constexpr AboutLine ABOUT_LINES[] = {
    {53, 14, MainTexts::ABOUT_VERSION},
    {53, 29, MainTexts::ABOUT_RIGHTS},
    {53, 44, MainTexts::ABOUT_CONTACT},
};

}  // namespace PageLayout
