#include "ButtonRow.h"

#include "Numbers.h"

namespace {

// The row keeps 2 pixels below it and 5 at either side.
constexpr int kBottomMargin = 2;
constexpr int kSideMargin = 5;
// Shares of the client width, from the right: close, start/stop, each burner, pause.
constexpr double kCloseShare = 0.12;
constexpr double kStartShare = 0.17;
constexpr double kBurnerShare = 0.2;
constexpr double kPauseShare = 0.17;

}  // namespace

ButtonRow ComputeButtonRow(int cx, int cy) {
    const double w = cx;
    const double h = cy;
    ButtonRow row;
    // The top edge is where the view ends, less the margin instead of the view's gap.
    row.top = TruncToInt(h - (BUTTON_STRIP_SHARE * h + kBottomMargin));
    row.bottom = cy - kBottomMargin;
    // From the right margin leftwards: close, start/stop, the ends and the centre burner,
    // pause; the history button takes the rest. Sums run left to right, as they always
    // have, so that every edge falls on the same pixel.
    const double close = kCloseShare * w;
    const double start = close + kStartShare * w;
    const double ends = start + kBurnerShare * w;
    const double centre = ends + kBurnerShare * w;
    const double pause = centre + kPauseShare * w;
    row.edges = {kSideMargin,
                 TruncToInt(w - (pause + kSideMargin)),
                 TruncToInt(w - (centre + kSideMargin)),
                 TruncToInt(w - (ends + kSideMargin)),
                 TruncToInt(w - (start + kSideMargin)),
                 TruncToInt(w - (close + kSideMargin)),
                 cx - kSideMargin};
    return row;
}
