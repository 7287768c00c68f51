#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "SimulationFixture.h"

namespace {

struct ProfileCase {
    int ends;
    int centre;
    std::array<int, 10> leftHalf;
};

class BurnerProfileTest : public SimulationTest,
                          public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(BurnerProfileTest, TwentyColumnsFollowTheHalfSineAndMirror) {
    const ProfileCase c = GetParam();
    sim.SetFlames(c.ends, c.centre);
    sim.ComputeBurnerHeat();
    for (int col = 0; col < 10; ++col) {
        EXPECT_EQ(sim.BurnerHeat(col), c.leftHalf[col]) << "column " << col;
        EXPECT_EQ(sim.BurnerHeat(19 - col), c.leftHalf[col]) << "column " << 19 - col;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Levels, BurnerProfileTest,
    ::testing::Values(
        ProfileCase{FLAME_WEAK, FLAME_MEDIUM, {80, 90, 100, 109, 117, 124, 130, 135, 138, 139}},
        ProfileCase{FLAME_OFF, FLAME_MEDIUM, {20, 41, 60, 78, 95, 109, 121, 130, 136, 139}},
        ProfileCase{FLAME_OFF, FLAME_STRONG, {59, 117, 173, 225, 272, 312, 346, 372, 389, 398}},
        ProfileCase{FLAME_STRONG, FLAME_OFF, {341, 283, 227, 175, 128, 88, 54, 28, 11, 2}},
        ProfileCase{FLAME_OFF, FLAME_OFF, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        ProfileCase{FLAME_WEAK, FLAME_WEAK, {70, 70, 70, 70, 70, 70, 70, 70, 70, 70}}));

TEST_F(SimulationTest, ThreeColumnsWithDefaultLevels) {
    Fresh(3, 20);
    EXPECT_EQ(sim.BurnerHeat(0), 119);
    EXPECT_EQ(sim.BurnerHeat(1), 140);
    EXPECT_EQ(sim.BurnerHeat(2), 119);
}

TEST_F(SimulationTest, ExtremePowersSaturateInsteadOfOverflowing) {
    SimulationSettings settings;
    settings.strongFlamePower = INT_MAX;
    settings.weakFlamePower = INT_MIN;
    sim.SetFlames(FLAME_WEAK, FLAME_STRONG);
    Fresh(settings);
    // The difference 2^32 - 1 does not fit an int; formed wide, the profile still runs from
    // near the ends power at the walls to near the centre power in the middle.
    EXPECT_LT(sim.BurnerHeat(0), -1'400'000'000);
    EXPECT_GT(sim.BurnerHeat(9), 2'100'000'000);
    sim.SetFlames(FLAME_STRONG, FLAME_STRONG);
    sim.ComputeBurnerHeat();
    EXPECT_EQ(sim.BurnerHeat(5), INT_MAX);
}

TEST(BurnerLevels, ClicksCycleOffStrongMediumWeakFromTheStartLevels) {
    CSimulation sim;
    const int ends[] = {FLAME_OFF, FLAME_STRONG, FLAME_MEDIUM, FLAME_WEAK, FLAME_OFF};
    const int centre[] = {FLAME_WEAK, FLAME_OFF, FLAME_STRONG, FLAME_MEDIUM, FLAME_WEAK};
    for (int click = 0; click < 5; ++click) {
        ASSERT_TRUE(sim.AdvanceEndsFlame());
        ASSERT_TRUE(sim.AdvanceCentreFlame());
        EXPECT_EQ(sim.EndsFlame(), ends[click]) << click;
        EXPECT_EQ(sim.CentreFlame(), centre[click]) << click;
    }
}

TEST(BurnerLevels, AValueThatIsNoLevelIsNotAdvanced) {
    CSimulation sim;
    sim.SetFlames(4, -1);
    EXPECT_FALSE(sim.AdvanceEndsFlame());
    EXPECT_FALSE(sim.AdvanceCentreFlame());
    EXPECT_EQ(sim.EndsFlame(), 4);
    EXPECT_EQ(sim.CentreFlame(), -1);
}

TEST_F(SimulationTest, OneClickAfterStartGivesTheOffMediumProfile) {
    ASSERT_TRUE(sim.AdvanceEndsFlame());
    sim.ComputeBurnerHeat();
    EXPECT_EQ(sim.BurnerHeat(0), 20);
    EXPECT_EQ(sim.BurnerHeat(9), 139);
}

TEST_F(SimulationTest, LevelChangeAffectsTheVeryNextBottomStepOnly) {
    sim.StepCell(0, 19);
    const CCell heated = Live(19, 0);
    ASSERT_TRUE(sim.AdvanceCentreFlame());  // both weak: 70 everywhere
    sim.ComputeBurnerHeat();
    EXPECT_EQ(Live(19, 0), heated);
    sim.StepCell(3, 19);
    EXPECT_EQ(Stage(19, 3).m_dHeat, 15 + 70);
}

}  // namespace
