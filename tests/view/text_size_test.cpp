// The frame's text sizes: names, the panel and labels at each size, and the fallback on a
// frame whose panel cannot hold the size asked for.
#include "ViewFixture.h"

namespace {

TEST(TextSizeNames, EachNameReadsBackAndNothingElseIsOne) {
    for (const TextSize size : TEXT_SIZES) {
        EXPECT_EQ(TextSizeFromName(TextSizeName(size)), size);
    }
    EXPECT_EQ(std::string(TextSizeName(TextSize::ExtraLarge)), "extra-large");
    for (const char* other : {"", "Large", "x-large", "150", " large"}) {
        EXPECT_FALSE(TextSizeFromName(other).has_value()) << other;
    }
}

class TextSizeTest : public ViewTest {
protected:
    // The rows the panel's text covers for a cell, at `size` in a cx x cy client area.
    int PanelTextHeight(TextSize size, int cx, int cy) {
        view.SetTextSize(size);
        view.CreateFrame(cx, cy);
        view.FullRebuild(true);
        view.DrawCellInfo(5, 12);
        const PixelRect p = view.InfoPanelRect();
        return BoundsWhere(PixelBox(p.left, p.top, p.Width(), p.Height()),
                           [](Rgb c) { return c != kBlack; })
            .height();
    }
};

TEST_F(TextSizeTest, LargerSizesScaleThePanelWhereItHoldsThem) {
    // A maximised window on a 1920 x 1080 screen holds every size.
    const int standard = PanelTextHeight(TextSize::Standard, 1918, 1055);
    const int large = PanelTextHeight(TextSize::Large, 1918, 1055);
    EXPECT_EQ(view.ShownTextSize(), TextSize::Large);
    const int extraLarge = PanelTextHeight(TextSize::ExtraLarge, 1918, 1055);
    EXPECT_EQ(view.ShownTextSize(), TextSize::ExtraLarge);
    EXPECT_NEAR(large, 1.5 * standard, 0.1 * standard);
    EXPECT_NEAR(extraLarge, 2.0 * standard, 0.1 * standard);

    // The scale's top label "100" widens with the text, its right edge staying put.
    const PixelRect scaleArea{1918 - 80, 0, 1918 - 25, 60};  // up to the scale
    auto labelWidth = [&] {
        return BoundsWhere(
                   PixelBox(scaleArea.left, scaleArea.top, scaleArea.Width(), scaleArea.Height()),
                   [](Rgb c) { return RedOf(c) > 150; })  // not the grey wall
            .width();
    };
    const int wide = labelWidth();
    PanelTextHeight(TextSize::Standard, 1918, 1055);
    EXPECT_NEAR(wide, 2 * labelWidth(), 3);
}

TEST_F(TextSizeTest, ASizeThePanelCannotHoldGivesWayToTheLargestThatFits) {
    const struct {
        int cx, cy;
        TextSize asked, shown;
    } cases[] = {
        {640, 480, TextSize::ExtraLarge, TextSize::Standard},  // the default window
        {640, 480, TextSize::Large, TextSize::Standard},
        {1000, 700, TextSize::ExtraLarge, TextSize::Large},
        {1000, 700, TextSize::Standard, TextSize::Standard},
    };
    for (const auto& c : cases) {
        PanelTextHeight(c.asked, c.cx, c.cy);
        EXPECT_EQ(view.ShownTextSize(), c.shown) << c.cx << "x" << c.cy;
    }
    // Given way, the frame is the standard one, pixel for pixel.
    PanelTextHeight(TextSize::Standard, 640, 480);
    const PixelBuffer standard = view.Frame();
    PanelTextHeight(TextSize::ExtraLarge, 640, 480);
    EXPECT_EQ(view.Frame(), standard);
}

}  // namespace
