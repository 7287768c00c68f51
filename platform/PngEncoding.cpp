#include "PngEncoding.h"

#include <QBuffer>

std::optional<QByteArray> EncodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        return std::nullopt;
    }
    return bytes;
}
