// The whole run's history: every sample, thinned by half at its bound, the newest kept.
#include <gtest/gtest.h>

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

TEST(RunHistoryTest, HalvesAtTheBoundAndThenKeepsOneInTwiceAsMany) {
    // Samples at ticks 10, 20, 30, ... with a bound of 8; a cleared history starts anew.
    const std::vector<std::pair<int, std::vector<long long>>> cases = {
        {7, {10, 20, 30, 40, 50, 60, 70}}, {8, {20, 40, 60, 80}},
        {11, {20, 40, 60, 80, 100}},       {16, {40, 80, 120, 160}},
        {23, {40, 80, 120, 160, 200}},
    };
    for (const auto& [samples, ticks] : cases) {
        CRunHistory history(8);
        history.OnSample(1, 0, 0);
        history.Clear();
        for (int i = 1; i <= samples; ++i) {
            history.OnSample(10LL * i, i, -i);
        }
        EXPECT_EQ(Ticks(history), ticks) << samples;
        EXPECT_EQ(history.Entries().back().heat, -history.Entries().back().temperature);
    }
}

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

TEST(RunHistoryTest, TheStrideStopsDoublingBeforeItOverflows) {
    // The sample that fills the history is due; thinning keeps the newest of the four.
    CRunHistory history(4);
    history.Restore({{1, 0, 0}, {2, 0, 0}, {3, 0, 0}}, 1LL << 62, (1LL << 62) - 1);
    history.OnSample(4, 0, 0);
    EXPECT_EQ(Ticks(history), (std::vector<long long>{2, 4}));
    EXPECT_EQ(history.Stride(), 1LL << 62);
}

}  // namespace
