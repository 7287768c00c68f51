#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The picture as the bytes of a PNG file (8-bit RGB, the alpha byte of each pixel left out),
// or nothing when it cannot be encoded. `pixels` holds `height` rows of `width` 0xAARRGGBB
// words, `stride` words apart. The runner and the window write these bytes through their
// all-or-nothing outputs.
std::optional<std::vector<unsigned char>> EncodePng(const std::uint32_t* pixels, int width,
                                                    int height, int stride);

// What an output reports when the picture cannot be encoded.
inline constexpr char PNG_ENCODE_FAILED[] = "cannot encode the picture as PNG";
