#include "Layout.h"

#include "Numbers.h"

ButtonRow ComputeButtonRow(int cx, int cy) {
    const double w = cx;
    const double h = cy;
    ButtonRow row;
    row.top = TruncToInt(h - (0.075 * h + 2));
    row.bottom = cy - 2;
    // From the right margin leftwards: close 12 %, start/stop 17 %, the two burners 20 %
    // each, pause 17 %; the history button takes the rest. Sums run left to right.
    const double e1 = w - (0.12 * w + 5);
    const double e2 = w - (0.12 * w + 0.17 * w + 5);
    const double e3 = w - (0.12 * w + 0.17 * w + 0.2 * w + 5);
    const double e4 = w - (0.12 * w + 0.17 * w + 0.2 * w + 0.2 * w + 5);
    const double e5 = w - (0.12 * w + 0.17 * w + 0.2 * w + 0.2 * w + 0.17 * w + 5);
    row.edges = {
        5, TruncToInt(e5), TruncToInt(e4), TruncToInt(e3), TruncToInt(e2), TruncToInt(e1), cx - 5};
    return row;
}
