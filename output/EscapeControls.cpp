#include "EscapeControls.h"

std::string EscapeControls(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
            continue;
        }
        switch (c) {
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default: {
                static constexpr char kHex[] = "0123456789abcdef";
                escaped += "\\x";
                escaped += kHex[byte >> 4];
                escaped += kHex[byte & 0xF];
            }
        }
    }
    return escaped;
}
