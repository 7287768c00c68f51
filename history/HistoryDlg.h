#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <memory>

#include "HistoryPanel.h"
#include "HistoryRecorder.h"
#include "HistoryStatusBar.h"
#include "RunHistory.h"
#include "WholeRunGraph.h"

class QContextMenuEvent;
class QPaintEvent;
class QResizeEvent;

// The history window: a resizable top-level window, created hidden, that shows the history
// panel (CHistoryPanel): the graph of the last 100 samples of the vessel's average temperature
// (blue) and average heat (red), or of the whole run, above a two-part status bar showing the
// averages of the latest tick. The samples belong to the run; the panel decides what is shown
// and draws the graph, the window shows its pixels and texts.
//
// Drawing and recording go on while the window is hidden. Its close box (and Escape) only
// hide it: the object stays until the owner deletes it.
class CHistoryDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int STATUS_BAR_ID = 1051;

    // Plots the samples of `samples`, which must outlive the window.
    explicit CHistoryDlg(const CHistoryRecorder& samples);
    ~CHistoryDlg() override;

    // Shows the averages of the latest tick (degrees C, J) in the status bar; a value that is
    // not finite shows as "NaN", "inf" or "-inf", never as a number.
    void ShowAverages(double temperature, double heat);
    // Samples were taken: the graph is redrawn once, when it is next painted or read.
    void MarkGraphStale();

    // Hides the window and gives it `geometry` (client area, as QWidget::setGeometry).
    // The new size takes effect at once although the window is hidden, so the surface
    // and the status bar exist, and follow the recording, before it is first shown.
    void PlaceHidden(const QRect& geometry);

    // Redraws the whole graph from the samples and schedules a repaint.
    void DrawGraph();

    // The whole run's samples, offered by the context menu's "全体を表示" (which only shows
    // once they are given); they must outlive the window.
    void SetWholeRun(const CRunHistory* run) { m_panel.SetWholeRun(run); }
    // Shows every sample since the fresh start on one graph with axes, or (false, the
    // default) the last 100 samples.
    void ShowWholeRun(bool whole);
    bool ShowsWholeRun() const { return m_panel.ShowsWholeRun(); }
    // How the whole-run graph is laid out on the present surface.
    const WholeRunLayout& WholeLayout() const { return m_panel.WholeLayout(); }

    // Handles a new client size: `state` tells whether the window is minimised. Sizes
    // below 100 in either direction and minimising keep the present surface and status
    // bar. Driven by the window's resize events.
    void OnSize(Qt::WindowStates state, int cx, int cy);

    // Releases the status bar and the graph surface, and hides the window. Runs once; the
    // destructor runs it if the owner has not.
    void DestroyWindow();

    // The graph, up to date with the samples, or nullptr before the first accepted resize.
    // It shows the panel's pixels in place: copy it to keep a picture.
    const QImage* GraphImage();
    QRect GraphRect() const { return QRect(0, 0, m_panel.GraphWidth(), m_panel.GraphHeight()); }
    // nullptr before the first accepted resize.
    CHistoryStatusBar* StatusBar() const { return m_pStatusBar; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The caption and the status bar's texts in the current language.
    void RetranslateUi();
    void ShowStatusTexts();
    void CreateStatusBar(int cx, int cy);

    CHistoryPanel m_panel;
    QImage m_graphImage;                        // the panel's pixels, made by GraphImage
    CHistoryStatusBar* m_pStatusBar = nullptr;  // owned child window
    bool m_bDestroyed = false;
};

// Makes the history window of `samples`, hidden and without a parent. A window that cannot be made
// ends the program with "履歴ウインドウを作成できませんでした。" and exit code -101.
std::unique_ptr<CHistoryDlg> CreateHistoryDlg(const CHistoryRecorder& samples);
