#include "GlyphTable.h"

#include <algorithm>

const Glyph* FindGlyph(const GlyphFont& font, char32_t code) {
    const Glyph* end = font.glyphs + font.glyphCount;
    const Glyph* found = std::lower_bound(
        font.glyphs, end, code, [](const Glyph& glyph, char32_t c) { return glyph.code < c; });
    return found != end && found->code == code ? found : nullptr;
}
