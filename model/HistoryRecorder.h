#pragma once

#include <array>
#include <memory>

// One point of the history: average temperature in degrees C and average heat in J.
struct HistorySample {
    int temperature = 0;
    int heat = 0;
};

// Receives each sample a run takes, with the number of the tick (since the fresh start)
// that took it.
class SampleSink {
public:
    virtual ~SampleSink() = default;
    virtual void OnSample(long long tick, int temperature, int heat) = 0;
};

constexpr int HISTORY_SAMPLE_COUNT = 100;
constexpr int DEFAULT_HISTORY_INTERVAL = 100;

// The sampling rule and the window of the last 100 samples, shared by the history window
// and the headless runner so that both take the same samples.
class CHistoryRecorder {
public:
    CHistoryRecorder();

    // Counts one tick; returns true when this tick takes a sample (shifted in already).
    // A sample is due when the ticks counted since the last one, before this tick,
    // exceed the interval: every (interval + 2)-th tick.
    bool RecordSample(int temperature, int heat);
    // Whether the next RecordSample takes a sample.
    bool SampleDue() const { return s_nTicksSinceSample > m_nHistoryInterval; }
    // Drops the oldest sample and appends the new one at index 99.
    void ShiftInSample(int temperature, int heat);
    // Fills every sample with the temperature t and its heat in J; keeps the tick count.
    void ResetHistory(int initialTemperature);

    const HistorySample& Sample(int index) const { return m_pSamples[index]; }
    // All HISTORY_SAMPLE_COUNT samples, index 0 oldest.
    const HistorySample* Samples() const { return m_pSamples.get(); }

    int HistoryInterval() const { return m_nHistoryInterval; }
    void SetHistoryInterval(int interval) { m_nHistoryInterval = interval; }
    int TicksSinceSample() const { return s_nTicksSinceSample; }
    // Puts back a window and a count since the last sample as a run kept them.
    void Restore(const std::array<HistorySample, HISTORY_SAMPLE_COUNT>& window,
                 int ticksSinceSample);

private:
    int m_nHistoryInterval = DEFAULT_HISTORY_INTERVAL;  // any value; 0 or less samples often
    std::unique_ptr<HistorySample[]> m_pSamples;        // index 0 oldest, 99 newest
    // Ticks since the last sample. No reset clears it: it lives as long as the one
    // recorder of the process.
    int s_nTicksSinceSample = 0;
};
