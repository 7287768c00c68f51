#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

// The picture as the bytes of a PNG file, or nothing when it cannot be encoded. The runner
// and the window write these bytes through their all-or-nothing outputs.
std::optional<QByteArray> EncodePng(const QImage& image);

// What an output reports when the picture cannot be encoded.
inline constexpr char PNG_ENCODE_FAILED[] = "cannot encode the picture as PNG";
