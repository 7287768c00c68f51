#pragma once

#include <charconv>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Numbers read from and written to text, alike in the settings dialog and on the runner's
// command line.
//
// Reading:
// - blanks around the number are ignored: ASCII white space and the Unicode spaces (no-break
//   space, ideographic space, ...) that a text field may hold;
// - the rest must be the whole number: "12abc", "1 2", "1,5", full-width digits and
//   hexadecimal are refused, as is an empty text;
// - one leading "+" is allowed ("+7"), a second sign is not ("+-7");
// - integers are decimal and must fit their type;
// - reals are decimal with an optional exponent ("0.7", ".5", "-1e-3"); a value too small in
//   magnitude for a double (1e-999) reads as 0 and a denormal one (1e-320) as that denormal,
//   as the arithmetic would take them, while one too large (1e999), infinities and NaN are
//   refused; every other number reads as the double nearest to it;
// - all of this in any locale of the program: the decimal point is always ".".
// Writing: integers in decimal; reals as the shortest text that reads back to the same double,
// in fixed notation for magnitudes from 1e-4 to below 1e15 ("0.7", "0.035", "2000") and in
// exponent notation beyond ("1e-20", "1.2345678901234568e+17").

// The text without its surrounding blanks.
std::string_view TrimBlanks(std::string_view text);

// The trimmed text with a single leading "+" removed; nothing when the text is empty or a
// second sign follows the "+".
std::optional<std::string_view> NumberBody(std::string_view text);

template <std::integral Int>
bool ParseInteger(std::string_view text, Int& value) {
    const std::optional<std::string_view> body = NumberBody(text);
    if (!body) {
        return false;
    }
    Int parsed{};
    const char* const end = body->data() + body->size();
    const auto [ptr, ec] = std::from_chars(body->data(), end, parsed, 10);
    if (ec != std::errc() || ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}

// A refused text leaves `value` as it was.
bool ParseReal(std::string_view text, double& value);

std::string FormatInteger(long long value);
std::string FormatReal(double value);
