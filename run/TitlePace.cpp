#include "TitlePace.h"

#include <algorithm>

double CTitlePace::WaitMs(double nowMs) const {
    if (!m_lastShownMs) {
        return 0.0;
    }
    // A clock that went back (another clock, a restart) waits no longer than one interval.
    return std::clamp(*m_lastShownMs + INTERVAL_MS - nowMs, 0.0, INTERVAL_MS);
}
