#include "HistoryDlg.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "DialogUnits.h"
#include "FailureSeam.h"
#include "FatalError.h"
#include "FrameImage.h"
#include "HistoryGraph.h"
#include "HistoryTexts.h"
#include "Numbers.h"
#include "Surface.h"
#include "Translations.h"

CHistoryDlg::CHistoryDlg(const CHistoryRecorder& samples)
    : QDialog(nullptr, Qt::Window), m_history(samples) {
    RetranslateUi();
    setFont(DialogFont());
    // The owner toggles the window next to its own; showing it must not take the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(INITIAL_CLIENT_WIDTH, INITIAL_CLIENT_HEIGHT);
    // The window cannot be made smaller than the smallest client area it draws in.
    setMinimumSize(MIN_CLIENT_SIZE, MIN_CLIENT_SIZE);
}

CHistoryDlg::~CHistoryDlg() {
    DestroyWindow();
}

void CHistoryDlg::ShowAverages(int temperature, int heat) {
    if (m_bDestroyed || m_pStatusBar == nullptr) {
        return;
    }
    m_shownAverages = {temperature, heat};
    m_pStatusBar->SetText(CHistoryStatusBar::TEMPERATURE_PART,
                          QString::asprintf(m_temperatureFormat.constData(), temperature));
    m_pStatusBar->SetText(CHistoryStatusBar::HEAT_PART,
                          QString::asprintf(m_heatFormat.constData(), heat));
}

void CHistoryDlg::ShowAverages(double temperature, double heat) {
    const char* temperatureText = NonFiniteText(temperature);
    const char* heatText = NonFiniteText(heat);
    if (temperatureText == nullptr && heatText == nullptr) {
        ShowAverages(TruncToInt(temperature), TruncToInt(heat));
        return;
    }
    if (m_bDestroyed || m_pStatusBar == nullptr) {
        return;
    }
    // Shown until the next averages; a language change shows the last finite ones.
    auto format = [](const QByteArray& format, double value, const char* text) {
        return text == nullptr ? QString::asprintf(format.constData(), TruncToInt(value))
                               : QString::fromUtf8(format).replace(QStringLiteral("%d"),
                                                                   QString::fromUtf8(text));
    };
    m_pStatusBar->SetText(CHistoryStatusBar::TEMPERATURE_PART,
                          format(m_temperatureFormat, temperature, temperatureText));
    m_pStatusBar->SetText(CHistoryStatusBar::HEAT_PART, format(m_heatFormat, heat, heatText));
}

void CHistoryDlg::RetranslateUi() {
    setWindowTitle(Tr(HISTORY_CAPTION));
    m_temperatureFormat = Tr(STATUS_TEMPERATURE_FORMAT).toUtf8();
    m_heatFormat = Tr(STATUS_HEAT_FORMAT).toUtf8();
    if (m_pStatusBar == nullptr) {
        return;
    }
    if (m_shownAverages) {
        ShowAverages(m_shownAverages->first, m_shownAverages->second);
    } else {
        ShowPlaceholders();
    }
}

void CHistoryDlg::ShowPlaceholders() {
    m_shownAverages.reset();
    m_pStatusBar->SetText(CHistoryStatusBar::TEMPERATURE_PART, Tr(STATUS_TEMPERATURE_PLACEHOLDER));
    m_pStatusBar->SetText(CHistoryStatusBar::HEAT_PART, Tr(STATUS_HEAT_PLACEHOLDER));
}

void CHistoryDlg::MarkGraphStale() {
    // The graph is a function of the samples alone: many samples between two paints
    // need one redraw, done when the graph is painted or read.
    if (!m_bGraphStale) {
        m_bGraphStale = true;
        update();
    }
}

void CHistoryDlg::PlaceHidden(const QRect& geometry) {
    hide();
    setGeometry(geometry);
    // Qt holds back a hidden window's resize event until the window is shown; handle the
    // size now instead and drop the held event, so that showing rebuilds nothing.
    if (testAttribute(Qt::WA_PendingResizeEvent)) {
        setAttribute(Qt::WA_PendingResizeEvent, false);
        OnSize(windowState(), width(), height());
    }
}

void CHistoryDlg::DrawGraph() {
    m_bWholeFull = true;
    RedrawSurface();
    update();
}

void CHistoryDlg::RedrawSurface() {
    // Without a surface (never sized to 100 x 100 yet) there is nothing to draw into; the
    // samples are kept and the first accepted resize draws them.
    m_bGraphStale = false;
    if (m_bWholeRun) {
        DrawWholeRun(m_bWholeFull);
        return;
    }
    if (m_pOldGraphBitmap != nullptr && !m_bDestroyed) {
        ClearGraph();
        DrawGridDots();
        DrawCurves(m_dcGraph, m_rcGraph.width(), m_rcGraph.height(), m_history.Samples());
    }
}

void CHistoryDlg::ClearGraph() {
    ::ClearGraph(m_dcGraph, m_rcGraph.width(), m_rcGraph.height());
}

void CHistoryDlg::DrawGridDots() {
    ::DrawGridDots(m_dcGraph, m_rcGraph.width(), m_rcGraph.height());
}

const QImage* CHistoryDlg::GraphImage() {
    if (m_bGraphStale) {
        RedrawSurface();  // a repaint is pending already
    }
    if (m_pOldGraphBitmap == nullptr) {
        return nullptr;
    }
    if (m_bWholeRun) {
        return &m_wholeImage;
    }
    m_graphImage = FrameImageOf(m_bmpGraph.Pixels());
    return &m_graphImage;
}

void CHistoryDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    OnSize(windowState(), event->size().width(), event->size().height());
}

void CHistoryDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Restoring from the icon is a new size message even when the size is unchanged.
        if ((change->oldState() & Qt::WindowMinimized) && !isMinimized()) {
            OnSize(windowState(), width(), height());
        }
    } else if (event->type() == QEvent::LanguageChange) {
        RetranslateUi();
        if (m_bWholeRun) {
            DrawGraph();  // the legend and the axis name
        }
    }
}

void CHistoryDlg::paintEvent(QPaintEvent* /*event*/) {
    OnPaint();
}

void CHistoryDlg::OnSize(Qt::WindowStates state, int cx, int cy) {
    if (m_bDestroyed || (state & Qt::WindowMinimized) || cx < MIN_CLIENT_SIZE ||
        cy < MIN_CLIENT_SIZE) {
        return;
    }
    CreateStatusBar(cx, cy);
    ReleaseGraphSurface();
    m_rcGraph = QRect(0, 0, cx, cy - STATUS_BAR_HEIGHT);
    CreateGraphSurface();
    ClearGraph();
    DrawGridDots();
    DrawGraph();
}

void CHistoryDlg::CreateStatusBar(int cx, int cy) {
    delete m_pStatusBar;
    m_pStatusBar = new CHistoryStatusBar(this);
    m_pStatusBar->setObjectName(QString::number(STATUS_BAR_ID));
    m_pStatusBar->setGeometry(0, cy - STATUS_BAR_HEIGHT, cx, STATUS_BAR_HEIGHT);
    m_pStatusBar->SetParts(cx / 2);
    ShowPlaceholders();
    m_pStatusBar->show();
}

namespace {
// The graph surface's failure codes, in the order of SurfaceExitCodes: -1 for every
// release step, -2 for every creation step.
constexpr SurfaceExitCodes kGraphCodes{EXIT_RELEASE_SURFACE, EXIT_RELEASE_SURFACE,
                                       EXIT_RELEASE_SURFACE, EXIT_CREATE_SURFACE,
                                       EXIT_CREATE_SURFACE,  EXIT_CREATE_SURFACE};
}  // namespace

void CHistoryDlg::ReleaseGraphSurface() {
    ReleaseSurface(m_dcGraph, m_bmpGraph, m_pOldGraphBitmap, kGraphCodes);
}

void CHistoryDlg::CreateGraphSurface() {
    m_pOldGraphBitmap =
        CreateSurface(m_dcGraph, m_bmpGraph, m_rcGraph.width(), m_rcGraph.height(), kGraphCodes);
}

void CHistoryDlg::OnPaint() {
    if (m_bGraphStale) {
        RedrawSurface();
    }
    QPainter painter(this);
    if (const QImage* surface = GraphImage()) {
        painter.drawImage(QPoint(0, 0), *surface);
    }
}

void CHistoryDlg::DestroyWindow() {
    if (m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    hide();
    OnDestroy();
}

void CHistoryDlg::OnDestroy() {
    delete m_pStatusBar;
    m_pStatusBar = nullptr;
    ReleaseGraphSurface();
}

void CHistoryDlg::contextMenuEvent(QContextMenuEvent* event) {
    if (m_wholeRun == nullptr) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    QAction* whole = menu.addAction(Tr(WholeRunTexts::MENU_ITEM));
    whole->setCheckable(true);
    whole->setChecked(m_bWholeRun);
    connect(whole, &QAction::toggled, this, [this](bool on) { ShowWholeRun(on); });
    menu.exec(event->globalPos());
}

void CHistoryDlg::ShowWholeRun(bool whole) {
    if (whole == m_bWholeRun) {
        return;
    }
    m_bWholeRun = whole && m_wholeRun != nullptr;
    DrawGraph();
}

namespace {

QColor ColourOf(Rgb colour) {
    return QColor::fromRgba(colour);
}

}  // namespace

void CHistoryDlg::DrawWholeRun(bool full) {
    if (m_pOldGraphBitmap == nullptr || m_bDestroyed || m_wholeRun == nullptr) {
        return;
    }
    const std::vector<CRunHistory::Entry>& entries = m_wholeRun->Entries();
    const long long lastTick = entries.empty() ? 0 : entries.back().tick;
    const QFontMetrics metrics(font());
    const TextMeasure measure{metrics.height(), [&metrics](std::string_view text) {
                                  return metrics.horizontalAdvance(QString::fromUtf8(
                                      text.data(), static_cast<qsizetype>(text.size())));
                              }};
    const WholeRunLayout layout =
        LayOutWholeRun(m_rcGraph.width(), m_rcGraph.height(), lastTick, measure);
    // Samples are only ever added to a run until the next fresh start, which redraws all; so
    // while the axes hold, the newest sample drawn is still there and the rest follow it.
    std::size_t from = 0;
    if (!full && m_nLastDrawnTick >= 0 && layout.span == m_wholeLayout.span &&
        m_wholeImage.size() == m_rcGraph.size() && lastTick >= m_nLastDrawnTick) {
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
        m_wholeImage = QImage(m_rcGraph.size(), QImage::Format_RGB32);
    }
    QPainter painter(&m_wholeImage);
    painter.setFont(font());
    if (full) {
        m_wholeImage.fill(ColourOf(WHOLE_RUN_BACKGROUND));
        if (!layout.Usable()) {
            m_nLastDrawnTick = -1;
            update();
            return;
        }
        const int h = metrics.height();
        // Gridlines first, then the axes, their ticks and labels over them.
        painter.setPen(ColourOf(WHOLE_RUN_GRIDLINE));
        for (const AxisTick& tick : layout.temperatureAxis) {
            painter.drawLine(layout.left, tick.pixel, layout.right, tick.pixel);
        }
        for (const AxisTick& tick : layout.tickAxis) {
            painter.drawLine(tick.pixel, layout.top, tick.pixel, layout.bottom);
        }
        painter.setPen(ColourOf(WHOLE_RUN_AXIS));
        painter.drawLine(layout.left, layout.top, layout.left, layout.bottom);
        painter.drawLine(layout.right, layout.top, layout.right, layout.bottom);
        painter.drawLine(layout.left, layout.bottom, layout.right, layout.bottom);
        for (const AxisTick& tick : layout.temperatureAxis) {
            painter.drawLine(layout.left - 4, tick.pixel, layout.left, tick.pixel);
            const QString label = QString::fromStdString(tick.label);
            painter.drawText(QRect(0, tick.pixel - h / 2, layout.left - 5, h),
                             Qt::AlignRight | Qt::AlignVCenter, label);
        }
        for (const AxisTick& tick : layout.heatAxis) {
            painter.drawLine(layout.right, tick.pixel, layout.right + 4, tick.pixel);
            const QString label = QString::fromStdString(tick.label);
            painter.drawText(
                QRect(layout.right + 6, tick.pixel - h / 2, layout.width - layout.right - 6, h),
                Qt::AlignLeft | Qt::AlignVCenter, label);
        }
        for (const AxisTick& tick : layout.tickAxis) {
            painter.drawLine(tick.pixel, layout.bottom, tick.pixel, layout.bottom + 4);
            const QString label = QString::fromStdString(tick.label);
            const int w = metrics.horizontalAdvance(label);
            painter.drawText(QRect(tick.pixel - w / 2 - 1, layout.bottom + 5, w + 2, h),
                             Qt::AlignCenter, label);
        }
        painter.drawText(QRect(layout.left, layout.tickAxisTitleTop, layout.right - layout.left, h),
                         Qt::AlignHCenter | Qt::AlignTop, Tr(WholeRunTexts::TICK_AXIS));
        // The legend: a short stretch of each curve's line before its name.
        int x = layout.left;
        const int y = layout.legendTop + h / 2;
        for (const auto& [colour, text] :
             {std::pair{TEMPERATURE_CURVE_COLOUR, WholeRunTexts::TEMPERATURE_LEGEND},
              std::pair{HEAT_CURVE_COLOUR, WholeRunTexts::HEAT_LEGEND}}) {
            painter.setPen(QPen(ColourOf(colour), 2));
            painter.drawLine(x, y, x + 20, y);
            painter.setPen(ColourOf(WHOLE_RUN_AXIS));
            const QString name = Tr(text);
            painter.drawText(
                QRect(x + 24, layout.legendTop, metrics.horizontalAdvance(name) + 2, h),
                Qt::AlignLeft | Qt::AlignVCenter, name);
            x += 24 + metrics.horizontalAdvance(name) + 16;
        }
    }
    if (!layout.Usable() || entries.empty()) {
        m_nLastDrawnTick = -1;
        update();
        return;
    }
    const std::vector<CurvePoint> points = WholeRunPoints(layout, entries, from);
    QPolygon temperature;
    QPolygon heat;
    temperature.reserve(static_cast<qsizetype>(points.size()));
    heat.reserve(static_cast<qsizetype>(points.size()));
    for (const CurvePoint& p : points) {
        temperature.append(QPoint(p.x, p.temperatureY));
        heat.append(QPoint(p.x, p.heatY));
    }
    // Lines are clipped to the plot, so that a thick line at an edge leaves the axes alone.
    painter.setClipRect(
        QRect(QPoint(layout.left + 1, layout.top), QPoint(layout.right - 1, layout.bottom - 1)));
    painter.setPen(QPen(ColourOf(TEMPERATURE_CURVE_COLOUR), 2));
    painter.drawPolyline(temperature);
    painter.setPen(QPen(ColourOf(HEAT_CURVE_COLOUR), 2));
    painter.drawPolyline(heat);
    m_nLastDrawnTick = lastTick;
    update();
}

std::unique_ptr<CHistoryDlg> CreateHistoryDlg(const CHistoryRecorder& samples) {
    auto dialog = std::make_unique<CHistoryDlg>(samples);
    // The native window is made now, as a window created from a template would be; it
    // stays hidden until the owner shows it.
    dialog->winId();
    if (!FailureSeam::Pass(ResourceStep::CreateWindow) || dialog->windowHandle() == nullptr) {
        FatalError(MSG_CREATE_HISTORY_WINDOW, EXIT_CREATE_HISTORY_WINDOW);
    }
    return dialog;
}
