#pragma once

#include <algorithm>
#include <ostream>

#include "PixelBuffer.h"

// A box of pixels for checks on pictures: left, top, right and bottom all inclusive, so a
// single pixel is (x, y, x, y); a box with right < left is empty.
class PixelBox {
public:
    PixelBox() = default;
    PixelBox(int x, int y, int width, int height)
        : m_left(x), m_top(y), m_right(x + width - 1), m_bottom(y + height - 1) {}
    PixelBox(Point topLeft, Point bottomRight)
        : m_left(topLeft.x), m_top(topLeft.y), m_right(bottomRight.x), m_bottom(bottomRight.y) {}
    static PixelBox Of(const PixelBuffer& pixels) {
        return PixelBox(0, 0, pixels.Width(), pixels.Height());
    }

    bool isNull() const { return m_right < m_left || m_bottom < m_top; }
    int left() const { return m_left; }
    int top() const { return m_top; }
    int right() const { return m_right; }
    int bottom() const { return m_bottom; }
    int width() const { return m_right - m_left + 1; }
    int height() const { return m_bottom - m_top + 1; }
    Point center() const { return {(m_left + m_right) / 2, (m_top + m_bottom) / 2}; }
    bool contains(int x, int y) const {
        return x >= m_left && x <= m_right && y >= m_top && y <= m_bottom;
    }
    bool contains(const PixelBox& other) const {
        return !other.isNull() && contains(other.m_left, other.m_top) &&
               contains(other.m_right, other.m_bottom);
    }
    PixelBox united(const PixelBox& other) const {
        if (isNull()) {
            return other;
        }
        if (other.isNull()) {
            return *this;
        }
        return PixelBox(
            Point{std::min(m_left, other.m_left), std::min(m_top, other.m_top)},
            Point{std::max(m_right, other.m_right), std::max(m_bottom, other.m_bottom)});
    }
    PixelBox& operator|=(const PixelBox& other) { return *this = united(other); }
    PixelBox intersected(const PixelBox& other) const {
        return PixelBox(
            Point{std::max(m_left, other.m_left), std::max(m_top, other.m_top)},
            Point{std::min(m_right, other.m_right), std::min(m_bottom, other.m_bottom)});
    }
    bool operator==(const PixelBox& other) const {
        return (isNull() && other.isNull()) ||
               (m_left == other.m_left && m_top == other.m_top && m_right == other.m_right &&
                m_bottom == other.m_bottom);
    }

private:
    int m_left = 0;
    int m_top = 0;
    int m_right = -1;
    int m_bottom = -1;
};

inline std::ostream& operator<<(std::ostream& out, const PixelBox& box) {
    return out << "(" << box.left() << ", " << box.top() << ")-(" << box.right() << ", "
               << box.bottom() << ")";
}

inline std::ostream& operator<<(std::ostream& out, const Point& p) {
    return out << "(" << p.x << ", " << p.y << ")";
}

inline std::ostream& operator<<(std::ostream& out, const Extent& e) {
    return out << e.width << " x " << e.height;
}
