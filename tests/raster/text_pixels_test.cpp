#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <string>
#include <vector>

#include "Drawing.h"
#include "FrameImage.h"

// The engine's text drawing against the desktop's own: every text the frame writes, on the
// backgrounds it meets (black, its own earlier text, the frame's colours), must give the
// same pixels and the same extents.
namespace {

QFont DesktopFrameFont() {
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(12);
    return font;
}

// Every text the frame can show: the scale's labels, the panel's three lines over the
// range of their numbers, and each character alone.
std::vector<std::string> FrameTexts() {
    std::vector<std::string> texts;
    for (int v = 0; v <= 100; v += 20) {
        texts.push_back(std::to_string(v));
    }
    char line[64];
    for (int k = -5; k <= 85; k += 7) {
        std::snprintf(line, sizeof line, "Cell: (%2d,%2d)", k < 0 ? 0 : k, 85 - k);
        texts.emplace_back(line);
    }
    for (const int t : {-2147483647 - 1, -273, -1, 0, 7, 15, 42, 99, 100, 101, 999, 12345}) {
        std::snprintf(line, sizeof line, "Temp.: %3d [ﾟC]", t);
        texts.emplace_back(line);
        std::snprintf(line, sizeof line, "Heat: %3d [J]", t);
        texts.emplace_back(line);
    }
    for (char c = 0x20; c < 0x7F; ++c) {
        texts.emplace_back(1, c);
    }
    return texts;
}

struct Placement {
    int x;
    int y;
};

class TextPixels : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 48;

    void SetUp() override {
        ASSERT_TRUE(bitmap.Create(kWidth, kHeight));
        ASSERT_TRUE(dc.Create());
        ASSERT_NE(dc.SelectBitmap(&bitmap), nullptr);
        dc.SetTransparentText();
        dc.SetTextColor(RGB(255, 255, 255));
        desktop = QImage(kWidth, kHeight, QImage::Format_RGB32);
    }

    void FillBoth(Rgb colour) {
        bitmap.Pixels().Fill(colour);
        desktop.fill(colour);
    }

    void WriteBoth(const std::string& text, Placement at) {
        dc.TextOut(at.x, at.y, text);
        QPainter painter(&desktop);
        painter.setFont(font);
        painter.setPen(QColor(qRgb(255, 255, 255)));
        painter.drawText(QPoint(at.x, at.y + QFontMetrics(font).ascent()),
                         QString::fromStdString(text));
    }

    int DifferingPixels() const {
        const QImage engine = FrameImageOf(bitmap.Pixels());
        int count = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                count += engine.pixel(x, y) != desktop.pixel(x, y) ? 1 : 0;
            }
        }
        return count;
    }

    const QFont font = DesktopFrameFont();
    FrameBitmap bitmap;
    MemoryDC dc;
    QImage desktop;
};

TEST_F(TextPixels, ExtentsAreTheDesktopsAdvanceAndLineHeight) {
    const QFontMetrics metrics(font);
    for (const std::string& text : FrameTexts()) {
        const QString q = QString::fromStdString(text);
        EXPECT_EQ(dc.GetTextExtent(text), (Extent{metrics.horizontalAdvance(q), metrics.height()}))
            << text;
    }
    EXPECT_EQ(dc.GetTextExtent(""), (Extent{0, metrics.height()}));
}

// On black, including positions where the text runs off every edge.
TEST_F(TextPixels, EveryFrameTextOnBlack) {
    const Placement placements[] = {{3, 2}, {0, 0}, {-4, -5}, {120, 20}, {60, 40}};
    for (const std::string& text : FrameTexts()) {
        for (const Placement at : placements) {
            FillBoth(RGB(0, 0, 0));
            WriteBoth(text, at);
            ASSERT_EQ(DifferingPixels(), 0) << text << " at " << at.x << ", " << at.y;
        }
    }
}

// Text written again over itself (the panel's lines below the panel are never cleared),
// labels overlapping one another (tiny frames), and text over the frame's colours.
TEST_F(TextPixels, TextOverTextAndOverColours) {
    const Rgb backgrounds[] = {RGB(0, 0, 0), RGB(130, 130, 130), RGB(255, 0, 0), RGB(12, 12, 255),
                               RGB(95, 180, 175)};
    for (const Rgb background : backgrounds) {
        FillBoth(background);
        for (int pass = 0; pass < 3; ++pass) {
            WriteBoth("Temp.: 100 [ﾟC]", {2, 3});
        }
        for (int j = 0; j < 6; ++j) {
            WriteBoth(std::to_string(100 - 20 * j), {120 - j % 2, 10 + j});
        }
        WriteBoth("Heat: 2671 [J]", {1, 4});
        WriteBoth("Cell: (79,79)", {3, 30});
        WriteBoth("Cell: (79,79)", {4, 31});
        EXPECT_EQ(DifferingPixels(), 0) << std::hex << background;
    }
}

}  // namespace
