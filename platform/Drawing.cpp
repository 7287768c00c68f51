#include "Drawing.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

#include "FailureSeam.h"

bool FrameBitmap::Create(int width, int height) {
    if (!FailureSeam::Pass(ResourceStep::CreateBitmap)) {
        return false;
    }
    m_image = QImage(width, height, QImage::Format_RGB32);
    if (m_image.isNull()) {
        return false;
    }
    m_image.fill(RGB(0, 0, 0));
    return true;
}

bool FrameBitmap::Delete() {
    if (!FailureSeam::Pass(ResourceStep::DeleteBitmap)) {
        return false;
    }
    m_image = QImage();
    return true;
}

bool Pen::CreateSolid(QRgb colour) {
    m_colour = colour;
    return FailureSeam::Pass(ResourceStep::CreatePen);
}

bool Pen::Delete() {
    return FailureSeam::Pass(ResourceStep::DeletePen);
}

bool Brush::CreateSolid(QRgb colour) {
    m_colour = colour;
    return FailureSeam::Pass(ResourceStep::CreateBrush);
}

bool Brush::Delete() {
    return FailureSeam::Pass(ResourceStep::DeleteBrush);
}

bool Region::CreateRect(int left, int top, int right, int bottom) {
    m_isPolygon = false;
    m_rect = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
    return FailureSeam::Pass(ResourceStep::CreateRegion);
}

bool Region::CreatePolygon(const QVector<QPoint>& vertices) {
    m_isPolygon = true;
    m_vertices = vertices;
    return FailureSeam::Pass(ResourceStep::CreatePolygonRegion);
}

bool Region::Delete() {
    return FailureSeam::Pass(ResourceStep::DeleteRegion);
}

MemoryDC::MemoryDC()
    : m_bitmap(&m_stockBitmap), m_pen(&m_stockPen), m_brush(&m_stockBrush), m_font(FrameFont()) {}

bool MemoryDC::Create() {
    if (!FailureSeam::Pass(ResourceStep::CreateMemoryDC)) {
        return false;
    }
    m_created = true;
    m_bitmap = &m_stockBitmap;
    m_pen = &m_stockPen;
    m_brush = &m_stockBrush;
    m_transparentText = false;
    m_textColour = RGB(0, 0, 0);
    return true;
}

bool MemoryDC::Delete() {
    if (!FailureSeam::Pass(ResourceStep::DeleteMemoryDC)) {
        return false;
    }
    m_created = false;
    return true;
}

FrameBitmap* MemoryDC::SelectBitmap(FrameBitmap* bitmap) {
    if (!m_created || bitmap == nullptr || !FailureSeam::Pass(ResourceStep::SelectBitmap)) {
        return nullptr;
    }
    return std::exchange(m_bitmap, bitmap);
}

Pen* MemoryDC::SelectPen(Pen* pen) {
    if (pen == nullptr || !FailureSeam::Pass(ResourceStep::SelectPen)) {
        return nullptr;
    }
    return std::exchange(m_pen, pen);
}

Brush* MemoryDC::SelectBrush(Brush* brush) {
    if (brush == nullptr || !FailureSeam::Pass(ResourceStep::SelectBrush)) {
        return nullptr;
    }
    return std::exchange(m_brush, brush);
}

QImage* MemoryDC::Target() {
    if (!m_created || m_bitmap == &m_stockBitmap || !m_bitmap->IsCreated()) {
        return nullptr;
    }
    return &m_bitmap->Image();
}

void MemoryDC::FillRect(QImage& image, int left, int top, int right, int bottom, QRgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width());
    bottom = std::min(bottom, image.height());
    if (left >= right) {
        return;
    }
    for (int y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::fill(line + left, line + right, colour);
    }
}

void MemoryDC::FillRegion(const Region& region, const Brush& brush) {
    QImage* image = Target();
    if (image == nullptr) {
        return;
    }
    if (!region.IsPolygon()) {
        const QRect& r = region.Rect();
        FillRect(*image, r.left(), r.top(), r.right() + 1, r.bottom() + 1, brush.Colour());
        return;
    }
    QPainter painter(image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(brush.Colour()));
    painter.drawPolygon(region.Vertices().data(), static_cast<int>(region.Vertices().size()),
                        Qt::OddEvenFill);
}

void MemoryDC::Rectangle(int left, int top, int right, int bottom) {
    QImage* image = Target();
    if (image == nullptr || right - left < 1 || bottom - top < 1) {
        return;
    }
    // Inside with the brush, then the ring of the box [left, right-1] x [top, bottom-1].
    FillRect(*image, left, top, right, bottom, m_brush->Colour());
    const QRgb pen = m_pen->Colour();
    FillRect(*image, left, top, right, top + 1, pen);
    FillRect(*image, left, bottom - 1, right, bottom, pen);
    FillRect(*image, left, top, left + 1, bottom, pen);
    FillRect(*image, right - 1, top, right, bottom, pen);
}

namespace {

// One row of the upper half of an ellipse, as offsets from the centre column to the right:
// the pen covers [inner, outer] on each side, the brush the pixels between the two sides.
struct EllipseRun {
    int inner;
    int outer;
};

// Midpoint tracing of the ellipse inscribed in a box of w x h pixels (w, h >= 1), one run
// per row from the top row down to the middle row(s). The tracing follows the curve of
// a box whose edges lie on the centres of the outermost pixels. For flat boxes it would
// walk past the sides, so every run is held to the box's half width; the last run is
// carried to the side, so that the ellipse touches all four sides of its box.
std::vector<EllipseRun> TraceEllipse(int w, int h) {
    const double a = (w - 1) / 2.0;
    const double b = (h - 1) / 2.0;
    const int xMax = (w - 1) / 2;
    std::vector<EllipseRun> runs;
    runs.reserve(static_cast<std::size_t>(h / 2 + 1));
    const auto addRun = [&](int from, int to) {
        runs.push_back({std::min(from, xMax), std::min(to, xMax)});
    };

    // Where the curve is flatter than 45 degrees: step right, and down when the midpoint
    // between the two candidate pixels lies outside the curve.
    const int lastY = (h - 1) & 1;  // 0 with one middle row, 1 with two
    int x = 0;
    int y = h / 2;
    int start = 0;
    double d = b * b - a * a * b + 0.25 * a * a;
    while (y > lastY && a * a * (2 * y - 1) > 2 * b * b * (x + 1)) {
        if (d < 0) {
            d += b * b * (2 * x + 3);
            ++x;
        } else {
            d += b * b * (2 * x + 3) + a * a * (-2 * y + 2);
            addRun(start, x);
            start = ++x;
            --y;
        }
    }
    addRun(start, x);

    // Where it is steeper: one pixel per row, down and right when the midpoint lies inside.
    d = b * b * (x + 0.5) * (x + 0.5) + a * a * ((y - 1.0) * (y - 1.0) - b * b);
    while (y > lastY) {
        if (d < 0) {
            d += b * b * (2 * x + 2) + a * a * (-2 * y + 3);
            ++x;
        } else {
            d += a * a * (-2 * y + 3);
        }
        --y;
        addRun(x, x);
    }
    runs.back().outer = xMax;
    return runs;
}

}  // namespace

void MemoryDC::Ellipse(int left, int top, int right, int bottom) {
    QImage* image = Target();
    const qint64 w = qint64(right) - left;
    const qint64 h = qint64(bottom) - top;
    if (image == nullptr || w < 1 || h < 1 || w > INT_MAX || h > INT_MAX ||
        !QRect(0, 0, image->width(), image->height())
             .intersects(QRect(left, top, static_cast<int>(w), static_cast<int>(h)))) {
        return;
    }
    const std::vector<EllipseRun> runs = TraceEllipse(static_cast<int>(w), static_cast<int>(h));
    // The centre column, or the right one of the two middle columns of an even width; the
    // left side mirrors the right about the box's centre.
    const int centre = left + static_cast<int>(w / 2);
    const int evenWidth = (w % 2 == 0) ? 1 : 0;
    const QRgb pen = m_pen->Colour();
    const QRgb brush = m_brush->Colour();
    for (std::size_t k = 0; k < runs.size(); ++k) {
        const EllipseRun& run = runs[k];
        const int rowsFromEdge = static_cast<int>(k);
        for (const int y : {top + rowsFromEdge, bottom - 1 - rowsFromEdge}) {
            // Inside first, then the outline of both sides over it.
            FillRect(*image, centre - run.inner - evenWidth + 1, y, centre + run.inner, y + 1,
                     brush);
            FillRect(*image, centre - run.outer - evenWidth, y, centre - run.inner - evenWidth + 1,
                     y + 1, pen);
            FillRect(*image, centre + run.inner, y, centre + run.outer + 1, y + 1, pen);
        }
    }
}

void MemoryDC::MoveTo(int x, int y) {
    m_position = QPoint(x, y);
}

void MemoryDC::LineTo(int x, int y) {
    // Bresenham from the current position, stopping one pixel short of (x, y).
    int x0 = m_position.x();
    int y0 = m_position.y();
    const int dx = std::abs(x - x0);
    const int dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    const QRgb colour = m_pen->Colour();
    while (x0 != x || y0 != y) {
        SetPixel(x0, y0, colour);
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            x0 += sx;
        }
        if (doubled <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    m_position = QPoint(x, y);
}

QRgb MemoryDC::GetPixel(int x, int y) const {
    const QImage* image = const_cast<MemoryDC*>(this)->Target();
    if (image == nullptr || !image->rect().contains(x, y)) {
        return 0;
    }
    return image->pixel(x, y);
}

void MemoryDC::SetPixel(int x, int y, QRgb colour) {
    QImage* image = Target();
    if (image != nullptr && image->rect().contains(x, y)) {
        reinterpret_cast<QRgb*>(image->scanLine(y))[x] = colour;
    }
}

void MemoryDC::TextOut(int x, int y, const QString& text) {
    QImage* image = Target();
    if (image == nullptr) {
        return;
    }
    QPainter painter(image);
    painter.setFont(m_font);
    painter.setPen(QColor(m_textColour));
    const QFontMetrics metrics(m_font);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

QSize MemoryDC::GetTextExtent(const QString& text) const {
    const QFontMetrics metrics(m_font);
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

const QFont& FrameFont() {
    static const QFont font = [] {
        QFont f(QStringLiteral("Noto Sans Mono CJK JP"));
        f.setStyleHint(QFont::Monospace);
        f.setPixelSize(12);
        return f;
    }();
    return font;
}
