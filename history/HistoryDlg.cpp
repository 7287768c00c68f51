#include "HistoryDlg.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>

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
    RedrawSurface();
    update();
}

void CHistoryDlg::RedrawSurface() {
    // Without a surface (never sized to 100 x 100 yet) there is nothing to draw into; the
    // samples are kept and the first accepted resize draws them.
    m_bGraphStale = false;
    if (m_pOldGraphBitmap != nullptr && !m_bDestroyed) {
        ClearGraph();
        DrawGridDots();
        DrawCurves(m_dcGraph, m_rcGraph.width(), m_rcGraph.height(), m_history.m_pSamples.get());
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
