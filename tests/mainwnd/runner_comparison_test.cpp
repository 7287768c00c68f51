// The window's history against the headless runner's for the same seed and settings.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BatchRun.h"
#include "SimDlgFixture.h"

namespace {

TEST_F(SimDlgTest, HistoryWindowTakesTheSamplesTheHeadlessRunnerWrites) {
    constexpr int kTicks = 5000;
    dlg->Simulation().SetSeed(2024);
    Start({true, [](CSettingsDlg& d) { SetEdit(d, IDC_HISTORY_INTERVAL, "20"); }});
    for (int i = 0; i < kTicks; ++i) {
        dlg->Show(dlg->Session().Timer());
    }

    QTemporaryDir dir;
    BatchOptions options;
    options.ticks = kTicks;
    options.seed = 2024;
    options.settings.historyInterval = 20;
    options.historyOut = dir.filePath("h.csv").toStdString();
    std::ostringstream out;
    std::ostringstream errors;
    ASSERT_EQ(RunBatch(options, out, errors, false), 0) << errors.str();

    std::ifstream csv(options.historyOut);
    std::vector<HistorySample> written;
    std::string line;
    std::getline(csv, line);  // header
    while (std::getline(csv, line)) {
        long long tick = 0;
        HistorySample sample;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lld,%d,%d", &tick, &sample.temperature, &sample.heat),
                  3);
        written.push_back(sample);
    }
    ASSERT_EQ(written.size(), static_cast<std::size_t>(kTicks / 22));
    const CHistoryRecorder& recorder = dlg->Control().Recorder();
    for (int i = 0; i < HISTORY_SAMPLE_COUNT; ++i) {
        const HistorySample& expected = written[written.size() - HISTORY_SAMPLE_COUNT + i];
        EXPECT_EQ(recorder.Sample(i).temperature, expected.temperature) << i;
        EXPECT_EQ(recorder.Sample(i).heat, expected.heat) << i;
    }
}

}  // namespace
