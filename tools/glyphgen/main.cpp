// Writes the frame font's glyph table (raster/FrameGlyphs.cpp) from the desktop's rendering
// of the font: every glyph the frame can show is drawn exactly as text was drawn into the
// frame before it had its own text drawing; its ink is kept as coverage levels, and how
// white ink of each level blends over each channel value is measured too.
// Usage: quorvel-glyphgen OUTPUT.cpp [PIXELS FUNCTION]
// (the frame font of 12 pixels as FrameGlyphs by default; the larger text sizes of the frame
// are the same font at 18 and 24 pixels, as FrameGlyphs18 and FrameGlyphs24).
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

struct Captured {
    char32_t code;
    int advance;
    int left;
    int top;
    int width;
    int height;
    std::vector<int> coverage;
};

constexpr int kCanvas = 64;
constexpr int kOrigin = 16;

// Draws the glyph as the frame drew text: its top-left corner at (kOrigin, kOrigin), the
// base line `ascent` lower, in white.
void DrawGlyph(QImage& image, const QFont& font, char32_t code) {
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(qRgb(255, 255, 255)));
    painter.drawText(QPoint(kOrigin, kOrigin + QFontMetrics(font).ascent()),
                     QString::fromUcs4(&code, 1));
}

// The glyph's ink as coverage: drawn over transparent pixels, white ink blends plainly,
// so each pixel's alpha is the coverage itself.
bool Capture(const QFont& font, char32_t code, Captured& glyph) {
    QImage image(kCanvas, kCanvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    DrawGlyph(image, font, code);
    int x0 = kCanvas, y0 = kCanvas, x1 = -1, y1 = -1;
    for (int y = 0; y < kCanvas; ++y) {
        for (int x = 0; x < kCanvas; ++x) {
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
    if (x0 == 0 || y0 == 0 || x1 == kCanvas - 1 || y1 == kCanvas - 1) {
        std::fprintf(stderr, "glyph U+%04X does not fit the canvas\n", unsigned(code));
        return false;
    }
    glyph = Captured{
        code, QFontMetrics(font).horizontalAdvance(QString::fromUcs4(&code, 1)), 0, 0, 0, 0, {}};
    if (x1 < 0) {
        return true;  // no ink, such as the space
    }
    glyph.left = x0 - kOrigin;
    glyph.top = y0 - kOrigin;
    glyph.width = x1 - x0 + 1;
    glyph.height = y1 - y0 + 1;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            glyph.coverage.push_back(qAlpha(image.pixel(x, y)));
        }
    }
    return true;
}

// What white ink of each coverage makes of each channel value under it, as the desktop
// blends text (not plainly: it blends in a gamma-corrected space). Measured by drawing
// glyphs over every grey; entry [coverage * 256 + under]. Rows of coverages no glyph has
// stay plain blends; they are never read.
bool MeasureWhiteBlend(const QFont& font, const std::vector<Captured>& glyphs,
                       std::vector<int>& table) {
    table.assign(256 * 256, -1);
    for (int a = 0; a < 256; ++a) {
        for (int d = 0; d < 256; ++d) {
            if (a == 0 || a == 255) {
                table[static_cast<std::size_t>(a * 256 + d)] = a == 0 ? d : 255;
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
            QImage image(kCanvas, kCanvas, QImage::Format_RGB32);
            image.fill(qRgb(d, d, d));
            DrawGlyph(image, font, glyph.code);
            for (int row = 0; row < glyph.height; ++row) {
                for (int col = 0; col < glyph.width; ++col) {
                    const int a = glyph.coverage[static_cast<std::size_t>(row * glyph.width + col)];
                    const QRgb p =
                        image.pixel(kOrigin + glyph.left + col, kOrigin + glyph.top + row);
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
                entry = (255 * a + d * (255 - a) + 127) / 255;
            }
        }
    }
    return true;
}

// Every glyph of the frame's code points in `font`.
bool CaptureAll(const QFont& font, std::vector<Captured>& glyphs) {
    for (const char32_t code : FrameCodePoints()) {
        Captured glyph;
        if (!Capture(font, code, glyph)) {
            return false;
        }
        glyphs.push_back(glyph);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: quorvel-glyphgen OUTPUT.cpp [PIXELS FUNCTION]\n");
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
    const QFont font = FrameFont(pixels);
    const QFontMetrics metrics(font);

    std::vector<Captured> glyphs;
    if (!CaptureAll(font, glyphs)) {
        return 1;
    }

    QString source;
    QTextStream out(&source);
    std::vector<int> whiteOver;
    if (!MeasureWhiteBlend(font, glyphs, whiteOver)) {
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
            !MeasureWhiteBlend(standard, standardGlyphs, standardWhiteOver)) {
            return 1;
        }
        sharesBlend = standardWhiteOver == whiteOver;
    }

    out << "// The frame font's glyphs: written by tools/glyphgen from the desktop's rendering of\n"
        << "// \"" << font.family() << "\", " << font.pixelSize()
        << " px. Do not edit; run the generator again.\n"
        << "#include \"GlyphTable.h\"\n\nnamespace {\n\n"
        << "constexpr std::uint8_t kLevels[] = {\n";
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
    out << "};\n\n// code, advance, left, top, width, height, first level\n"
        << "constexpr Glyph kGlyphs[] = {\n";
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        const Captured& g = glyphs[k];
        out << "    {0x" << QString::number(static_cast<uint>(g.code), 16).toUpper() << ", "
            << g.advance << ", " << g.left << ", " << g.top << ", " << g.width << ", " << g.height
            << ", " << offsets[k] << "},\n";
    }
    out << "};\n";
    if (!sharesBlend) {
        out << "\n// White ink over a channel value: [coverage * 256 + under]\n"
            << "constexpr std::uint8_t kWhiteOver[] = {\n";
        for (std::size_t k = 0; k < whiteOver.size(); k += 16) {
            out << "   ";
            for (std::size_t j = k; j < k + 16; ++j) {
                out << ' ' << whiteOver[j] << ',';
            }
            out << '\n';
        }
        out << "};\n";
    }
    out << "\n}  // namespace\n\n";
    if (frameFont) {
        out << "const std::uint8_t* FrameWhiteOver() {\n    return kWhiteOver;\n}\n\n";
    }
    out << "const GlyphFont& " << function << "() {\n"
        << "    static " << (sharesBlend ? "const" : "constexpr") << " GlyphFont font{"
        << metrics.ascent() << ", " << metrics.height()
        << ", kGlyphs, static_cast<int>(sizeof kGlyphs / sizeof kGlyphs[0]), kLevels,\n"
        << "                                     "
        << (sharesBlend ? "FrameWhiteOver()" : "kWhiteOver") << "};\n"
        << "    return font;\n}\n";
    out.flush();

    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(source.toUtf8()) != source.toUtf8().size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
