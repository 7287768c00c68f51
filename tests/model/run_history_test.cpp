// The whole run's history: every sample, thinned by half at its bound, in the runner's CSV.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RunHistory.h"

namespace {

std::vector<long long> Ticks(const CRunHistory& history) {
    std::vector<long long> ticks;
    for (const CRunHistory::Entry& entry : history.Entries()) {
        ticks.push_back(entry.tick);
    }
    return ticks;
}

struct ThinningCase {
    const char* name;
    int samples;  // taken at ticks 10, 20, 30, ... with a bound of 8
    std::vector<long long> ticks;
    long long stride;
};

class RunHistoryThinningTest : public ::testing::TestWithParam<ThinningCase> {};

TEST_P(RunHistoryThinningTest, HalvesAtTheBoundKeepingTheNewest) {
    const ThinningCase c = GetParam();
    CRunHistory history(8);
    for (int i = 1; i <= c.samples; ++i) {
        history.OnSample(10LL * i, i, -i);
    }
    EXPECT_EQ(Ticks(history), c.ticks);
    EXPECT_EQ(history.Stride(), c.stride);
    const CRunHistory::Entry& last = history.Entries().back();
    EXPECT_EQ(last.temperature, last.tick / 10);
    EXPECT_EQ(last.heat, -last.tick / 10);
}

INSTANTIATE_TEST_SUITE_P(
    Bound8, RunHistoryThinningTest,
    ::testing::Values(ThinningCase{"BelowTheBound", 7, {10, 20, 30, 40, 50, 60, 70}, 1},
                      ThinningCase{"AtTheBound", 8, {20, 40, 60, 80}, 2},
                      ThinningCase{"OneInTwoAfter", 11, {20, 40, 60, 80, 100}, 2},
                      ThinningCase{"SecondHalving", 16, {40, 80, 120, 160}, 4},
                      ThinningCase{"OneInFourAfter", 23, {40, 80, 120, 160, 200}, 4}),
    [](const auto& info) { return info.param.name; });

TEST(RunHistoryTest, TheRealBoundIsOneMillionSamples) {
    CRunHistory history;
    for (long long tick = 1; tick < 1000000; ++tick) {
        history.OnSample(tick, 0, 0);
    }
    EXPECT_EQ(history.Entries().size(), 999999u);
    history.OnSample(1000000, 0, 0);
    EXPECT_EQ(history.Entries().size(), 500000u);
    EXPECT_EQ(history.Entries().front().tick, 2);
    EXPECT_EQ(history.Entries().back().tick, 1000000);
}

TEST(RunHistoryTest, ClearStartsAnewAtStrideOne) {
    CRunHistory history(4);
    for (int i = 1; i <= 5; ++i) {
        history.OnSample(i, 0, 0);
    }
    history.Clear();
    EXPECT_TRUE(history.Entries().empty());
    history.OnSample(7, 0, 0);
    history.OnSample(8, 0, 0);
    EXPECT_EQ(Ticks(history), (std::vector<long long>{7, 8}));
    EXPECT_EQ(history.Stride(), 1);
}

TEST(RunHistoryTest, WritesTheRunnersCsv) {
    CRunHistory history;
    history.OnSample(102, 15, 63);
    history.OnSample(9000000000LL, -3, -2147483647);
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(history.WriteCsv(file));
    std::rewind(file);
    std::string text(256, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    EXPECT_EQ(text,
              "tick,average_temperature_c,average_heat_j\n"
              "102,15,63\n"
              "9000000000,-3,-2147483647\n");
}

}  // namespace
