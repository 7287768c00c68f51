#include "HistoryDlg.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>
#include <vector>

#include "DialogUnits.h"
#include "FailureSeam.h"
#include "FatalError.h"
#include "FrameImage.h"
#include "HistoryTexts.h"
#include "MenuWidgets.h"
#include "Translations.h"

CHistoryDlg::CHistoryDlg(const CHistoryRecorder& samples)
    : QDialog(nullptr, Qt::Window),
      m_panel(samples, [](const char* text) { return Tr(text).toStdString(); }) {
    RetranslateUi();
    setFont(DialogFont());
    // The owner toggles the window next to its own; showing it must not take the focus.
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(CHistoryPanel::INITIAL_CLIENT_WIDTH, CHistoryPanel::INITIAL_CLIENT_HEIGHT);
    // The window cannot be made smaller than the smallest client area it draws in.
    setMinimumSize(CHistoryPanel::MIN_CLIENT_SIZE, CHistoryPanel::MIN_CLIENT_SIZE);
}

CHistoryDlg::~CHistoryDlg() {
    DestroyWindow();
}

void CHistoryDlg::ShowAverages(double temperature, double heat) {
    if (m_bDestroyed || m_pStatusBar == nullptr) {
        return;
    }
    m_panel.ShowAverages(temperature, heat);
    ShowStatusTexts();
}

void CHistoryDlg::ShowStatusTexts() {
    for (const int part : {CHistoryStatusBar::TEMPERATURE_PART, CHistoryStatusBar::HEAT_PART}) {
        m_pStatusBar->SetText(part, QString::fromStdString(m_panel.StatusText(part)));
    }
}

void CHistoryDlg::RetranslateUi() {
    setWindowTitle(Tr(HISTORY_CAPTION));
    if (m_pStatusBar != nullptr) {
        ShowStatusTexts();
    }
}

void CHistoryDlg::MarkGraphStale() {
    if (m_panel.MarkStale()) {
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
    m_panel.Redraw();
    update();
}

const QImage* CHistoryDlg::GraphImage() {
    const PixelBuffer* graph = m_panel.Graph();
    if (graph == nullptr) {
        return nullptr;
    }
    m_graphImage = FrameImageOf(*graph);
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
        if (m_panel.ShowsWholeRun()) {
            DrawGraph();  // the legend and the axis name
        }
    }
}

void CHistoryDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (const QImage* graph = GraphImage()) {
        painter.drawImage(QPoint(0, 0), *graph);
    }
}

void CHistoryDlg::OnSize(Qt::WindowStates state, int cx, int cy) {
    if (m_bDestroyed || !m_panel.Resize(cx, cy, (state & Qt::WindowMinimized) != 0)) {
        return;
    }
    CreateStatusBar(cx, cy);
    update();
}

void CHistoryDlg::CreateStatusBar(int cx, int cy) {
    delete m_pStatusBar;
    m_pStatusBar = new CHistoryStatusBar(this);
    m_pStatusBar->setObjectName(QString::number(STATUS_BAR_ID));
    m_pStatusBar->setGeometry(0, m_panel.StatusBarTop(), cx, cy - m_panel.StatusBarTop());
    m_pStatusBar->SetParts(m_panel.FirstPartRight());
    ShowStatusTexts();
    m_pStatusBar->show();
}

void CHistoryDlg::DestroyWindow() {
    if (m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    hide();
    delete m_pStatusBar;
    m_pStatusBar = nullptr;
    m_panel.Release();
}

void CHistoryDlg::contextMenuEvent(QContextMenuEvent* event) {
    const std::vector<MenuItem> items =
        HistoryMenuItems(m_panel.OffersWholeRun(), m_panel.ShowsWholeRun());
    if (items.empty()) {
        QDialog::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    AddMenuItems(menu, items, [this](MenuId id) {
        if (id == MenuId::WholeRun) {
            ShowWholeRun(!m_panel.ShowsWholeRun());
        }
    });
    menu.exec(event->globalPos());
}

void CHistoryDlg::ShowWholeRun(bool whole) {
    if (m_panel.ShowWholeRun(whole)) {
        update();
    }
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
