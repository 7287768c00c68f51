#include "Drawing.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "FailureSeam.h"
#include "GlyphTable.h"

bool FrameBitmap::Create(int width, int height) {
    if (!FailureSeam::Pass(ResourceStep::CreateBitmap)) {
        return false;
    }
    return m_pixels.Allocate(width, height);
}

bool FrameBitmap::Delete() {
    if (!FailureSeam::Pass(ResourceStep::DeleteBitmap)) {
        return false;
    }
    m_pixels.Reset();
    return true;
}

bool Pen::CreateSolid(Rgb colour) {
    m_colour = colour;
    return FailureSeam::Pass(ResourceStep::CreatePen);
}

bool Pen::Delete() {
    return FailureSeam::Pass(ResourceStep::DeletePen);
}

bool Brush::CreateSolid(Rgb colour) {
    m_colour = colour;
    return FailureSeam::Pass(ResourceStep::CreateBrush);
}

bool Brush::Delete() {
    return FailureSeam::Pass(ResourceStep::DeleteBrush);
}

bool Region::CreateRect(int left, int top, int right, int bottom) {
    m_bPolygon = false;
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
    return FailureSeam::Pass(ResourceStep::CreateRegion);
}

bool Region::CreatePolygon(const std::vector<Point>& vertices) {
    m_bPolygon = true;
    m_vertices = vertices;
    return FailureSeam::Pass(ResourceStep::CreatePolygonRegion);
}

bool Region::Delete() {
    return FailureSeam::Pass(ResourceStep::DeleteRegion);
}

MemoryDC::MemoryDC()
    : m_bitmap(&m_stockBitmap),
      m_pen(&m_stockPen),
      m_brush(&m_stockBrush),
      m_font(&FrameGlyphs()) {}

bool MemoryDC::Create() {
    if (!FailureSeam::Pass(ResourceStep::CreateMemoryDC)) {
        return false;
    }
    m_created = true;
    m_bitmap = &m_stockBitmap;
    m_pen = &m_stockPen;
    m_brush = &m_stockBrush;
    m_bTransparentText = false;
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

PixelBuffer* MemoryDC::Target() {
    if (!m_created || m_bitmap == &m_stockBitmap || !m_bitmap->IsCreated()) {
        return nullptr;
    }
    return &m_bitmap->Pixels();
}

void MemoryDC::FillRect(PixelBuffer& image, int left, int top, int right, int bottom, Rgb colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.Width());
    bottom = std::min(bottom, image.Height());
    if (left >= right) {
        return;
    }
    for (int y = top; y < bottom; ++y) {
        Rgb* line = image.Row(y);
        std::fill(line + left, line + right, colour);
    }
}

namespace {

// Fills the closed polygon by the odd-even rule: a pixel is inside when its centre is,
// counting crossings of the edges on its row. An edge owns the rows whose centres lie in
// [upper end, lower end) and a span owns the pixels whose centres lie in [left, right), so
// a polygon on whole coordinates covers exactly the pixels left of and above its right and
// bottom edges.
void FillPolygon(PixelBuffer& image, const std::vector<Point>& vertices, Rgb colour) {
    const std::size_t n = vertices.size();
    if (n < 3) {
        return;
    }
    int yMin = INT_MAX;
    int yMax = INT_MIN;
    for (const Point& v : vertices) {
        yMin = std::min(yMin, v.y);
        yMax = std::max(yMax, v.y);
    }
    yMin = std::max(yMin, 0);
    yMax = std::min(yMax, image.Height());
    std::vector<double> crossings;
    for (int y = yMin; y < yMax; ++y) {
        const double centre = y + 0.5;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            const Point& a = vertices[i];
            const Point& b = vertices[(i + 1) % n];
            if (a.y == b.y) {
                continue;
            }
            const Point& upper = a.y < b.y ? a : b;
            const Point& lower = a.y < b.y ? b : a;
            if (centre < upper.y || centre >= lower.y) {
                continue;
            }
            crossings.push_back(upper.x + (centre - upper.y) *
                                              (static_cast<double>(lower.x) - upper.x) /
                                              (static_cast<double>(lower.y) - upper.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Pixels x with x + 0.5 in [from, to).
            const double from =
                std::clamp(crossings[k] - 0.5, -1.0, static_cast<double>(image.Width()));
            const double to =
                std::clamp(crossings[k + 1] - 0.5, -1.0, static_cast<double>(image.Width()));
            const int first = static_cast<int>(std::ceil(from));
            const int end = static_cast<int>(std::ceil(to));
            Rgb* line = image.Row(y);
            for (int x = std::max(first, 0); x < end; ++x) {
                line[x] = colour;
            }
        }
    }
}

}  // namespace

void MemoryDC::FillRegion(const Region& region, const Brush& brush) {
    PixelBuffer* image = Target();
    if (image == nullptr) {
        return;
    }
    if (!region.IsPolygon()) {
        FillRect(*image, region.Left(), region.Top(), region.Right(), region.Bottom(),
                 brush.Colour());
        return;
    }
    FillPolygon(*image, region.Vertices(), brush.Colour());
}

void MemoryDC::Rectangle(int left, int top, int right, int bottom) {
    PixelBuffer* image = Target();
    if (image == nullptr || right - left < 1 || bottom - top < 1) {
        return;
    }
    // Inside with the brush, then the ring of the box [left, right-1] x [top, bottom-1].
    FillRect(*image, left, top, right, bottom, m_brush->Colour());
    const Rgb pen = m_pen->Colour();
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
    PixelBuffer* image = Target();
    const std::int64_t w = std::int64_t{right} - left;
    const std::int64_t h = std::int64_t{bottom} - top;
    // Nothing to draw for an empty box, or one that misses the bitmap.
    if (image == nullptr || w < 1 || h < 1 || w > INT_MAX || h > INT_MAX ||
        std::int64_t{left} + w <= 0 || std::int64_t{top} + h <= 0 || left >= image->Width() ||
        top >= image->Height()) {
        return;
    }
    const std::vector<EllipseRun> runs = TraceEllipse(static_cast<int>(w), static_cast<int>(h));
    // The centre column, or the right one of the two middle columns of an even width; the
    // left side mirrors the right about the box's centre.
    const int centre = left + static_cast<int>(w / 2);
    const int evenWidth = (w % 2 == 0) ? 1 : 0;
    const Rgb pen = m_pen->Colour();
    const Rgb brush = m_brush->Colour();
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
    m_position = Point{x, y};
}

void MemoryDC::LineTo(int x, int y) {
    // Bresenham from the current position, stopping one pixel short of (x, y).
    int x0 = m_position.x;
    int y0 = m_position.y;
    const int dx = std::abs(x - x0);
    const int dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    const Rgb colour = m_pen->Colour();
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
    m_position = Point{x, y};
}

Rgb MemoryDC::GetPixel(int x, int y) const {
    const PixelBuffer* image = const_cast<MemoryDC*>(this)->Target();
    if (image == nullptr || !image->Contains(x, y)) {
        return 0;
    }
    return image->Pixel(x, y);
}

void MemoryDC::SetPixel(int x, int y, Rgb colour) {
    PixelBuffer* image = Target();
    if (image != nullptr && image->Contains(x, y)) {
        image->Row(y)[x] = colour;
    }
}

namespace {

// The next code point of UTF-8 text; a malformed byte stands for itself as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(at);
    int length = 1;
    char32_t code = lead;
    if (lead >= 0xF8) {
        ++at;
        return U'\uFFFD';
    }
    if (lead >= 0xF0) {
        length = 4;
        code = lead & 0x07u;
    } else if (lead >= 0xE0) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xC0) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0x80) {
        ++at;
        return U'\uFFFD';
    }
    if (length > 1) {
        if (at + length > text.size()) {
            ++at;
            return U'\uFFFD';
        }
        for (int k = 1; k < length; ++k) {
            const unsigned char next = byte(at + k);
            if ((next & 0xC0u) != 0x80u) {
                ++at;
                return U'\uFFFD';
            }
            code = (code << 6) | (next & 0x3Fu);
        }
    }
    at += length;
    return code;
}

// Colour `ink` laid over `under` at `level` of 255: white, and black where the font has its
// table, by the font's measured table; any other colour plainly, each channel rounded to the
// nearest.
Rgb Blend(const GlyphFont& font, Rgb ink, int level, Rgb under) {
    const std::uint8_t* table = ink == RGB(255, 255, 255) ? font.whiteOver
                                : ink == RGB(0, 0, 0)     ? font.blackOver
                                                          : nullptr;
    if (table != nullptr) {
        const std::uint8_t* row = table + level * 256;
        return RGB(row[RedOf(under)], row[GreenOf(under)], row[BlueOf(under)]);
    }
    const auto a = static_cast<std::uint32_t>(level);
    const auto b = 255u - a;
    std::uint32_t t = (ink & 0xFF00FFu) * a + (under & 0xFF00FFu) * b;
    t = ((t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    std::uint32_t u = ((ink >> 8) & 0xFF00FFu) * a + ((under >> 8) & 0xFF00FFu) * b;
    u = (u + ((u >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
    return u | t;
}

constexpr int FINE = 64;  // fine positions are in 1/64 pixel

// The writing systems the desktop lays text out in runs of: glyphs are kerned only within one
// run. Letters are Latin, the CJK characters their own; digits, punctuation and spaces
// (Common) belong to the run they stand in: that of the letter before them, or at the start,
// of the first letter after them.
enum class Script { Common, Latin, Cjk };

Script ScriptOf(char32_t code) {
    if ((code >= U'A' && code <= U'Z') || (code >= U'a' && code <= U'z') ||
        (code >= 0xC0 && code <= 0x24F && code != 0xD7 && code != 0xF7)) {
        return Script::Latin;
    }
    return code >= 0x2E80 ? Script::Cjk : Script::Common;
}

// The run of the first letter of the text, Common when it has none.
Script LeadingScript(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const Script script = ScriptOf(NextCodePoint(text, at));
        if (script != Script::Common) {
            return script;
        }
    }
    return Script::Common;
}

// Walks the glyphs of UTF-8 text from the fine pen position `pen` (1/64 pixel), calling
// place(glyph, x) with the rendering of each glyph its position falls on and the whole pixel
// it stands at, as the desktop places glyphs: the pixel is the position's floor, and of
// n > 1 renderings the one for the fraction plus 1/64 in steps of 1/n (a fraction that
// reaches the next pixel takes that pixel's first). Returns the pen after the text.
template <typename Place>
std::int64_t WalkGlyphs(const GlyphFont& font, std::int64_t pen, std::string_view text,
                        Place place) {
    const int scale = FINE / font.advanceUnit;
    // Only a proportional font is laid out in runs; the frame's fonts are placed glyph by glyph.
    const bool proportional = font.advanceUnit > 1;
    char32_t previous = 0;
    Script run = proportional ? LeadingScript(text) : Script::Common;
    for (std::size_t at = 0; at < text.size();) {
        const char32_t code = NextCodePoint(text, at);
        const Script script = proportional ? ScriptOf(code) : Script::Common;
        const bool sameRun = script == Script::Common || script == run;
        const Glyph* glyph = nullptr;
        if (run == Script::Latin && script == Script::Common) {
            glyph = FindGlyph(font, LATIN_RUN_FORM + code);
        }
        if (glyph == nullptr) {
            glyph = FindGlyph(font, code);
        }
        if (glyph == nullptr) {
            continue;
        }
        if (proportional && previous != 0 && sameRun) {
            pen += std::int64_t{KerningOf(font, previous, code)} * scale;
        }
        if (!sameRun) {
            run = script;
        }
        previous = code;
        std::int64_t pixel = pen >> 6;  // floor: the shift is arithmetic
        int step = 0;
        if (font.subpixelSteps > 1) {
            step = static_cast<int>(((pen & (FINE - 1)) + 1) * font.subpixelSteps / FINE);
            if (step == font.subpixelSteps) {
                ++pixel;
                step = 0;
            }
        }
        place(glyph[step], pixel);
        pen += std::int64_t{glyph->advance} * scale;
    }
    return pen;
}

}  // namespace

void MemoryDC::TextOut(int x, int y, std::string_view text) {
    TextOutFine(std::int64_t{x} * FINE, y, text);
}

void MemoryDC::TextOutFine(std::int64_t x, int y, std::string_view text, int boxLeft,
                           int boxRight) {
    PixelBuffer* image = Target();
    if (image == nullptr) {
        return;
    }
    const GlyphFont& font = *m_font;
    const std::int64_t left = std::max(boxLeft, 0);
    const std::int64_t right = std::min(boxRight, image->Width());
    WalkGlyphs(font, x, text, [&](const Glyph& glyph, std::int64_t pen) {
        const std::uint8_t* levels = font.levels + glyph.levels;
        for (int row = 0; row < glyph.height; ++row) {
            const std::int64_t py = std::int64_t{y} + glyph.top + row;
            if (py < 0 || py >= image->Height()) {
                continue;
            }
            Rgb* line = image->Row(static_cast<int>(py));
            for (int col = 0; col < glyph.width; ++col) {
                const std::int64_t px = pen + glyph.left + col;
                const int level = levels[row * glyph.width + col];
                if (level == 0 || px < left || px >= right) {
                    continue;
                }
                line[px] = level == 255 ? m_textColour : Blend(font, m_textColour, level, line[px]);
            }
        }
    });
}

std::int64_t MemoryDC::GetFineTextWidth(std::string_view text) const {
    return WalkGlyphs(*m_font, 0, text, [](const Glyph&, std::int64_t) {});
}

Extent MemoryDC::GetTextExtent(std::string_view text) const {
    const std::int64_t width = (GetFineTextWidth(text) + FINE / 2) >> 6;
    return {static_cast<int>(std::min<std::int64_t>(width, INT_MAX)), m_font->height};
}

TextBox MemoryDC::GetTextBox(int x, int y, std::string_view text) const {
    const GlyphFont& font = *m_font;
    std::int64_t left = INT64_MAX;
    std::int64_t top = INT64_MAX;
    std::int64_t right = INT64_MIN;
    std::int64_t bottom = INT64_MIN;
    // The glyphs as TextOut places them.
    WalkGlyphs(font, std::int64_t{x} * FINE, text, [&](const Glyph& glyph, std::int64_t pen) {
        if (glyph.width > 0 && glyph.height > 0) {
            left = std::min(left, pen + glyph.left);
            right = std::max(right, pen + glyph.left + glyph.width);
            top = std::min(top, std::int64_t{y} + glyph.top);
            bottom = std::max(bottom, std::int64_t{y} + glyph.top + glyph.height);
        }
    });
    if (left >= right) {
        return {};
    }
    auto clamped = [](std::int64_t value) {
        return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
    };
    return {clamped(left), clamped(top), clamped(right), clamped(bottom)};
}
