#include "NumberText.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

// The trimmed text as ASCII with a leading "+" removed; false if any character is outside
// ASCII (full-width digits are not numbers here) or a sign follows the "+".
bool PrepareNumberText(const QString& text, std::string& out) {
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed) {
        if (c.unicode() > 0x7F) {
            return false;
        }
    }
    out = trimmed.toStdString();
    if (!out.empty() && out.front() == '+') {
        out.erase(0, 1);
        if (!out.empty() && (out.front() == '+' || out.front() == '-')) {
            return false;
        }
    }
    return !out.empty();
}

}  // namespace

bool ParseIntText(const QString& text, int& value) {
    std::string s;
    if (!PrepareNumberText(text, s)) {
        return false;
    }
    int parsed = 0;
    const char* const end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, parsed, 10);
    if (ec != std::errc() || ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}

bool ParseRealText(const QString& text, double& value) {
    std::string s;
    if (!PrepareNumberText(text, s)) {
        return false;
    }
    double parsed = 0.0;
    const char* const end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, parsed, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

QString FormatIntText(int value) {
    return QString::number(value);
}

QString FormatRealText(double value) {
    return QString::number(value, 'g', 15);
}
