#pragma once

#include <QString>

// Text of the settings edits <-> numbers. Parsing is strict: surrounding blanks are allowed,
// anything else that is not part of the number makes the whole text invalid, so "12abc" is
// never read as 12.

// A decimal integer with an optional sign that fits an int.
bool ParseIntText(const QString& text, int& value);

// A finite decimal real number with an optional sign and exponent ("0.7", "-1e-3", ".5").
// Infinity, NaN, hexadecimal and magnitudes beyond the double range are refused.
bool ParseRealText(const QString& text, double& value);

// Integers in decimal, reals in the general format with up to 15 significant digits, so that
// 0.7 shows as "0.7" and 0.035 as "0.035".
QString FormatIntText(int value);
QString FormatRealText(double value);
