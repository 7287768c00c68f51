#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "Numbers.h"

namespace {

struct TruncCase {
    double value;
    int expected;
};

class TruncToIntTest : public ::testing::TestWithParam<TruncCase> {};

TEST_P(TruncToIntTest, TruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(TruncToInt(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TruncToIntTest,
    ::testing::Values(TruncCase{2.9, 2}, TruncCase{-2.9, -2}, TruncCase{0.5, 0}, TruncCase{-0.5, 0},
                      TruncCase{2147483647.9, INT_MAX}, TruncCase{2147483648.0, INT_MAX},
                      TruncCase{-2147483648.9, INT_MIN}, TruncCase{-2147483649.0, INT_MIN},
                      TruncCase{1e300, INT_MAX}, TruncCase{-1e300, INT_MIN},
                      TruncCase{std::numeric_limits<double>::infinity(), INT_MAX},
                      TruncCase{-std::numeric_limits<double>::infinity(), INT_MIN},
                      TruncCase{std::numeric_limits<double>::quiet_NaN(), 0}));

TEST(CalToJoules, RoundsHalfUpTheHeatInJoules) {
    EXPECT_EQ(CalToJoules(15), 63);     // 62.7 + 0.5
    EXPECT_EQ(CalToJoules(37.9), 158);  // 158.42
    EXPECT_EQ(CalToJoules(639), 2671);  // 2671.02
    EXPECT_EQ(CalToJoules(1e12), INT_MAX);
}

TEST(SaturateToInt, ClampsWideValues) {
    EXPECT_EQ(SaturateToInt(static_cast<std::int64_t>(INT_MAX) + 1), INT_MAX);
    EXPECT_EQ(SaturateToInt(static_cast<std::int64_t>(INT_MIN) - 1), INT_MIN);
    EXPECT_EQ(SaturateToInt(-7), -7);
}

}  // namespace
