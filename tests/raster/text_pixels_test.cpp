#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "Drawing.h"
#include "FrameImage.h"
#include "GlyphTable.h"

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

// The whole-run graph's labels and legend in the dialogs' proportional font, black on its
// white, against the desktop's layout of the same texts: the same widths to 1/64 pixel and the
// same pixels at whole and fractional positions.
TEST(GraphTextPixels, EveryGraphTextAsTheDesktopLaysItOut) {
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(12);
    std::vector<std::string> texts = {"0",
                                      "20",
                                      "100",
                                      "2500",
                                      "2k",
                                      "7.5k",
                                      "1.5M",
                                      "20M",
                                      "3G",
                                      "1000",
                                      "ticks",
                                      "Avg. heat [J] (right)",
                                      "ステップ",
                                      "平均温度 [°C] (左)",
                                      "平均熱量 [J] (右)",
                                      "Avg. temperature [°C] (left)"};
    FrameBitmap bitmap;
    MemoryDC dc;
    ASSERT_TRUE(bitmap.Create(240, 24));
    ASSERT_TRUE(dc.Create());
    ASSERT_NE(dc.SelectBitmap(&bitmap), nullptr);
    dc.SetFont(GraphGlyphs());
    dc.SetTextColor(RGB(0, 0, 0));
    QImage desktop(240, 24, QImage::Format_RGB32);
    for (const std::string& text : texts) {
        const QString q = QString::fromStdString(text);
        QTextLayout layout(q, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        EXPECT_EQ(dc.GetFineTextWidth(text), std::lround(line.naturalTextWidth() * 64)) << text;
        EXPECT_EQ(dc.GetTextExtent(text).width, QFontMetrics(font).horizontalAdvance(q)) << text;
        for (const int x64 : {64 * 3, 64 * 3 + 16, 64 * 3 + 33, 64 * 3 + 50, 64 * 3 + 63}) {
            bitmap.Pixels().Fill(RGB(255, 255, 255));
            desktop.fill(qRgb(255, 255, 255));
            dc.TextOutFine(x64, 2, text);
            QPainter painter(&desktop);
            painter.setFont(font);
            painter.setPen(QColor(qRgb(0, 0, 0)));
            painter.drawText(QPointF(x64 / 64.0, 2 + QFontMetrics(font).ascent()), q);
            painter.end();
            const QImage engine = FrameImageOf(bitmap.Pixels());
            int differing = 0;
            for (int y = 0; y < desktop.height(); ++y) {
                for (int x = 0; x < desktop.width(); ++x) {
                    differing += engine.pixel(x, y) != desktop.pixel(x, y) ? 1 : 0;
                }
            }
            EXPECT_EQ(differing, 0) << text << " at " << x64 << "/64";
        }
    }
}

}  // namespace
