// The whole-run graph's font: the dialogs' proportional font as the desktop lays it out,
// with fractional advances, kerning and quarter-pixel renderings of every glyph, and the
// blend of the black ink the graph writes in.
#include "GraphFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QTextLayout>
#include <cmath>
#include <cstdio>
#include <set>

#include "DialogUnits.h"
#include "GlyphTable.h"
#include "Texts.h"
#include "WholeRunGraph.h"

namespace {

constexpr int STEPS = 4;  // renderings per glyph, a quarter pixel apart
constexpr int FINE = 64;  // advances and kerning in 1/64 pixel

// The dialogs' font at the 12 pixels it has on a 96 dpi desktop.
QFont GraphFont() {
    QFont font = DialogFont();
    font.setPixelSize(12);
    return font;
}

// Printable ASCII (the labels' digits and units, the English texts) and every other character
// of the graph's texts in either language.
std::vector<char32_t> GraphCodePoints() {
    std::set<char32_t> codes;
    for (char32_t c = 0x20; c <= 0x7E; ++c) {
        codes.insert(c);
    }
    for (const char* text : {WholeRunTexts::TEMPERATURE_LEGEND, WholeRunTexts::HEAT_LEGEND,
                             WholeRunTexts::TICK_AXIS}) {
        for (const char* language : {text, Texts::InEnglish(text)}) {
            for (const char32_t c : QString::fromUtf8(language).toUcs4()) {
                codes.insert(c);
            }
        }
    }
    return {codes.begin(), codes.end()};
}

// A Latin letter far behind a character: the line is then a Latin run, in which the desktop
// draws some digits and signs with glyphs of their own.
const QString LATIN_RUN = QString(20, QLatin1Char(' ')) + QLatin1Char('k');

// The first glyph of the desktop's layout of `text`.
quint32 FirstGlyph(const QFont& font, const QString& text) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    return layout.glyphRuns().front().glyphIndexes().front();
}

// How far the desktop's layout of `text` advances, in 1/64 pixel.
int LaidOutWidth(const QFont& font, const QString& text, int cursor) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    return static_cast<int>(std::lround(line.cursorToX(cursor) * FINE));
}

}  // namespace

bool WriteGraphFont(const char* path) {
    const QFont font = GraphFont();
    const QFontMetrics metrics(font);
    const std::vector<char32_t> codes = GraphCodePoints();

    std::vector<Captured> glyphs;
    std::vector<int> advances;
    auto capture = [&](char32_t code, char32_t stored, const QString& after) {
        advances.push_back(LaidOutWidth(font, QString::fromUcs4(&code, 1) + after, 1));
        for (int step = 0; step < STEPS; ++step) {
            Captured glyph;
            if (!Capture(font, code, glyph, static_cast<double>(step) / STEPS, after)) {
                return false;
            }
            glyph.code = stored;
            glyphs.push_back(glyph);
        }
        return true;
    };
    for (const char32_t code : codes) {
        if (!capture(code, code, {})) {
            return false;
        }
    }
    // The characters of no script of their own whose glyph differs in a Latin run, under
    // LATIN_RUN_FORM + code, after every other.
    for (const char32_t code : codes) {
        const QString alone = QString::fromUcs4(&code, 1);
        if (QChar::script(code) == QChar::Script_Common &&
            FirstGlyph(font, alone) != FirstGlyph(font, alone + LATIN_RUN) &&
            !capture(code, LATIN_RUN_FORM + code, LATIN_RUN)) {
            return false;
        }
    }
    struct Pair {
        char32_t left;
        char32_t right;
        int adjust;
    };
    std::vector<Pair> kerning;
    for (std::size_t l = 0; l < codes.size(); ++l) {
        for (std::size_t r = 0; r < codes.size(); ++r) {
            const char32_t pair[] = {codes[l], codes[r]};
            const int adjust = LaidOutWidth(font, QString::fromUcs4(pair, 2), 1) - advances[l];
            if (adjust != 0) {
                kerning.push_back({codes[l], codes[r], adjust});
            }
        }
    }
    std::vector<int> blackOver;
    if (!MeasureBlend(font, glyphs, qRgb(0, 0, 0), blackOver)) {
        return false;
    }

    QString source;
    QTextStream out(&source);
    out << "// The whole-run graph's glyphs: written by tools/glyphgen from the desktop's "
           "rendering\n"
        << "// of \"" << font.family() << "\", " << font.pixelSize()
        << " px. Do not edit; run the generator again.\n"
        << "#include \"GlyphTable.h\"\n\nnamespace {\n\n";
    const std::vector<int> offsets = WriteLevels(out, glyphs);
    out << "// code, advance (1/64 px), left, top, width, height, first level: " << STEPS
        << " renderings each\nconstexpr Glyph GLYPHS[] = {\n";
    for (std::size_t k = 0; k < glyphs.size(); ++k) {
        WriteGlyph(out, glyphs[k], advances[k / STEPS], offsets[k]);
    }
    out << "};\n";
    if (!kerning.empty()) {
        out << "\n// left, right, adjustment (1/64 px)\nconstexpr KerningPair KERNING[] = {\n";
        for (const Pair& p : kerning) {
            out << "    {0x" << QString::number(static_cast<uint>(p.left), 16).toUpper() << ", 0x"
                << QString::number(static_cast<uint>(p.right), 16).toUpper() << ", " << p.adjust
                << "},\n";
        }
        out << "};\n";
    }
    WriteBlend(out, "Black", "BLACK_OVER", blackOver);
    out << "\n}  // namespace\n\n"
        << "const GlyphFont& GraphGlyphs() {\n"
        << "    static constexpr GlyphFont font{" << metrics.ascent() << ", " << metrics.height()
        << ", GLYPHS, static_cast<int>(sizeof GLYPHS / sizeof GLYPHS[0]), LEVELS,\n"
        << "                                    nullptr, " << FINE << ", " << STEPS << ", "
        << (kerning.empty() ? "nullptr, 0"
                            : "KERNING, static_cast<int>(sizeof KERNING / "
                              "sizeof KERNING[0])")
        << ", BLACK_OVER};\n"
        << "    return font;\n}\n";
    out.flush();
    return WriteSource(path, source);
}
