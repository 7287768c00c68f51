#include "HistoryRecorder.h"

#include <algorithm>
#include <climits>

#include "Numbers.h"

CHistoryRecorder::CHistoryRecorder()
    : m_pSamples(std::make_unique<HistorySample[]>(HISTORY_SAMPLE_COUNT)) {}

bool CHistoryRecorder::RecordSample(int temperature, int heat) {
    const int ticksBefore = s_nTicksSinceSample;
    // Saturates instead of overflowing: with an interval of INT_MAX no sample is ever due.
    if (s_nTicksSinceSample < INT_MAX) {
        ++s_nTicksSinceSample;
    }
    if (ticksBefore > m_nHistoryInterval) {
        ShiftInSample(temperature, heat);
        s_nTicksSinceSample = 0;
        return true;
    }
    return false;
}

void CHistoryRecorder::ShiftInSample(int temperature, int heat) {
    std::copy(m_pSamples.get() + 1, m_pSamples.get() + HISTORY_SAMPLE_COUNT, m_pSamples.get());
    m_pSamples[HISTORY_SAMPLE_COUNT - 1] = HistorySample{temperature, heat};
}

void CHistoryRecorder::ResetHistory(int initialTemperature) {
    const HistorySample flat{initialTemperature, CalToJoules(initialTemperature)};
    std::fill(m_pSamples.get(), m_pSamples.get() + HISTORY_SAMPLE_COUNT, flat);
}

void CHistoryRecorder::Restore(const std::array<HistorySample, HISTORY_SAMPLE_COUNT>& window,
                               int ticksSinceSample) {
    std::copy(window.begin(), window.end(), m_pSamples.get());
    s_nTicksSinceSample = ticksSinceSample;
}
