#include <gtest/gtest.h>

#include <QFont>
#include <QFontInfo>
#include <QRect>

#include <climits>

#include "DialogUnits.h"

namespace {

// Base units 7 x 17 are those of a 9 pt sans-serif CJK font at 96 dpi.
const DialogUnits UNITS_7_17(7, 17);

TEST(DialogUnits, HorizontalUnitsAreQuarterBaseWidthRoundedHalfAwayFromZero) {
    const struct {
        int dlu;
        int px;
    } cases[] = {{0, 0},    {1, 2},     {2, 4},     {3, 5},   {4, 7},     {14, 25},
                 {70, 123}, {139, 243}, {243, 425}, {-1, -2}, {-70, -123}};
    for (const auto& c : cases) {
        EXPECT_EQ(UNITS_7_17.ToPixelsX(c.dlu), c.px) << c.dlu;
    }
}

TEST(DialogUnits, VerticalUnitsAreEighthBaseHeightRoundedHalfAwayFromZero) {
    const struct {
        int dlu;
        int px;
    } cases[] = {{0, 0}, {1, 2}, {4, 9}, {8, 17}, {14, 30}, {20, 43}, {311, 661}, {-4, -9}};
    for (const auto& c : cases) {
        EXPECT_EQ(UNITS_7_17.ToPixelsY(c.dlu), c.px) << c.dlu;
    }
}

TEST(DialogUnits, RectanglesScalePositionAndSizeSeparately) {
    // Scaling the right edge instead of the width would make the "℃" label 27 px wide.
    EXPECT_EQ(UNITS_7_17.ToPixels(QRect(179, 27, 15, 8)), QRect(313, 57, 26, 17));
    EXPECT_EQ(UNITS_7_17.ToPixels(QRect(139, 24, 30, 14)), QRect(243, 51, 53, 30));
    EXPECT_EQ(UNITS_7_17.ToPixels(QSize(243, 311)), QSize(425, 661));
}

TEST(DialogUnits, HugeValuesSaturateInsteadOfOverflowing) {
    const DialogUnits units(1000, 1000);
    EXPECT_EQ(units.ToPixelsX(INT_MAX), INT_MAX);
    EXPECT_EQ(units.ToPixelsY(INT_MIN), INT_MIN);
}

TEST(DialogUnits, BaseUnitsNeverDropBelowOne) {
    const DialogUnits units(0, -3);
    EXPECT_EQ(units.BaseX(), 1);
    EXPECT_EQ(units.BaseY(), 1);
    EXPECT_EQ(units.ToPixelsX(8), 2);
}

TEST(DialogUnits, BaseUnitsOfTheDialogFont) {
    const QFont font = DialogFont();
    EXPECT_EQ(font.pointSize(), 9);
    if (QFontInfo(font).family() != QStringLiteral("Noto Sans CJK JP")) {
        GTEST_SKIP() << "Noto Sans CJK JP is not installed";
    }
    // 52 Latin letters measure 361 px at 12 px per em: 361 / 52 = 6.94 -> 7; the em is 12 px,
    // a line 14 + 3.
    const DialogUnits units(font);
    EXPECT_EQ(units.BaseX(), 7);
    EXPECT_EQ(units.BaseY(), 12);
    EXPECT_EQ(units.LineHeight(), 17);
}

TEST(DialogUnits, TextControlsGrowToOneLineAboutTheirMiddle) {
    const DialogUnits units(7, 12, 17);
    const struct {
        QRect dlu;
        QRect px;
    } cases[] = {
        {QRect(37, 27, 75, 8), QRect(65, 39, 131, 17)},     // 12 px: 2 above, 3 below
        {QRect(18, 278, 76, 10), QRect(32, 416, 133, 17)},  // 15 px: 1 above, 1 below
        {QRect(139, 24, 30, 14), QRect(243, 36, 53, 21)},   // a line fits already
        {QRect(99, 273, 35, 20), QRect(173, 410, 61, 30)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(units.ToTextPixels(c.dlu), c.px) << c.dlu.y();
    }
    // Given base units alone, the line is one base height: nothing grows.
    EXPECT_EQ(DialogUnits(7, 17).ToTextPixels(QRect(37, 27, 75, 8)), QRect(65, 57, 131, 17));
}

}  // namespace
