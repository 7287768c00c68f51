#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BatchOptions.h"

namespace {

TEST(BatchOptions, DefaultsAreTheSettingsDefaults) {
    const BatchParseResult r = ParseBatchOptions({});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.ticks, 10000);
    EXPECT_FALSE(r.options.seed.has_value());
    EXPECT_EQ(r.options.settings.columns, 20);
    EXPECT_EQ(r.options.settings.historyInterval, 100);
    EXPECT_EQ(r.options.endsLevel, FLAME_WEAK);
    EXPECT_EQ(r.options.centreLevel, FLAME_MEDIUM);
    EXPECT_FALSE(r.options.progress.has_value());
}

TEST(BatchOptions, EveryOptionIsTaken) {
    const BatchParseResult r = ParseBatchOptions({"--ticks",   "5",
                                                  "--seed",    "4294967295",
                                                  "--columns", "3",
                                                  "--rows=80", "--initial-temperature",
                                                  "100",       "--convection-ratio",
                                                  "0",         "--conduction",
                                                  "-0.5",      "--cooling",
                                                  "1e-3",      "--room-temperature",
                                                  "-40",       "--strong",
                                                  "-1",        "--medium",
                                                  "+7",        "--weak",
                                                  "0",         "--ends",
                                                  "off",       "--centre",
                                                  "strong",    "--history-interval",
                                                  "-1",        "--grid-out",
                                                  "g.txt",     "--history-out",
                                                  "h.csv",     "--no-progress"});
    ASSERT_EQ(r.error, "");
    const BatchOptions& o = r.options;
    EXPECT_EQ(o.ticks, 5);
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.settings.columns, 3);
    EXPECT_EQ(o.settings.rows, 80);
    EXPECT_EQ(o.settings.initialTemperature, 100);
    EXPECT_EQ(o.settings.convectionRatio, 0);
    EXPECT_EQ(o.settings.conductionCoefficient, -0.5);
    EXPECT_EQ(o.settings.coolingCoefficient, 1e-3);
    EXPECT_EQ(o.settings.roomTemperature, -40);
    EXPECT_EQ(o.settings.strongFlamePower, -1);
    EXPECT_EQ(o.settings.mediumFlamePower, 7);
    EXPECT_EQ(o.settings.weakFlamePower, 0);
    EXPECT_EQ(o.endsLevel, FLAME_OFF);
    EXPECT_EQ(o.centreLevel, FLAME_STRONG);
    EXPECT_EQ(o.settings.historyInterval, -1);
    EXPECT_EQ(o.gridOut, "g.txt");
    EXPECT_EQ(o.historyOut, "h.csv");
    EXPECT_EQ(o.progress, false);
}

struct BadCase {
    std::vector<std::string> args;
    std::string mustMention;  // option and value, or the range
};

class BadOptionTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptionTest, IsRejectedWithOneLineNamingIt) {
    const BatchParseResult r = ParseBatchOptions(GetParam().args);
    ASSERT_NE(r.error, "");
    EXPECT_EQ(r.error.find('\n'), std::string::npos);
    EXPECT_EQ(r.error.find('\x1b'), std::string::npos);
    EXPECT_NE(r.error.find(GetParam().mustMention), std::string::npos) << r.error;
}

INSTANTIATE_TEST_SUITE_P(
    Values, BadOptionTest,
    ::testing::Values(
        BadCase{{"--columns", "2"}, "'2' (accepted: an integer from 3 to 80)"},
        BadCase{{"--rows", "81"}, "--rows: invalid value '81'"},
        BadCase{{"--columns", "12abc"}, "'12abc'"}, BadCase{{"--columns", ""}, "--columns"},
        BadCase{{"--initial-temperature", "-1"}, "0 to 100"},
        BadCase{{"--initial-temperature", "101"}, "'101'"},
        BadCase{{"--convection-ratio", "1.01"}, "from 0 to 1"},
        BadCase{{"--convection-ratio", "nan"}, "'nan'"},
        BadCase{{"--conduction", "inf"}, "a finite number"},
        BadCase{{"--cooling", "-infinity"}, "--cooling"},
        BadCase{{"--strong", "1.5"}, "--strong: invalid value '1.5'"},
        BadCase{{"--weak", "2147483648"}, "'2147483648'"},
        BadCase{{"--ends", "hot"}, "off, strong, medium or weak"},
        BadCase{{"--ticks", "-1"}, "--ticks"}, BadCase{{"--seed", "4294967296"}, "0 to 4294967295"},
        BadCase{{"--seed", "-1"}, "'-1'"}, BadCase{{"--history-interval", "1e3"}, "'1e3'"},
        BadCase{{"--colums", "20"}, "unknown option '--colums'"},
        BadCase{{"--grid-out"}, "--grid-out: missing value"},
        BadCase{{"--progress=yes"}, "takes no value"},
        BadCase{{"--help=1"}, "--help takes no value"},
        BadCase{{"--no-progress="}, "--no-progress takes no value"},
        BadCase{{"--conduction", "1e999"}, "a finite number"},
        BadCase{{"--convection-ratio", "-1e400"}, "from 0 to 1"},
        BadCase{{"--png", "v", "--grid-out", "./v"},
                "--grid-out './v' and --png 'v' name the same file"},
        BadCase{{"--png", ""}, "--png"},
        BadCase{{"--view-size", "150x480"}, "width 151 to 10000, height 101 to 10000"},
        BadCase{{"--view-size", "640x100"}, "--view-size: invalid value '640x100'"},
        BadCase{{"--view-size", "10001x480"}, "'10001x480'"},
        BadCase{{"--view-size", "640x10001"}, "'640x10001'"},
        BadCase{{"--view-size", "640"}, "'640'"}, BadCase{{"--view-size", "640x"}, "'640x'"},
        BadCase{{"--view-size", "x480"}, "'x480'"},
        BadCase{{"--view-size", "640x480x2"}, "'640x480x2'"},
        BadCase{{"--view-size", "640X480"}, "'640X480'"},
        BadCase{{"--view-size", "-640x480"}, "'-640x480'"},
        BadCase{{"--view-size", "640 x 480"}, "'640 x 480'"},
        // Given twice: the first value would be lost without a word.
        BadCase{{"--grid-out", "a", "--grid-out", "b"}, "--grid-out given twice"},
        BadCase{{"--ticks", "5", "--ticks=6"}, "--ticks given twice"},
        BadCase{{"--seed", "1", "--seed", "1"}, "--seed given twice"},
        BadCase{{"--ends", "off", "--centre", "off", "--ends", "weak"}, "--ends given twice"},
        BadCase{{"--view-size", "640x480", "--view-size", "800x600"}, "--view-size given twice"},
        BadCase{{"--columns=4", "--columns", "5"}, "--columns given twice"},
        BadCase{{"--progress", "--no-progress"}, "--no-progress given after --progress"},
        // Control characters in a value are shown escaped: no forged line, no escape sequence.
        BadCase{{"--ticks", "5\nquorvel-batch: done"}, "'5\\nquorvel-batch: done'"},
        BadCase{{"--x\x1b[2J"}, "unknown option '--x\\x1b[2J'"},
        BadCase{{"--png", "a\rb", "--grid-out", "./a\rb"}, "'./a\\rb' and --png 'a\\rb'"}));

// Numbers too small for a double are taken as 0 by every real option, as arithmetic would;
// blanks around a number are ignored, as the settings dialog ignores them.
struct RealCase {
    std::vector<std::string> args;
    double conduction;
    double convection;
};

class RealTextTest : public ::testing::TestWithParam<RealCase> {};

TEST_P(RealTextTest, IsTakenAsTheDialogTakesIt) {
    const BatchParseResult r = ParseBatchOptions(GetParam().args);
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.settings.conductionCoefficient, GetParam().conduction);
    EXPECT_EQ(r.options.settings.convectionRatio, GetParam().convection);
}

INSTANTIATE_TEST_SUITE_P(
    Values, RealTextTest,
    ::testing::Values(RealCase{{"--conduction", "1e-999"}, 0.0, 0.7},
                      RealCase{{"--conduction", "-0.000001e-99999999999999999999"}, 0.0, 0.7},
                      RealCase{{"--conduction", "123456e-330"}, 0.0, 0.7},
                      RealCase{{"--conduction", "1e-320"}, 1e-320, 0.7},
                      RealCase{{"--conduction", " 0.25 "}, 0.25, 0.7},
                      RealCase{{"--convection-ratio", "-1e-400"}, 0.035, 0.0}));

struct ViewSizeCase {
    std::string value;
    int width;
    int height;
};

class ViewSizeTest : public ::testing::TestWithParam<ViewSizeCase> {};

TEST_P(ViewSizeTest, IsTakenWithinTheWindowsLimits) {
    const ViewSizeCase c = GetParam();
    const BatchParseResult r = ParseBatchOptions({"--png", "v.png", "--view-size", c.value});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.options.pngOut, "v.png");
    EXPECT_EQ(r.options.viewWidth, c.width);
    EXPECT_EQ(r.options.viewHeight, c.height);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ViewSizeTest,
                         ::testing::Values(ViewSizeCase{"151x101", 151, 101},
                                           ViewSizeCase{"10000x10000", 10000, 10000},
                                           ViewSizeCase{"800x600", 800, 600}));

TEST(BatchOptions, PictureIsOffAndSizedForTheDefaultWindow) {
    const BatchParseResult r = ParseBatchOptions({});
    EXPECT_EQ(r.options.pngOut, "");
    EXPECT_EQ(r.options.viewWidth, 640);
    EXPECT_EQ(r.options.viewHeight, 480);
}

}  // namespace
