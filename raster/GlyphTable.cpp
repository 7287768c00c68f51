#include "GlyphTable.h"

#include <algorithm>
#include <utility>

const Glyph* FindGlyph(const GlyphFont& font, char32_t code) {
    const Glyph* end = font.glyphs + font.glyphCount;
    // lower_bound finds the first of a glyph's renderings.
    const Glyph* found = std::lower_bound(
        font.glyphs, end, code, [](const Glyph& glyph, char32_t c) { return glyph.code < c; });
    return found != end && found->code == code ? found : nullptr;
}

int KerningOf(const GlyphFont& font, char32_t left, char32_t right) {
    const KerningPair* end = font.kerning + font.kerningCount;
    const KerningPair* found =
        std::lower_bound(font.kerning, end, std::pair{left, right},
                         [](const KerningPair& pair, const std::pair<char32_t, char32_t>& key) {
                             return std::pair{pair.left, pair.right} < key;
                         });
    return found != end && found->left == left && found->right == right ? found->adjust : 0;
}
