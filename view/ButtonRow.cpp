#include "ButtonRow.h"

#include "Numbers.h"

namespace {

// The row keeps 2 pixels below it and 5 at either side.
constexpr int BOTTOM_MARGIN = 2;
constexpr int SIDE_MARGIN = 5;
// Shares of the client width, from the right: close, start/stop, each burner, pause.
constexpr double CLOSE_SHARE = 0.12;
constexpr double START_SHARE = 0.17;
constexpr double BURNER_SHARE = 0.2;
constexpr double PAUSE_SHARE = 0.17;

}  // namespace

ButtonRow ComputeButtonRow(int cx, int cy) {
    const double w = cx;
    const double h = cy;
    ButtonRow row;
    // The top edge is where the view ends, less the margin instead of the view's gap.
    row.top = TruncToInt(h - (BUTTON_STRIP_SHARE * h + BOTTOM_MARGIN));
    row.bottom = cy - BOTTOM_MARGIN;
    // From the right margin leftwards: close, start/stop, the ends and the centre burner,
    // pause; the history button takes the rest. Sums run left to right, as they always
    // have, so that every edge falls on the same pixel.
    const double close = CLOSE_SHARE * w;
    const double start = close + START_SHARE * w;
    const double ends = start + BURNER_SHARE * w;
    const double centre = ends + BURNER_SHARE * w;
    const double pause = centre + PAUSE_SHARE * w;
    row.edges = {SIDE_MARGIN,
                 TruncToInt(w - (pause + SIDE_MARGIN)),
                 TruncToInt(w - (centre + SIDE_MARGIN)),
                 TruncToInt(w - (ends + SIDE_MARGIN)),
                 TruncToInt(w - (start + SIDE_MARGIN)),
                 TruncToInt(w - (close + SIDE_MARGIN)),
                 cx - SIDE_MARGIN};
    return row;
}
