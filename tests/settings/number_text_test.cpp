// The one rule by which the settings dialog and the runner read and write numbers.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "NumberText.h"

namespace {

struct IntCase {
    const char* text;
    bool ok;
    long long value;
};

TEST(ParseInteger, AcceptsWholeDecimalIntegersThatFit) {
    const IntCase cases[] = {
        {"0", true, 0},
        {"15", true, 15},
        {"-273", true, -273},
        {"+400", true, 400},
        {"  42 \t", true, 42},
        {"\xE3\x80\x80"
         "12"
         "\xC2\xA0",
         true, 12},  // ideographic and no-break spaces
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
        {"++5", false, 0},
        {"--5", false, 0},
        {"+ 5", false, 0},
        {"１２", false, 0},  // full-width digits
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.text);
        int value = 12345;
        EXPECT_EQ(ParseInteger(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 12345) << "a refused text must not change the value";
    }
    // Other widths keep their own limits: the runner's seed and tick count.
    std::uint32_t seed = 0;
    EXPECT_TRUE(ParseInteger("4294967295", seed));
    EXPECT_EQ(seed, 4294967295u);
    EXPECT_FALSE(ParseInteger("4294967296", seed));
    EXPECT_FALSE(ParseInteger("-1", seed));
    long long ticks = 0;
    EXPECT_TRUE(ParseInteger("9223372036854775807", ticks));
    EXPECT_EQ(ticks, LLONG_MAX);
}

struct RealCase {
    const char* text;
    bool ok;
    double value;
};

TEST(ParseReal, AcceptsFiniteNumbersAndTakesUnderflowAsZero) {
    const RealCase cases[] = {
        {"0.7", true, 0.7},
        {"0.035", true, 0.035},
        {"-0.5", true, -0.5},
        {"+1", true, 1.0},
        {".5", true, 0.5},
        {"5.", true, 5.0},
        {"1e-3", true, 0.001},
        {"2E2", true, 200.0},
        {" 1.25 ", true, 1.25},
        {"\t-3\n", true, -3.0},
        {"1e308", true, 1e308},
        {"1e-320", true, 1e-320},  // a denormal keeps its value
        {"1e-999", true, 0.0},
        {"-1e-400", true, 0.0},
        {"123456e-330", true, 0.0},
        {"-0.000001e-99999999999999999999", true, 0.0},
        {"", false, 0},
        {"abc", false, 0},
        {"12abc", false, 0},
        {"1.2.3", false, 0},
        {"1e999", false, 0},
        {"-1e999", false, 0},
        {"1e99999999999999999999", false, 0},
        {"nan", false, 0},
        {"inf", false, 0},
        {"-infinity", false, 0},
        {"0x1p3", false, 0},
        {"1,5", false, 0},
        {"+-1", false, 0},
        {"1e", false, 0},
        {"０.５", false, 0},  // full-width
    };
    for (const RealCase& c : cases) {
        SCOPED_TRACE(c.text);
        double value = 99.0;
        EXPECT_EQ(ParseReal(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 99.0);
    }
}

TEST(FormatReal, WritesTheShortestTextThatReadsBack) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.7, "0.7"},
        {0.035, "0.035"},
        {0.6, "0.6"},
        {0.0, "0"},
        {1.0, "1"},
        {2000.0, "2000"},
        {-2.5, "-2.5"},
        {1e6, "1000000"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {1e14, "100000000000000"},
        {1e15, "1e+15"},
        {1e-20, "1e-20"},
        {1.0 / 3.0, "0.3333333333333333"},
        {0.12345678901234567, "0.12345678901234566"},
        {123456789012345678.0, "1.2345678901234568e+17"},
        {std::numeric_limits<double>::max(), "1.7976931348623157e+308"},
        {std::numeric_limits<double>::denorm_min(), "5e-324"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatReal(c.value), c.text);
        double back = 0.0;
        ASSERT_TRUE(ParseReal(FormatReal(c.value), back));
        EXPECT_EQ(back, c.value) << "the text must read back to the same value";
    }
    EXPECT_EQ(FormatInteger(INT_MIN), "-2147483648");
    EXPECT_EQ(FormatInteger(4294967295LL), "4294967295");
}

}  // namespace
