#include "NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <locale>
#include <sstream>

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

// Whether the text is a decimal real: an optional "-", digits with at most one point (at least
// one digit), then optionally "e" or "E", an optional sign and at least one digit.
bool IsDecimalReal(std::string_view text) {
    std::size_t i = text.starts_with('-') ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i == text.size()) {
        return true;
    }
    if (text[i] != 'e' && text[i] != 'E') {
        return false;
    }
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}

// The double nearest to a decimal real, read in the classic locale whatever the program's
// locale is. Too large a magnitude is refused; too small a one gives 0 or a denormal, which
// some libraries flag as a failure and others do not.
bool ConvertDecimalReal(std::string_view text, double& value) {
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double converted = 0.0;
    in >> converted;
    if (!std::isfinite(converted) ||
        (in.fail() && std::fabs(converted) >= std::numeric_limits<double>::min())) {
        return false;
    }
    value = converted;
    return true;
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
    return body && IsDecimalReal(*body) && ConvertDecimalReal(*body, value);
}

std::string FormatInteger(long long value) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string FormatReal(double value) {
    const auto print = [value](std::ios_base::fmtflags notation, int precision) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out.setf(notation, std::ios_base::floatfield);
        out.precision(precision);
        out << value;
        return out.str();
    };
    if (!std::isfinite(value)) {
        return print(std::ios_base::scientific, 0);
    }
    // The fewest significant digits that read back to the same double, as d.ddde+XX.
    std::string scientific;
    int digits = 1;
    for (; digits < 17; ++digits) {
        scientific = print(std::ios_base::scientific, digits - 1);
        double back = 0.0;
        if (ConvertDecimalReal(scientific, back) && back == value) {
            break;
        }
    }
    if (digits == 17) {
        scientific = print(std::ios_base::scientific, 16);
    }
    const std::size_t e = scientific.find('e');
    int exponent = 0;
    const char* const first = scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1);
    std::from_chars(first, scientific.data() + scientific.size(), exponent);
    if (exponent < -4 || exponent >= 15) {
        return scientific;
    }
    // The same digits in fixed notation: rounded at the same decimal place.
    return print(std::ios_base::fixed, std::max(0, digits - 1 - exponent));
}
