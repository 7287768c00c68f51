#pragma once

#include <climits>
#include <cstdint>
#include <string_view>
#include <vector>

#include "PixelBuffer.h"

// A small raster drawing layer on a PixelBuffer with the pixel rules of the classic Windows
// graphics calls the drawing code is written against:
// - rectangles are (left, top, right, bottom) with right and bottom exclusive for fills;
// - Rectangle and Ellipse with a 1-pixel pen cover [left, right - 1] x [top, bottom - 1];
// - a line leaves out its end point;
// - a polygon region excludes its right and bottom edges.
// Every creation, selection and deletion of a resource passes the FailureSeam and reports
// failure through its return value; the callers decide what a failure means.

// A frame bitmap: the pixels a memory device context draws into.
class FrameBitmap {
public:
    // Allocates a w x h frame, filled black. False when it cannot be made.
    bool Create(int width, int height);
    // Frees the pixels. False when the release fails.
    bool Delete();
    bool IsCreated() const { return !m_pixels.IsNull(); }
    const PixelBuffer& Pixels() const { return m_pixels; }
    PixelBuffer& Pixels() { return m_pixels; }

private:
    PixelBuffer m_pixels;
};

class Pen {
public:
    bool CreateSolid(Rgb colour);  // 1 pixel wide
    bool Delete();
    Rgb Colour() const { return m_colour; }

private:
    Rgb m_colour = RGB(0, 0, 0);
};

class Brush {
public:
    bool CreateSolid(Rgb colour);
    bool Delete();
    Rgb Colour() const { return m_colour; }

private:
    Rgb m_colour = RGB(255, 255, 255);
};

class Region {
public:
    bool CreateRect(int left, int top, int right, int bottom);
    // Closed polygon, alternate (odd-even) fill.
    bool CreatePolygon(const std::vector<Point>& vertices);
    bool Delete();

    bool IsPolygon() const { return m_bPolygon; }
    // (left, top, right, bottom), right and bottom exclusive.
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Right() const { return m_right; }
    int Bottom() const { return m_bottom; }
    const std::vector<Point>& Vertices() const { return m_vertices; }

private:
    bool m_bPolygon = false;
    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    std::vector<Point> m_vertices;
};

struct GlyphFont;

// A box of pixels: right and bottom one past its last column and row.
struct TextBox {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const TextBox&) const = default;
};

// A memory device context: holds the selected bitmap, pen and brush and the text state,
// and draws into the selected bitmap. Before anything is selected it holds a stock
// 1 x 1 bitmap, a black pen and a white brush, as a new memory context does.
class MemoryDC {
public:
    MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    bool Create();
    bool Delete();
    bool IsCreated() const { return m_created; }

    // Each returns what was selected before, or nullptr when the selection fails.
    FrameBitmap* SelectBitmap(FrameBitmap* bitmap);
    Pen* SelectPen(Pen* pen);
    Brush* SelectBrush(Brush* brush);

    void FillRegion(const Region& region, const Brush& brush);
    // Outline with the selected pen, inside with the selected brush.
    void Rectangle(int left, int top, int right, int bottom);
    // The ellipse inscribed in [left, right - 1] x [top, bottom - 1]: it touches all four
    // sides and never leaves the box, whatever its proportions.
    void Ellipse(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    // 1-pixel line in the selected pen's colour from the current position, end point left
    // out; the end point becomes the current position. Pixels off the bitmap are clipped.
    void LineTo(int x, int y);
    Rgb GetPixel(int x, int y) const;         // 0 off the bitmap
    void SetPixel(int x, int y, Rgb colour);  // ignored off the bitmap

    void SetTransparentText() { m_bTransparentText = true; }
    void SetTextColor(Rgb colour) { m_textColour = colour; }
    // The glyph font TextOut and GetTextExtent use: the frame font unless set.
    void SetFont(const GlyphFont& font) { m_font = &font; }
    const GlyphFont& Font() const { return *m_font; }
    // Writes UTF-8 text in the frame font with its top-left corner at (x, y): each glyph's
    // levels blend the text colour over what is there. Only a transparent background is
    // supported, which is the only mode the program uses.
    void TextOut(int x, int y, std::string_view text);
    // The same with the text's left edge at x / 64 pixels, for text placed as the desktop
    // places it in a box: centred or aligned right at a fraction of a pixel, and only the
    // pixels from column `boxLeft` up to `boxRight` (exclusive) written.
    void TextOutFine(std::int64_t x, int y, std::string_view text, int boxLeft = INT_MIN,
                     int boxRight = INT_MAX);
    // The text's advance (rounded to the nearest pixel) and the font's line height.
    Extent GetTextExtent(std::string_view text) const;
    // The text's advance in 1/64 pixel.
    std::int64_t GetFineTextWidth(std::string_view text) const;
    // The box of the pixels TextOut(x, y, text) may change, which can reach a pixel past the
    // extent; an empty box (left == right) for text without ink.
    TextBox GetTextBox(int x, int y, std::string_view text) const;

    // The bitmap drawing goes into, or nullptr while only the stock bitmap is selected.
    PixelBuffer* Target();

private:
    static void FillRect(PixelBuffer& image, int left, int top, int right, int bottom, Rgb colour);

    bool m_created = false;
    FrameBitmap m_stockBitmap;
    Pen m_stockPen;
    Brush m_stockBrush;
    FrameBitmap* m_bitmap;
    Pen* m_pen;
    Brush* m_brush;
    Point m_position{0, 0};
    bool m_bTransparentText = false;
    Rgb m_textColour = RGB(0, 0, 0);
    const GlyphFont* m_font;
};
