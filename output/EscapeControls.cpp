#include "EscapeControls.h"

#include <algorithm>

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || length > text.size()) {
        return 0;
    }
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    for (std::size_t i = 1; i < length; ++i) {
        if (byte(i) < (i == 1 ? low : 0x80) || byte(i) > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

}  // namespace

std::string EscapeControls(std::string_view text) {
    static constexpr char HEX[] = "0123456789abcdef";
    auto hex = [](std::string& to, unsigned char byte) {
        to += "\\x";
        to += HEX[byte >> 4];
        to += HEX[byte & 0xF];
    };
    std::string escaped;
    escaped.reserve(std::min(text.size(), std::size_t{1024}));
    std::size_t shown = 0;  // characters
    std::size_t at = 0;
    for (; at < text.size() && shown < SHOWN_VALUE_LENGTH; ++shown) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const std::size_t length = Utf8Length(text.substr(at));
        if (length == 0 ||
            (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0)) {
            // A byte that is no character, or a C1 control (U+0080 to U+009F, such as the
            // terminal's one-byte CSI): shown byte by byte.
            const std::size_t bytes = length == 0 ? 1 : 2;
            for (std::size_t i = 0; i < bytes; ++i) {
                hex(escaped, static_cast<unsigned char>(text[at + i]));
            }
            at += bytes;
            continue;
        }
        if (length > 1 || (byte >= 0x20 && byte != 0x7F)) {
            escaped.append(text.substr(at, length));
            at += length;
            continue;
        }
        ++at;
        switch (byte) {
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                hex(escaped, byte);
        }
    }
    if (at < text.size()) {
        escaped += "\u2026 (" + std::to_string(text.size()) + " bytes)";
    }
    return escaped;
}
