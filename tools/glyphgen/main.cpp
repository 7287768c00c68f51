// Writes the frame font's glyph table (raster/FrameGlyphs.cpp) from the desktop's rendering
// of the font: every glyph the frame can show is drawn exactly as text was drawn into the
// frame before it had its own text drawing; its ink is kept as coverage levels, and how
// white ink of each level blends over each channel value is measured too.
// Usage: quorvel-glyphgen OUTPUT.cpp [PIXELS FUNCTION]
// (the frame font of 12 pixels as FrameGlyphs by default; the larger text sizes of the frame
// are the same font at 18 and 24 pixels, as FrameGlyphs18 and FrameGlyphs24), or
// quorvel-glyphgen OUTPUT.cpp graph for the whole-run graph's font (GraphGlyphs, GraphFont.cpp).
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "GraphFont.h"

namespace {

// The small fixed font of the frame's labels and info panel.
QFont FrameFont(int pixels) {
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(pixels);
    return font;
}

// Printable ASCII and the half-width degree mark of "[ﾟC]".
std::vector<char32_t> FrameCodePoints() {
    std::vector<char32_t> codes;
    for (char32_t c = 0x20; c <= 0x7E; ++c) {
        codes.push_back(c);
    }
    codes.push_back(U'\uFF9F');
    return codes;
}

}  // namespace

// Draws the glyph's text as the frame drew text: its top-left corner at (ORIGIN + offset,
// ORIGIN), the base line `ascent` lower, in `ink` (white unless given).
void DrawGlyph(QImage& image, const QFont& font, const QString& text, double offset, QRgb ink) {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(ink));
    painter.drawText(QPointF(ORIGIN + offset, ORIGIN + QFontMetrics(font).ascent()), text);
}

// The glyph's ink as coverage: drawn over transparent pixels, white ink blends plainly,
// so each pixel's alpha is the coverage itself. `after` follows the glyph in its line, far
// enough to stand off the canvas.
bool Capture(const QFont& font, char32_t code, Captured& glyph, double offset,
             const QString& after) {
    const QString text = QString::fromUcs4(&code, 1) + after;
    QImage image(CANVAS, CANVAS, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    DrawGlyph(image, font, text, offset);
    int x0 = CANVAS, y0 = CANVAS, x1 = -1, y1 = -1;
    for (int y = 0; y < CANVAS; ++y) {
        for (int x = 0; x < CANVAS; ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) != qAlpha(p) || qGreen(p) != qAlpha(p) || qBlue(p) != qAlpha(p)) {
                std::fprintf(stderr, "glyph U+%04X is not grey\n", unsigned(code));
                return false;
            }
            if (qAlpha(p) != 0) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x0 == 0 || y0 == 0 || x1 == CANVAS - 1 || y1 == CANVAS - 1) {
        std::fprintf(stderr, "glyph U+%04X does not fit the canvas\n", unsigned(code));
        return false;
    }
    glyph = Captured{code, QFontMetrics(font).horizontalAdvance(QString::fromUcs4(&code, 1)),
                     0,    0,
                     0,    0,
                     {},   offset,
                     text};
    if (x1 < 0) {
        return true;  // no ink, such as the space
    }
    glyph.left = x0 - ORIGIN;
    glyph.top = y0 - ORIGIN;
    glyph.width = x1 - x0 + 1;
    glyph.height = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            glyph.coverage.push_back(qAlpha(image.pixel(x, y)));
        }
    }
    return true;
}

// What `ink` (white or black) of each coverage makes of each channel value under it, as the
// desktop blends text (not plainly: it blends in a gamma-corrected space). Measured by
// drawing glyphs over every grey; entry [coverage * 256 + under]. Rows of coverages no glyph
// has stay plain blends; they are never read.
bool MeasureBlend(const QFont& font, const std::vector<Captured>& glyphs, QRgb ink,
                  std::vector<int>& table) {
    const int inkValue = qRed(ink);
    table.assign(256 * 256, -1);
    for (int a = 0; a < 256; ++a) {
        for (int d = 0; d < 256; ++d) {
            if (a == 0 || a == 255) {
                table[static_cast<std::size_t>(a * 256 + d)] = a == 0 ? d : inkValue;
            }
        }
    }
    std::vector<bool> measured(256, false);
    measured[0] = measured[255] = true;
    for (const Captured& glyph : glyphs) {
        bool adds = false;
        for (const int a : glyph.coverage) {
            adds = adds || !measured[static_cast<std::size_t>(a)];
        }
        if (!adds) {
            continue;
        }
        for (int d = 0; d < 256; ++d) {
            QImage image(CANVAS, CANVAS, QImage::Format_RGB32);
            image.fill(qRgb(d, d, d));
            DrawGlyph(image, font, glyph.text, glyph.offset, ink);
            for (int row = 0; row < glyph.height; ++row) {
                for (int col = 0; col < glyph.width; ++col) {
                    const int a = glyph.coverage[static_cast<std::size_t>(row * glyph.width + col)];
                    const QRgb p = image.pixel(ORIGIN + glyph.left + col, ORIGIN + glyph.top + row);
                    int& entry = table[static_cast<std::size_t>(a * 256 + d)];
                    if (qRed(p) != qGreen(p) || qRed(p) != qBlue(p) ||
                        (entry >= 0 && entry != qRed(p))) {
                        std::fprintf(stderr, "coverage %d over %d blends unevenly\n", a, d);
                        return false;
                    }
                    entry = qRed(p);
                }
            }
        }
        for (const int a : glyph.coverage) {
            measured[static_cast<std::size_t>(a)] = true;
        }
    }
    for (int a = 0; a < 256; ++a) {
        for (int d = 0; d < 256; ++d) {
            int& entry = table[static_cast<std::size_t>(a * 256 + d)];
            if (entry < 0) {
                entry = (inkValue * a + d * (255 - a) + 127) / 255;
            }
        }
    }
    return true;
}

std::vector<int> WriteLevels(QTextStream& out, const std::vector<Captured>& glyphs) {
    out << "constexpr std::uint8_t LEVELS[] = {\n";
    int offset = 0;
    std::vector<int> offsets;
    for (const Captured& glyph : glyphs) {
        offsets.push_back(offset);
        for (int row = 0; row < glyph.height; ++row) {
            out << "   ";
            for (int col = 0; col < glyph.width; ++col) {
                out << ' ' << glyph.coverage[static_cast<std::size_t>(row * glyph.width + col)]
                    << ',';
            }
            out << '\n';
        }
        offset += glyph.width * glyph.height;
    }
    if (offset == 0) {
        out << "    0,\n";
    }
    out << "};\n\n";
    return offsets;
}

void WriteGlyph(QTextStream& out, const Captured& g, int advance, int firstLevel) {
    out << "    {0x" << QString::number(static_cast<uint>(g.code), 16).toUpper() << ", " << advance
        << ", " << g.left << ", " << g.top << ", " << g.width << ", " << g.height << ", "
        << firstLevel << "},\n";
}

void WriteBlend(QTextStream& out, const char* ink, const char* name,
                const std::vector<int>& table) {
    out << "\n// " << ink << " ink over a channel value: [coverage * 256 + under]\n"
        << "constexpr std::uint8_t " << name << "[] = {\n";
    for (std::size_t k = 0; k < table.size(); k += 16) {
        out << "   ";
        for (std::size_t j = k; j < k + 16; ++j) {
            out << ' ' << table[j] << ',';
        }
        out << '\n';
    }
    out << "};\n";
}

bool WriteSource(const char* path, const QString& source) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(source.toUtf8()) != source.toUtf8().size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

namespace {

// Every glyph of the frame's code points in `font`.
bool CaptureAll(const QFont& font, std::vector<Captured>& glyphs) {
    for (const char32_t code : FrameCodePoints()) {
        Captured glyph;
        if (!Capture(font, code, glyph, 0.0, {})) {
            return false;
        }
        glyphs.push_back(glyph);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: quorvel-glyphgen OUTPUT.cpp [PIXELS FUNCTION | graph]\n");
        return 2;
    }
    const bool graph = argc == 3 && QByteArray(argv[2]) == "graph";
    if (argc == 3 && !graph) {
        std::fprintf(stderr, "usage: quorvel-glyphgen OUTPUT.cpp [PIXELS FUNCTION | graph]\n");
        return 2;
    }
    const int pixels = argc == 4 ? std::atoi(argv[2]) : 12;
    const QString function =
        argc == 4 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("FrameGlyphs");
    if (pixels < 6 || pixels > 32) {
        std::fprintf(stderr, "the size must be 6 to 32 pixels\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    if (graph) {
        return WriteGraphFont(argv[1]) ? 0 : 1;
    }
    const QFont font = FrameFont(pixels);
    const QFontMetrics metrics(font);

    std::vector<Captured> glyphs;
    if (!CaptureAll(font, glyphs)) {
        return 1;
    }

    QString source;
    QTextStream out(&source);
    std::vector<int> whiteOver;
    if (!MeasureBlend(font, glyphs, qRgb(255, 255, 255), whiteOver)) {
        return 1;
    }
    // The blend of white ink is the renderer's, not the size's: the tables of the other sizes
    // use the frame font's own (FrameWhiteOver) where it is the same, rather than a copy.
    const bool frameFont = pixels == 12;
    bool sharesBlend = false;
    if (!frameFont) {
        const QFont standard = FrameFont(12);
        std::vector<Captured> standardGlyphs;
        std::vector<int> standardWhiteOver;
        if (!CaptureAll(standard, standardGlyphs) ||
            !MeasureBlend(standard, standardGlyphs, qRgb(255, 255, 255), standardWhiteOver)) {
            return 1;
        }
        sharesBlend = standardWhiteOver == whiteOver;
    }

    out << "// The frame font's glyphs: written by tools/glyphgen from the desktop's rendering of\n"
        << "// \"" << font.family() << "\", " << font.pixelSize()
        << " px. Do not edit; run the generator again.\n"
        << "#include \"GlyphTable.h\"\n\nnamespace {\n\n";
    const std::vector<int> offsets = WriteLevels(out, glyphs);
    out << "// code, advance, left, top, width, height, first level\n"
        << "constexpr Glyph GLYPHS[] = {\n";
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        WriteGlyph(out, glyphs[k], glyphs[k].advance, offsets[k]);
    }
    out << "};\n";
    if (!sharesBlend) {
        WriteBlend(out, "White", "WHITE_OVER", whiteOver);
    }
    out << "\n}  // namespace\n\n";
    if (frameFont) {
        out << "const std::uint8_t* FrameWhiteOver() {\n    return WHITE_OVER;\n}\n\n";
    }
    out << "const GlyphFont& " << function << "() {\n"
        << "    static " << (sharesBlend ? "const" : "constexpr") << " GlyphFont font{"
        << metrics.ascent() << ", " << metrics.height()
        << ", GLYPHS, static_cast<int>(sizeof GLYPHS / sizeof GLYPHS[0]), LEVELS,\n"
        << "                                     "
        << (sharesBlend ? "FrameWhiteOver()" : "WHITE_OVER") << "};\n"
        << "    return font;\n}\n";
    out.flush();

    return WriteSource(argv[1], source) ? 0 : 1;
}
