#pragma once

#include <cstdint>
#include <memory>

// A pixel as the word 0xAARRGGBB; every pixel the drawing writes is opaque (alpha 0xFF).
using Rgb = std::uint32_t;

constexpr Rgb RGB(int r, int g, int b) {
    return 0xFF000000u | ((static_cast<Rgb>(r) & 0xFFu) << 16) |
           ((static_cast<Rgb>(g) & 0xFFu) << 8) | (static_cast<Rgb>(b) & 0xFFu);
}

constexpr int RedOf(Rgb c) {
    return static_cast<int>((c >> 16) & 0xFFu);
}
constexpr int GreenOf(Rgb c) {
    return static_cast<int>((c >> 8) & 0xFFu);
}
constexpr int BlueOf(Rgb c) {
    return static_cast<int>(c & 0xFFu);
}

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

// Width and height of a text or a picture in pixels.
struct Extent {
    int width;
    int height;
    bool operator==(const Extent&) const = default;
};

// A picture of width x height pixels held as rows of 32-bit words, one row after the
// other, Stride() words apart: the layout a desktop image of 32-bit pixels can show in
// place.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(const PixelBuffer& other);
    PixelBuffer& operator=(const PixelBuffer& other);
    PixelBuffer(PixelBuffer&&) noexcept = default;
    PixelBuffer& operator=(PixelBuffer&&) noexcept = default;

    // Makes a black width x height picture in place of the old one. False (and empty) when
    // the size is not positive or the memory cannot be had.
    bool Allocate(int width, int height);
    void Reset();

    bool IsNull() const { return m_pixels == nullptr; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Words from the start of one row to the start of the next.
    int Stride() const { return m_width; }
    Extent Size() const { return {m_width, m_height}; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    Rgb* Row(int y) { return m_pixels.get() + static_cast<std::ptrdiff_t>(y) * Stride(); }
    const Rgb* Row(int y) const {
        return m_pixels.get() + static_cast<std::ptrdiff_t>(y) * Stride();
    }
    const Rgb* Bits() const { return m_pixels.get(); }
    // The pixel at (x, y), which must lie on the picture.
    Rgb Pixel(int x, int y) const { return Row(y)[x]; }

    void Fill(Rgb colour);
    // The part (left, top, width, height) of the picture, clipped to it.
    PixelBuffer Copy(int left, int top, int width, int height) const;

    // Same size and the same pixels.
    bool operator==(const PixelBuffer& other) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::unique_ptr<Rgb[]> m_pixels;
};
