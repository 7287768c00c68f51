#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "NumberText.h"

namespace {

struct IntCase {
    const char* text;
    bool ok;
    int value;
};

TEST(ParseIntText, AcceptsWholeDecimalIntegersOnly) {
    const IntCase cases[] = {
        {"0", true, 0},
        {"15", true, 15},
        {"-273", true, -273},
        {"+400", true, 400},
        {"  42 \t", true, 42},
        {"007", true, 7},
        {"2147483647", true, INT_MAX},
        {"-2147483648", true, INT_MIN},
        {"2147483648", false, 0},
        {"-2147483649", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"   ", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"1 2", false, 0},
        {"1.5", false, 0},
        {"1e3", false, 0},
        {"0x10", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"+-5", false, 0},
        {"--5", false, 0},
        {"１２", false, 0},  // full-width digits
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 12345;
        EXPECT_EQ(ParseIntText(QString::fromUtf8(c.text), value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 12345) << "a refused text must not change the value";
    }
}

struct RealCase {
    const char* text;
    bool ok;
    double value;
};

TEST(ParseRealText, AcceptsFiniteNumbersOnly) {
    const RealCase cases[] = {
        {"0.7", true, 0.7},      {"0.035", true, 0.035}, {"-0.5", true, -0.5},
        {"+1", true, 1.0},       {".5", true, 0.5},      {"5.", true, 5.0},
        {"1e-3", true, 0.001},   {"2E2", true, 200.0},   {" 1.25 ", true, 1.25},
        {"1e308", true, 1e308},  {"", false, 0},         {"abc", false, 0},
        {"12abc", false, 0},     {"1.2.3", false, 0},    {"1e999", false, 0},
        {"-1e999", false, 0},    {"nan", false, 0},      {"inf", false, 0},
        {"-infinity", false, 0}, {"0x1p3", false, 0},    {"1,5", false, 0},
        {"+-1", false, 0},       {"０.５", false, 0},  // full-width
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(c.text);
        double value = 99.0;
        EXPECT_EQ(ParseRealText(QString::fromUtf8(c.text), value), c.ok);
        EXPECT_DOUBLE_EQ(value, c.ok ? c.value : 99.0);
    }
}

TEST(FormatRealText, ShowsUpToFifteenSignificantDigits) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.7, "0.7"},
        {0.035, "0.035"},
        {0.6, "0.6"},
        {0.0, "0"},
        {1.0, "1"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345678.0, "1.23456789012346e+17"},
        {1e-20, "1e-20"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRealText(c.value), QString::fromUtf8(c.text)) << c.text;
    }
}

}  // namespace
