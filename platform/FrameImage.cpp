#include "FrameImage.h"

QImage FrameImageOf(const PixelBuffer& pixels) {
    if (pixels.IsNull()) {
        return QImage();
    }
    return QImage(reinterpret_cast<const uchar*>(pixels.Bits()), pixels.Width(), pixels.Height(),
                  static_cast<qsizetype>(pixels.Stride()) * static_cast<qsizetype>(sizeof(Rgb)),
                  QImage::Format_RGB32);
}
