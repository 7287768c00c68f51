#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "HistoryRecorder.h"

// The header line of a history CSV file.
constexpr const char* HISTORY_CSV_HEADER = "tick,average_temperature_c,average_heat_j\n";
// One sample as a line of a history CSV file: "tick,temperature,heat\n".
std::string FormatHistoryCsvLine(long long tick, int temperature, int heat);

// Samples kept of a whole run before the history is thinned.
constexpr std::size_t RUN_HISTORY_BOUND = 1000000;

// Every sample of a run since its fresh start: the tick that took it (counted from the fresh
// start), the average temperature in degrees C and the average heat in J. Memory stays
// bounded: each time the bound is reached, every second sample is dropped (the newest kept)
// and from then on only one sample in twice as many as before is kept.
class CRunHistory : public SampleSink {
public:
    struct Entry {
        long long tick;
        int temperature;
        int heat;
    };

    explicit CRunHistory(std::size_t bound = RUN_HISTORY_BOUND);

    void OnSample(long long tick, int temperature, int heat) override;
    // Forgets every sample: a fresh start.
    void Clear();

    const std::vector<Entry>& Entries() const { return m_entries; }
    // One sample in Stride() is kept: 1 until the bound is first reached.
    long long Stride() const { return m_nStride; }
    // Samples passed over since the last kept one.
    long long Skipped() const { return m_nSkipped; }
    // Takes over the samples of a run read back, as that run's history had them: fewer than
    // the bound, a stride that is a power of two and fewer skipped samples than the stride.
    void Restore(std::vector<Entry> entries, long long stride, long long skipped);
    std::size_t Bound() const { return m_nBound; }

    // Writes the header and every kept sample as CSV. False when a write fails, with errno
    // telling why.
    bool WriteCsv(std::FILE* stream) const;

private:
    void Thin();

    std::size_t m_nBound;
    std::vector<Entry> m_entries;
    long long m_nStride = 1;
    long long m_nSkipped = 0;  // samples passed over since the last kept one
};
