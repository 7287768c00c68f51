#pragma once

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <QRect>
#include <memory>
#include <optional>
#include <utility>

#include "Drawing.h"
#include "HistoryRecorder.h"
#include "HistoryStatusBar.h"
#include "RunHistory.h"
#include "WholeRunGraph.h"

class QContextMenuEvent;
class QImage;
class QPaintEvent;
class QResizeEvent;

// The history window: a resizable top-level window, created hidden, that plots the last
// 100 samples of the vessel's average temperature (blue) and average heat (red) above a
// two-part status bar showing the averages of the latest tick. The samples belong to the
// run; the window only shows them.
//
// The graph is drawn into an off-screen surface the size of the client area above the
// bottom 22 pixels; painting copies it. The surface and the status bar are rebuilt on
// every resize to at least 100 x 100 that is not a minimise, and drawing and recording go
// on while the window is hidden. Its close box (and Escape) only hide it: the object stays
// until the owner deletes it.
class CHistoryDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int STATUS_BAR_ID = 1051;
    static constexpr int STATUS_BAR_HEIGHT = 22;
    static constexpr int MIN_CLIENT_SIZE = 100;
    // Client size before the owner places the window: 154 x 73 dialog units of a 9-point
    // font (6 x 12 pixel base units).
    static constexpr int INITIAL_CLIENT_WIDTH = 231;
    static constexpr int INITIAL_CLIENT_HEIGHT = 110;

    // Plots the samples of `samples`, which must outlive the window.
    explicit CHistoryDlg(const CHistoryRecorder& samples);
    ~CHistoryDlg() override;

    // Shows the averages of the latest tick (degrees C, J) in the status bar.
    void ShowAverages(int temperature, int heat);
    // The same for averages that may not be finite: such a value shows as "NaN", "inf" or
    // "-inf", never as a number.
    void ShowAverages(double temperature, double heat);
    // Samples were taken: the graph is redrawn once, when it is next painted or read.
    void MarkGraphStale();

    // Hides the window and gives it `geometry` (client area, as QWidget::setGeometry).
    // The new size takes effect at once although the window is hidden, so the surface
    // and the status bar exist, and follow the recording, before it is first shown.
    void PlaceHidden(const QRect& geometry);

    // Redraws the whole surface from the samples and schedules a repaint.
    void DrawGraph();

    // The whole run's samples, offered by the context menu's "全体を表示" (which only shows
    // once they are given); they must outlive the window.
    void SetWholeRun(const CRunHistory* run) { m_wholeRun = run; }
    // Shows every sample since the fresh start on one graph with axes, or (false, the
    // default) the last 100 samples.
    void ShowWholeRun(bool whole);
    bool ShowsWholeRun() const { return m_bWholeRun; }
    // How the whole-run graph is laid out on the present surface.
    const WholeRunLayout& WholeLayout() const { return m_wholeLayout; }

    // Handles a new client size: `state` tells whether the window is minimised. Sizes
    // below 100 in either direction and minimising keep the present surface and status
    // bar. Driven by the window's resize events.
    void OnSize(Qt::WindowStates state, int cx, int cy);

    // Releases the status bar and the graph surface, and hides the window. Runs once; the
    // destructor runs it if the owner has not.
    void DestroyWindow();

    // The graph surface, up to date with the samples, or nullptr before the first
    // accepted resize.
    const QImage* GraphImage();
    const QRect& GraphRect() const { return m_rcGraph; }
    // nullptr before the first accepted resize.
    CHistoryStatusBar* StatusBar() const { return m_pStatusBar; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The whole-run graph: drawn afresh (`full`) or, while the axes hold, only the samples
    // taken since it was last drawn.
    void DrawWholeRun(bool full);
    // The caption and the status bar's texts in the current language.
    void RetranslateUi();
    void ShowPlaceholders();
    void RedrawSurface();
    void ClearGraph();
    void DrawGridDots();
    void OnPaint();
    void OnDestroy();
    void ReleaseGraphSurface();
    void CreateGraphSurface();
    void CreateStatusBar(int cx, int cy);

    const CHistoryRecorder& m_history;  // the samples shown
    QRect m_rcGraph;                    // (0, 0, cx, cy - 22) of the last accepted resize
    MemoryDC m_dcGraph;
    FrameBitmap m_bmpGraph;
    // What m_dcGraph held before m_bmpGraph; non-null exactly while the surface exists.
    FrameBitmap* m_pOldGraphBitmap = nullptr;
    QImage m_graphImage;  // the surface's pixels as an image, made by GraphImage
    CHistoryStatusBar* m_pStatusBar = nullptr;  // owned child window
    // The status bar's formats in the current language, and the averages it shows, if any.
    QByteArray m_temperatureFormat;
    QByteArray m_heatFormat;
    std::optional<std::pair<int, int>> m_shownAverages;
    bool m_bDestroyed = false;
    bool m_bGraphStale = false;  // samples taken since the graph was last drawn

    const CRunHistory* m_wholeRun = nullptr;
    bool m_bWholeRun = false;
    QImage m_wholeImage;
    WholeRunLayout m_wholeLayout;
    long long m_nLastDrawnTick = -1;  // the newest sample on m_wholeImage; -1: none
    bool m_bWholeFull = true;         // the next drawing starts afresh
};

// Makes the history window of `samples`, hidden and without a parent. A window that cannot be made
// ends the program with "履歴ウインドウを作成できませんでした。" and exit code -101.
std::unique_ptr<CHistoryDlg> CreateHistoryDlg(const CHistoryRecorder& samples);
