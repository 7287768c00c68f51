#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "FrameImage.h"

namespace {

// The window shows the frame through an image that shares its pixels: what the image
// shows is what the engine drew, now and after later drawing, without a copy.
TEST(FrameImage, SharesThePixelsOfTheBuffer) {
    PixelBuffer pixels;
    ASSERT_TRUE(pixels.Allocate(7, 3));
    pixels.Row(2)[6] = RGB(95, 180, 175);
    const QImage image = FrameImageOf(pixels);
    ASSERT_EQ(image.size(), QSize(7, 3));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(pixels.Bits()));
    EXPECT_EQ(image.pixel(6, 2), qRgb(95, 180, 175));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
    pixels.Row(1)[3] = RGB(255, 255, 0);
    EXPECT_EQ(image.pixel(3, 1), qRgb(255, 255, 0));
}

TEST(FrameImage, PaintsAtTheOriginPixelForPixel) {
    PixelBuffer pixels;
    ASSERT_TRUE(pixels.Allocate(5, 4));
    pixels.Fill(RGB(12, 34, 56));
    QImage screen(8, 6, QImage::Format_RGB32);
    screen.fill(qRgb(255, 255, 255));
    {
        QPainter painter(&screen);
        painter.drawImage(QPoint(0, 0), FrameImageOf(pixels));
    }
    EXPECT_EQ(screen.copy(0, 0, 5, 4), FrameImageOf(pixels));
    EXPECT_EQ(screen.pixel(5, 0), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(0, 4), qRgb(255, 255, 255));
}

TEST(FrameImage, AnEmptyBufferIsANullImage) {
    EXPECT_TRUE(FrameImageOf(PixelBuffer()).isNull());
}

}  // namespace
