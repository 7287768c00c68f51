// How often the title follows a fast run.
#include <gtest/gtest.h>

#include "TitlePace.h"

namespace {

TEST(TitlePace, TheTicksTitleIsShownAtMostEvery100Ms) {
    CTitlePace pace;
    EXPECT_TRUE(pace.Due(0.0));  // nothing shown yet
    pace.Shown(1000.0);
    const struct {
        double now;
        double wait;
    } cases[] = {{1000.0, 100.0}, {1040.0, 60.0}, {1099.5, 0.5},
                 {1100.0, 0.0},   {9000.0, 0.0},  {400.0, 100.0}};  // a clock gone back
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(pace.WaitMs(c.now), c.wait) << c.now;
        EXPECT_EQ(pace.Due(c.now), c.wait == 0.0) << c.now;
    }
}

}  // namespace
