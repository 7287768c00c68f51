#pragma once

#include <QImage>
#include <QString>
#include <QTextStream>
#include <vector>

class QFont;

// The glyph generator's parts that every table shares.

// One glyph as the desktop drew it: its advance in whole pixels, where its ink lies from
// the pen and the top line, and the ink's coverage row by row; drawn `offset` pixels right
// of a whole pixel as the first character of `text`, and stored as `code`.
struct Captured {
    char32_t code;
    int advance;
    int left;
    int top;
    int width;
    int height;
    std::vector<int> coverage;
    double offset;
    QString text;
};

constexpr int CANVAS = 64;
constexpr int ORIGIN = 16;

void DrawGlyph(QImage& image, const QFont& font, const QString& text, double offset,
               QRgb ink = qRgb(255, 255, 255));
bool Capture(const QFont& font, char32_t code, Captured& glyph, double offset,
             const QString& after);
bool MeasureBlend(const QFont& font, const std::vector<Captured>& glyphs, QRgb ink,
                  std::vector<int>& table);

// The parts of a table's source: the levels (giving each glyph's first), one glyph's entry,
// a blend table; and the source written to `path`.
std::vector<int> WriteLevels(QTextStream& out, const std::vector<Captured>& glyphs);
void WriteGlyph(QTextStream& out, const Captured& glyph, int advance, int firstLevel);
void WriteBlend(QTextStream& out, const char* ink, const char* name, const std::vector<int>& table);
bool WriteSource(const char* path, const QString& source);

// Writes the whole-run graph's font (raster/GraphGlyphs.cpp) to `path`.
bool WriteGraphFont(const char* path);
