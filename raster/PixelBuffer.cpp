#include "PixelBuffer.h"

#include <algorithm>
#include <cstddef>
#include <new>

PixelBuffer::PixelBuffer(const PixelBuffer& other) {
    *this = other;
}

PixelBuffer& PixelBuffer::operator=(const PixelBuffer& other) {
    if (this == &other) {
        return *this;
    }
    if (other.IsNull()) {
        Reset();
        return *this;
    }
    if (Allocate(other.m_width, other.m_height)) {
        std::copy_n(other.Bits(), static_cast<std::size_t>(m_width) * m_height, m_pixels.get());
    }
    return *this;
}

bool PixelBuffer::Allocate(int width, int height) {
    Reset();
    if (width < 1 || height < 1) {
        return false;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    // Rows are addressed with byte offsets of int size by the desktop's images.
    if (count > static_cast<std::size_t>(INT32_MAX) / sizeof(Rgb)) {
        return false;
    }
    m_pixels.reset(new (std::nothrow) Rgb[count]);
    if (m_pixels == nullptr) {
        return false;
    }
    m_width = width;
    m_height = height;
    Fill(RGB(0, 0, 0));
    return true;
}

void PixelBuffer::Reset() {
    m_pixels.reset();
    m_width = 0;
    m_height = 0;
}

void PixelBuffer::Fill(Rgb colour) {
    if (!IsNull()) {
        std::fill_n(m_pixels.get(), static_cast<std::size_t>(m_width) * m_height, colour);
    }
}

PixelBuffer PixelBuffer::Copy(int left, int top, int width, int height) const {
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min(left + width, m_width);
    const int y1 = std::min(top + height, m_height);
    PixelBuffer part;
    if (x1 <= x0 || y1 <= y0 || !part.Allocate(x1 - x0, y1 - y0)) {
        return part;
    }
    for (int y = y0; y < y1; ++y) {
        std::copy(Row(y) + x0, Row(y) + x1, part.Row(y - y0));
    }
    return part;
}

bool PixelBuffer::operator==(const PixelBuffer& other) const {
    if (m_width != other.m_width || m_height != other.m_height) {
        return false;
    }
    for (int y = 0; y < m_height; ++y) {
        if (!std::equal(Row(y), Row(y) + m_width, other.Row(y))) {
            return false;
        }
    }
    return true;
}
