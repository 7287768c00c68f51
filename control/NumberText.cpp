#include "NumberText.h"

#include <cmath>

namespace {

// White space as a text field knows it, UTF-8 encoded: ASCII's, then U+0085, U+00A0, U+1680,
// U+2000 to U+200A, U+2028, U+2029, U+202F, U+205F and U+3000.
constexpr std::string_view BLANKS[] = {
    "\t",           "\n",           "\v",           "\f",           "\r",           " ",
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF", "\xE2\x81\x9F",
    "\xE3\x80\x80",
};

std::size_t LeadingBlank(std::string_view text) {
    for (const std::string_view blank : BLANKS) {
        if (text.starts_with(blank)) {
            return blank.size();
        }
    }
    return 0;
}

std::size_t TrailingBlank(std::string_view text) {
    for (const std::string_view blank : BLANKS) {
        if (text.ends_with(blank)) {
            return blank.size();
        }
    }
    return 0;
}

// Whether a well-formed decimal number that does not fit a double is below 1 in magnitude:
// the power of ten of its first significant digit, plus its exponent, is negative.
bool IsBelowOne(std::string_view text) {
    long long integerDigits = 0;
    long long digits = 0;
    long long firstSignificant = -1;
    bool seenPoint = false;
    std::size_t i = text.find_first_not_of('-');
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            seenPoint = true;
            continue;
        }
        integerDigits += seenPoint ? 0 : 1;
        if (firstSignificant < 0 && text[i] != '0') {
            firstSignificant = digits;
        }
        ++digits;
    }
    long long exponent = 0;
    if (i + 1 < text.size()) {
        std::string_view part = text.substr(i + 1);
        const bool negative = part[0] == '-';
        part.remove_prefix(part[0] == '-' || part[0] == '+' ? 1 : 0);
        // An exponent this long lies far beyond either end of the range.
        if (std::from_chars(part.data(), part.data() + part.size(), exponent).ec != std::errc() ||
            exponent > 1'000'000'000) {
            return negative;
        }
        exponent = negative ? -exponent : exponent;
    }
    return integerDigits - firstSignificant - 1 + exponent < 0;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    for (std::size_t n = LeadingBlank(text); n != 0; n = LeadingBlank(text)) {
        text.remove_prefix(n);
    }
    for (std::size_t n = TrailingBlank(text); n != 0; n = TrailingBlank(text)) {
        text.remove_suffix(n);
    }
    return text;
}

std::optional<std::string_view> NumberBody(std::string_view text) {
    text = TrimBlanks(text);
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('+') || text.starts_with('-')) {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

bool ParseReal(std::string_view text, double& value) {
    const std::optional<std::string_view> body = NumberBody(text);
    if (!body) {
        return false;
    }
    double parsed = 0.0;
    const char* const end = body->data() + body->size();
    const auto [ptr, ec] = std::from_chars(body->data(), end, parsed, std::chars_format::general);
    if (ptr != end) {
        return false;
    }
    if (ec == std::errc::result_out_of_range && IsBelowOne(*body)) {
        value = 0.0;
        return true;
    }
    if (ec != std::errc() || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

std::string FormatInteger(long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string FormatReal(double value) {
    // The shortest digits that read back to the same double, as d.ddde±XX.
    char scientific[32];
    const auto sci = std::to_chars(scientific, scientific + sizeof scientific, value,
                                   std::chars_format::scientific);
    if (!std::isfinite(value)) {
        return std::string(scientific, sci.ptr);
    }
    const std::string_view digits(scientific, sci.ptr);
    std::string_view exponentText = digits.substr(digits.find('e') + 1);
    const bool negative = exponentText.front() == '-';
    exponentText.remove_prefix(1);  // to_chars always writes the exponent's sign
    int exponent = 0;
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    exponent = negative ? -exponent : exponent;
    if (exponent < -4 || exponent >= 15) {
        return std::string(digits);
    }
    // Within this range the shortest fixed text has the same digits.
    char fixed[32];
    const auto fix = std::to_chars(fixed, fixed + sizeof fixed, value, std::chars_format::fixed);
    return std::string(fixed, fix.ptr);
}
