#pragma once

#include <cstdint>

// One glyph of a bitmap font: the pen advances by `advance` after it; its levels (0 none,
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

// A font as a table of glyphs sorted by code point. `ascent` is the distance from the top
// line to the base line, `height` the line height that text extents report. White ink
// (the colour of every text of the frame) blends by `whiteOver`, channel by channel:
// whiteOver[level * 256 + under] is what ink of that level makes of the value under it.
struct GlyphFont {
    int ascent;
    int height;
    const Glyph* glyphs;
    int glyphCount;
    const std::uint8_t* levels;
    const std::uint8_t* whiteOver;
};

// The frame's font: the small fixed font of its labels and panels, made by the glyph
// generator (tools/glyphgen) from the desktop's rendering of that font.
const GlyphFont& FrameGlyphs();
// The blend of white ink the frame font's table holds, which the other sizes share.
const std::uint8_t* FrameWhiteOver();
// The same font at 1.5 and 2 times the size (18 and 24 pixels), for larger text.
const GlyphFont& FrameGlyphs18();
const GlyphFont& FrameGlyphs24();

// The glyph of code point `code`, or nullptr when the font has none.
const Glyph* FindGlyph(const GlyphFont& font, char32_t code);
