#include "HistoryPanel.h"

#include <algorithm>

#include "HistoryGraph.h"
#include "HistoryTexts.h"
#include "Numbers.h"
#include "Surface.h"

namespace {

// The graph surface's failure codes, in the order of SurfaceExitCodes: -1 for every release
// step, -2 for every creation step.
constexpr SurfaceExitCodes GRAPH_CODES{EXIT_RELEASE_SURFACE, EXIT_RELEASE_SURFACE,
                                       EXIT_RELEASE_SURFACE, EXIT_CREATE_SURFACE,
                                       EXIT_CREATE_SURFACE,  EXIT_CREATE_SURFACE};

// `format` with its "%d" standing for `value`: a whole number, or the text of a value that is
// not finite.
std::string Formatted(const std::string& format, double value) {
    const char* notFinite = NonFiniteText(value);
    const std::string shown = notFinite != nullptr ? notFinite : std::to_string(TruncToInt(value));
    std::string text = format;
    if (const std::size_t at = text.find("%d"); at != std::string::npos) {
        text.replace(at, 2, shown);
    }
    return text;
}

}  // namespace

CHistoryPanel::CHistoryPanel(const CHistoryRecorder& samples, TextOf textOf)
    : m_samples(samples), m_textOf(std::move(textOf)) {}

CHistoryPanel::~CHistoryPanel() {
    Release();
}

bool CHistoryPanel::Resize(int cx, int cy, bool minimised) {
    if (m_bReleased || minimised || cx < MIN_CLIENT_SIZE || cy < MIN_CLIENT_SIZE) {
        return false;
    }
    m_averages.reset();
    ReleaseSurface(m_dc, m_bitmap, m_pOldBitmap, GRAPH_CODES);
    m_width = cx;
    m_height = cy - STATUS_BAR_HEIGHT;
    m_pOldBitmap = CreateSurface(m_dc, m_bitmap, m_width, m_height, GRAPH_CODES);
    ClearGraph(m_dc, m_width, m_height);
    DrawGridDots(m_dc, m_width, m_height);
    Redraw();
    return true;
}

void CHistoryPanel::ShowAverages(double temperature, double heat) {
    if (HasSurface()) {
        m_averages = {temperature, heat};
    }
}

std::string CHistoryPanel::StatusText(int part) const {
    const bool temperature = part == TEMPERATURE_PART;
    if (!m_averages) {
        return m_textOf(temperature ? STATUS_TEMPERATURE_PLACEHOLDER : STATUS_HEAT_PLACEHOLDER);
    }
    return temperature ? Formatted(m_textOf(STATUS_TEMPERATURE_FORMAT), m_averages->first)
                       : Formatted(m_textOf(STATUS_HEAT_FORMAT), m_averages->second);
}

bool CHistoryPanel::MarkStale() {
    // The graph is a function of the samples alone: many samples between two paints need one
    // redraw, done when the graph is taken.
    return !std::exchange(m_bStale, true);
}

void CHistoryPanel::Redraw() {
    m_bWholeFull = true;
    RedrawSurface();
}

void CHistoryPanel::RedrawSurface() {
    // Without a surface (never sized to 100 x 100 yet) there is nothing to draw into; the
    // samples are kept and the first accepted size draws them.
    m_bStale = false;
    if (!HasSurface()) {
        return;
    }
    m_bChanged = true;
    if (m_bWholeRun) {
        DrawWholeRun(m_bWholeFull);
        return;
    }
    ClearGraph(m_dc, m_width, m_height);
    DrawGridDots(m_dc, m_width, m_height);
    DrawCurves(m_dc, m_width, m_height, m_samples.Samples());
}

const PixelBuffer* CHistoryPanel::Graph() {
    if (m_bStale) {
        RedrawSurface();
    }
    m_bChanged = false;
    return HasSurface() ? &m_bitmap.Pixels() : nullptr;
}

bool CHistoryPanel::ShowWholeRun(bool whole) {
    whole = whole && m_pWholeRun != nullptr;
    if (whole == m_bWholeRun) {
        return false;
    }
    m_bWholeRun = whole;
    Redraw();
    return true;
}

void CHistoryPanel::DrawWholeRun(bool full) {
    const std::vector<CRunHistory::Entry>& entries = m_pWholeRun->Entries();
    const long long lastTick = entries.empty() ? 0 : entries.back().tick;
    const WholeRunLayout layout =
        LayOutWholeRun(m_width, m_height, lastTick, WholeRunTextMeasure());
    // Samples are only ever added to a run until the next fresh start, which redraws all; so
    // while the axes hold, the newest sample drawn is still there and the rest follow it.
    std::size_t from = 0;
    if (!full && m_nLastDrawnTick >= 0 && layout.span == m_wholeLayout.span &&
        lastTick >= m_nLastDrawnTick) {
        const auto drawn = std::lower_bound(
            entries.begin(), entries.end(), m_nLastDrawnTick,
            [](const CRunHistory::Entry& e, long long tick) { return e.tick < tick; });
        if (drawn == entries.end() || drawn->tick != m_nLastDrawnTick) {
            full = true;
        } else {
            from = static_cast<std::size_t>(drawn - entries.begin());
        }
    } else {
        full = true;
    }
    m_bWholeFull = false;
    m_wholeLayout = layout;
    if (full) {
        DrawWholeRunAxes(m_dc, layout, m_textOf);
    }
    if (!layout.Usable() || entries.empty()) {
        m_nLastDrawnTick = -1;
        return;
    }
    DrawWholeRunCurves(m_bitmap.Pixels(), layout, WholeRunPoints(layout, entries, from));
    m_nLastDrawnTick = lastTick;
}

void CHistoryPanel::Release() {
    if (m_bReleased) {
        return;
    }
    m_bReleased = true;
    ReleaseSurface(m_dc, m_bitmap, m_pOldBitmap, GRAPH_CODES);
}
