#pragma once

#include <optional>

// How often the window title follows a fast run. The run control's title is shown at once
// when a command changes it (a start, a speed, a single step); at the faster speeds every
// timer message changes its tick count, and those changes are shown at most every 100 ms, so
// that the title stays readable and costs the window nothing. Times are milliseconds of any
// steady clock the front end has.
class CTitlePace {
public:
    static constexpr double INTERVAL_MS = 100.0;

    // A title was shown at `nowMs`.
    void Shown(double nowMs) { m_lastShownMs = nowMs; }
    // Whether a title the ticks changed may be shown at `nowMs`: 100 ms or more since the last
    // one, or none shown yet.
    bool Due(double nowMs) const { return WaitMs(nowMs) <= 0.0; }
    // How long after `nowMs` it may be shown; 0 when it may be now.
    double WaitMs(double nowMs) const;

private:
    std::optional<double> m_lastShownMs;
};
