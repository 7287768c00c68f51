#include "DialogUnits.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QString>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

namespace {

// number * numerator / denominator with the exact product, rounded half away from zero and
// clamped to the int range.
int ScaleRounded(int number, int numerator, int denominator) {
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t magnitude = (std::llabs(product) + denominator / 2) / denominator;
    const std::int64_t result = product < 0 ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<std::int64_t>(result, INT_MIN, INT_MAX));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_nBaseX = std::max(1, (width + 26) / 52);
    m_nBaseY = std::max(1, QFontInfo(font).pixelSize());
    m_nLineHeight = std::max(1, metrics.height());
}

DialogUnits::DialogUnits(int baseX, int baseY, int lineHeight)
    : m_nBaseX(std::max(1, baseX)),
      m_nBaseY(std::max(1, baseY)),
      m_nLineHeight(lineHeight > 0 ? lineHeight : m_nBaseY) {}

int DialogUnits::ToPixelsX(int dluX) const {
    return ScaleRounded(dluX, m_nBaseX, 4);
}

int DialogUnits::ToPixelsY(int dluY) const {
    return ScaleRounded(dluY, m_nBaseY, 8);
}

QRect DialogUnits::ToPixels(const QRect& dluRect) const {
    return QRect(ToPixelsX(dluRect.x()), ToPixelsY(dluRect.y()), ToPixelsX(dluRect.width()),
                 ToPixelsY(dluRect.height()));
}

QSize DialogUnits::ToPixels(const QSize& dluSize) const {
    return QSize(ToPixelsX(dluSize.width()), ToPixelsY(dluSize.height()));
}

QRect DialogUnits::ToTextPixels(const QRect& dluRect) const {
    QRect rect = ToPixels(dluRect);
    if (rect.height() >= 0 && rect.height() < m_nLineHeight) {
        const int extra = m_nLineHeight - rect.height();
        rect.setTop(rect.top() - extra / 2);
        rect.setHeight(m_nLineHeight);
    }
    return rect;
}

QFont DialogFont() {
    QFont font(QStringLiteral("Noto Sans CJK JP"), 9);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
