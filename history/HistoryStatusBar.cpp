#include "HistoryStatusBar.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyle>

namespace {

constexpr int PART_GAP = 2;      // between the sunken frames of the two parts
constexpr int TEXT_PADDING = 4;  // inside a part's frame, before the text

}  // namespace

CHistoryStatusBar::CHistoryStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
}

void CHistoryStatusBar::SetParts(int firstPartRight) {
    m_nFirstPartRight = firstPartRight;
    update();
}

void CHistoryStatusBar::SetText(int part, const QString& text) {
    if (part < 0 || part >= PART_COUNT) {
        return;
    }
    if (m_texts[part] != text) {
        m_texts[part] = text;
        update();
    }
}

QString CHistoryStatusBar::Text(int part) const {
    return part >= 0 && part < PART_COUNT ? m_texts[part] : QString();
}

void CHistoryStatusBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect parts[PART_COUNT] = {
        QRect(QPoint(0, 0), QPoint(m_nFirstPartRight - 1, height() - 1)),
        QRect(QPoint(m_nFirstPartRight + PART_GAP, 0), QPoint(width() - 1, height() - 1)),
    };
    painter.setPen(palette().color(QPalette::WindowText));
    for (int part = 0; part < PART_COUNT; ++part) {
        const QRect frame = parts[part].adjusted(0, 2, 0, -1);
        if (frame.width() <= 0 || frame.height() <= 0) {
            continue;
        }
        qDrawShadePanel(&painter, frame, palette(), true, 1);
        const QRect textArea = frame.adjusted(TEXT_PADDING, 1, -1, -1);
        painter.save();
        painter.setClipRect(textArea);
        painter.drawText(textArea, Qt::AlignLeft | Qt::AlignVCenter, m_texts[part]);
        painter.restore();
    }
}
