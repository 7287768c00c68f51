#pragma once

#include <cstdint>

// One glyph of a bitmap font: the pen advances by `advance` (in the font's advance unit) after
// it; its levels (0 none,
// 255 full ink, one byte per pixel, `width` x `height` row by row from `levels`) stand
// `left` pixels right of the pen and `top` pixels below the text's top line.
struct Glyph {
    char32_t code;
    int advance;
    int left;
    int top;
    int width;
    int height;
    int levels;  // index of the first level in the font's level table
};

// A digit or sign that the desktop draws in another form within a run of Latin text (such as
// the "2" of "2k") has that form as a glyph of its own, under this offset plus its code.
constexpr char32_t LATIN_RUN_FORM = 0xF0000;

// A pair of glyphs that stand closer (negative) or further apart than their advances say, by
// `adjust` in the font's advance unit.
struct KerningPair {
    char32_t left;
    char32_t right;
    int adjust;
};

// A font as a table of glyphs sorted by code point. `ascent` is the distance from the top
// line to the base line, `height` the line height that text extents report. White ink
// (the colour of every text of the frame) blends by `whiteOver`, channel by channel:
// whiteOver[level * 256 + under] is what ink of that level makes of the value under it.
//
// The frame's fonts have whole-pixel advances. A proportional font is laid out as the desktop
// lays it out: advances and kerning in 1/64 pixel (`advanceUnit` 64), and each glyph drawn
// from the one of its `subpixelSteps` renderings (at 0, 1/4, 1/2 and 3/4 pixel, stored one
// after the other in `glyphs`) that its pen position falls on. Black ink blends by
// `blackOver` as white ink by `whiteOver`, where it is given.
struct GlyphFont {
    int ascent;
    int height;
    const Glyph* glyphs;
    int glyphCount;
    const std::uint8_t* levels;
    const std::uint8_t* whiteOver;
    int advanceUnit = 1;
    int subpixelSteps = 1;
    const KerningPair* kerning = nullptr;  // sorted by (left, right)
    int kerningCount = 0;
    const std::uint8_t* blackOver = nullptr;
};

// The frame's font: the small fixed font of its labels and panels, made by the glyph
// generator (tools/glyphgen) from the desktop's rendering of that font.
const GlyphFont& FrameGlyphs();
// The blend of white ink the frame font's table holds, which the other sizes share.
const std::uint8_t* FrameWhiteOver();
// The same font at 1.5 and 2 times the size (18 and 24 pixels), for larger text.
const GlyphFont& FrameGlyphs18();
const GlyphFont& FrameGlyphs24();

// The labels and legend of the history window's whole-run graph: the dialogs' proportional
// font, "Noto Sans CJK JP" of 12 pixels, for the digits, Latin letters and the few Japanese
// characters the graph writes.
const GlyphFont& GraphGlyphs();

// The glyph of code point `code` (its first rendering), or nullptr when the font has none.
const Glyph* FindGlyph(const GlyphFont& font, char32_t code);
// The kerning between two glyphs in the font's advance unit; 0 for a pair it does not list.
int KerningOf(const GlyphFont& font, char32_t left, char32_t right);
