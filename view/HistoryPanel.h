#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "Drawing.h"
#include "HistoryRecorder.h"
#include "RunHistory.h"
#include "WholeRunGraph.h"
#include "WholeRunPicture.h"

// The history panel as every front end shows it: the graph of the run's samples above a
// two-part status bar with the averages of the latest tick. The panel decides its sizes, its
// texts and when its graph is drawn, and draws it; a front end shows the pixels and the texts
// it gives and passes on the sizes, the averages and the user's choices.
//
// The graph fills the client area above the bottom 22 pixels; a new size of at least 100 x 100
// makes it afresh and shows the status bar's placeholders until the next averages. Samples
// make the graph stale, and a stale graph is drawn once, when it is next taken. It shows the
// last 100 samples, or every sample since the fresh start on axes (the whole run).
class CHistoryPanel {
public:
    static constexpr int STATUS_BAR_HEIGHT = 22;
    static constexpr int MIN_CLIENT_SIZE = 100;
    // Client size before the owner places the window: 154 x 73 dialog units of a 9-point
    // font (6 x 12 pixel base units).
    static constexpr int INITIAL_CLIENT_WIDTH = 231;
    static constexpr int INITIAL_CLIENT_HEIGHT = 110;

    // The status bar's parts: the average temperature on the left, the average heat on the
    // right.
    static constexpr int TEMPERATURE_PART = 0;
    static constexpr int HEAT_PART = 1;
    static constexpr int PART_COUNT = 2;

    // Plots `samples`, which must outlive the panel; its texts are put into the front end's
    // language by `textOf`.
    CHistoryPanel(const CHistoryRecorder& samples, TextOf textOf);
    ~CHistoryPanel();
    CHistoryPanel(const CHistoryPanel&) = delete;
    CHistoryPanel& operator=(const CHistoryPanel&) = delete;

    // A new client size. A minimised window, a size below 100 either way and a released panel
    // keep everything as it is (false). Otherwise the graph is made cx x (cy - 22) and drawn,
    // and the status bar shows its placeholders. A surface that cannot be made or released
    // ends the program (-2, -1), as does the 100-sample graph's background (-3).
    bool Resize(int cx, int cy, bool minimised = false);
    // Whether a size was taken (and the panel not released): only then is there a graph and a
    // status bar.
    bool HasSurface() const { return m_pOldBitmap != nullptr; }
    int GraphWidth() const { return m_width; }
    int GraphHeight() const { return m_height; }
    // The status bar under the graph, (0, cy - 22)-(cx, cy), and where its first part ends.
    int StatusBarTop() const { return m_height; }
    int FirstPartRight() const { return m_width / 2; }

    // The averages of the latest tick (degrees C, J), shown until the next ones or a new
    // size; ignored without a status bar.
    void ShowAverages(double temperature, double heat);
    // A part's text: its placeholder, or its average as a whole number ("NaN", "inf" or
    // "-inf" for one that is not finite, never a number).
    std::string StatusText(int part) const;

    // Samples were taken: true when the graph has just become stale, so that the front end
    // asks for one repaint.
    bool MarkStale();
    bool IsStale() const { return m_bStale; }
    // The samples were refilled, the view or the language changed: drawn afresh now.
    void Redraw();
    // The graph, up to date with the samples; nullptr without a surface.
    const PixelBuffer* Graph();
    // Whether the graph was drawn again, or became stale, since Graph() last gave it.
    bool Changed() const { return m_bChanged || m_bStale; }

    // The whole run's samples, which must outlive the panel; only with them is the whole-run
    // view offered.
    void SetWholeRun(const CRunHistory* run) { m_pWholeRun = run; }
    bool OffersWholeRun() const { return m_pWholeRun != nullptr; }
    // Shows the whole run on axes, or (false, the default) the last 100 samples, drawn at
    // once. False when the view stays as it was.
    bool ShowWholeRun(bool whole);
    bool ShowsWholeRun() const { return m_bWholeRun; }
    // How the whole-run graph is laid out on the present surface.
    const WholeRunLayout& WholeLayout() const { return m_wholeLayout; }

    // Releases the surface; nothing is sized, shown or drawn afterwards. Runs once; the
    // destructor runs it if the owner has not.
    void Release();
    bool IsReleased() const { return m_bReleased; }

private:
    void RedrawSurface();
    // The whole-run graph: drawn afresh (`full`) or, while the axes hold, only the samples
    // taken since it was last drawn.
    void DrawWholeRun(bool full);

    const CHistoryRecorder& m_samples;
    TextOf m_textOf;
    MemoryDC m_dc;
    FrameBitmap m_bitmap;
    // What m_dc held before m_bitmap; non-null exactly while the surface exists.
    FrameBitmap* m_pOldBitmap = nullptr;
    int m_width = 0;
    int m_height = 0;
    bool m_bReleased = false;
    bool m_bStale = false;    // samples taken since the graph was last drawn
    bool m_bChanged = false;  // drawn since Graph() last gave it
    std::optional<std::pair<double, double>> m_averages;

    const CRunHistory* m_pWholeRun = nullptr;
    bool m_bWholeRun = false;
    WholeRunLayout m_wholeLayout;
    long long m_nLastDrawnTick = -1;  // the newest sample drawn on the whole-run graph; -1: none
    bool m_bWholeFull = true;         // the next whole-run drawing starts afresh
};
