#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "HistoryRecorder.h"

namespace {

std::vector<int> SampledTicks(CHistoryRecorder& recorder, int ticks) {
    std::vector<int> sampled;
    for (int tick = 1; tick <= ticks; ++tick) {
        if (recorder.RecordSample(tick, tick * 10)) {
            sampled.push_back(tick);
        }
    }
    return sampled;
}

struct CadenceCase {
    int interval;
    std::vector<int> firstSamples;
};

class CadenceTest : public ::testing::TestWithParam<CadenceCase> {};

TEST_P(CadenceTest, SampleComesWhenTheCountBeforeTheTickExceedsTheInterval) {
    CHistoryRecorder recorder;
    recorder.SetHistoryInterval(GetParam().interval);
    const std::vector<int> sampled = SampledTicks(recorder, 400);
    const auto& expected = GetParam().firstSamples;
    ASSERT_GE(sampled.size(), expected.size());
    EXPECT_EQ(std::vector<int>(sampled.begin(), sampled.begin() + expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(Intervals, CadenceTest,
                         ::testing::Values(CadenceCase{100, {102, 204, 306}},
                                           CadenceCase{0, {2, 4, 6, 8}},
                                           CadenceCase{-1, {1, 2, 3, 4}},
                                           CadenceCase{-1000, {1, 2, 3}},
                                           CadenceCase{3, {5, 10, 15}}));

TEST(HistoryRecorder, LoweringTheIntervalBelowTheCountSamplesOnTheNextTick) {
    CHistoryRecorder recorder;
    EXPECT_TRUE(SampledTicks(recorder, 50).empty());
    recorder.SetHistoryInterval(10);
    EXPECT_TRUE(recorder.RecordSample(1, 1));
}

TEST(HistoryRecorder, ResetKeepsTheTickCount) {
    CHistoryRecorder recorder;
    SampledTicks(recorder, 60);
    recorder.ResetHistory(40);
    EXPECT_EQ(recorder.TicksSinceSample(), 60);
    EXPECT_EQ(SampledTicks(recorder, 42), std::vector<int>{42});
}

TEST(HistoryRecorder, ResetFillsEverySampleWithTheTemperatureAndItsJoules) {
    CHistoryRecorder recorder;
    recorder.ResetHistory(15);
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        EXPECT_EQ(recorder.Sample(i).temperature, 15);
        EXPECT_EQ(recorder.Sample(i).heat, 63);
    }
}

TEST(HistoryRecorder, NewSamplesEnterAtTheEndAndTheOldestDrops) {
    CHistoryRecorder recorder;
    EXPECT_EQ(recorder.Sample(0).temperature, 0);
    for (int i = 1; i <= 101; ++i) {
        recorder.ShiftInSample(i, -i);
    }
    EXPECT_EQ(recorder.Sample(0).temperature, 2);
    EXPECT_EQ(recorder.Sample(98).temperature, 100);
    EXPECT_EQ(recorder.Sample(99).temperature, 101);
    EXPECT_EQ(recorder.Sample(99).heat, -101);
}

TEST(HistoryRecorder, TickCountSaturatesAtTheLargestInterval) {
    CHistoryRecorder recorder;
    recorder.SetHistoryInterval(INT_MAX);
    recorder.Restore({}, INT_MAX - 1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(recorder.RecordSample(1, 1));
    }
    EXPECT_EQ(recorder.TicksSinceSample(), INT_MAX);
}

}  // namespace
