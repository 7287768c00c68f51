#include "RunHistory.h"

#include <algorithm>
#include <limits>
#include <utility>

std::string FormatHistoryCsvLine(long long tick, int temperature, int heat) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%lld,%d,%d\n", tick, temperature, heat);
    return std::string(line, static_cast<std::size_t>(length));
}

CRunHistory::CRunHistory(std::size_t bound) : m_nBound(std::max<std::size_t>(bound, 2)) {}

void CRunHistory::OnSample(long long tick, int temperature, int heat) {
    if (!m_entries.empty() && ++m_nSkipped < m_nStride) {
        return;
    }
    m_nSkipped = 0;
    m_entries.push_back(Entry{tick, temperature, heat});
    if (m_entries.size() >= m_nBound) {
        Thin();
    }
}

void CRunHistory::Thin() {
    // Keep the newest and every second one before it; the kept samples stay evenly spaced.
    const std::size_t count = m_entries.size();
    std::size_t kept = 0;
    for (std::size_t i = (count - 1) % 2; i < count; i += 2) {
        m_entries[kept++] = m_entries[i];
    }
    m_entries.resize(kept);
    // A stride beyond 2^62 takes more samples than any run has ticks; it stays put rather
    // than overflow.
    if (m_nStride <= std::numeric_limits<long long>::max() / 2) {
        m_nStride *= 2;
    }
}

void CRunHistory::Clear() {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_nStride = 1;
    m_nSkipped = 0;
}

void CRunHistory::Restore(std::vector<Entry> entries, long long stride, long long skipped) {
    m_entries = std::move(entries);
    m_nStride = stride;
    m_nSkipped = skipped;
}

bool CRunHistory::WriteCsv(std::FILE* stream) const {
    if (std::fputs(HISTORY_CSV_HEADER, stream) < 0) {
        return false;
    }
    for (const Entry& entry : m_entries) {
        const std::string line = FormatHistoryCsvLine(entry.tick, entry.temperature, entry.heat);
        if (std::fputs(line.c_str(), stream) < 0) {
            return false;
        }
    }
    return true;
}
