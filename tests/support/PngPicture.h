#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "PixelBuffer.h"

// A PNG file read back through libpng for checks, as opaque 0xAARRGGBB words; empty when
// libpng refuses the file.
struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool IsNull() const { return pixels.empty(); }
    Extent Size() const { return {width, height}; }
    std::uint32_t Pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
};

inline PngPicture DecodePicture(png_image& image, const void* bytes, std::size_t size,
                                const char* path) {
    image.version = PNG_IMAGE_VERSION;
    const bool begun = path != nullptr ? png_image_begin_read_from_file(&image, path) != 0
                                       : png_image_begin_read_from_memory(&image, bytes, size) != 0;
    if (!begun) {
        return {};
    }
    image.format = PNG_FORMAT_BGRA;  // little-endian words 0xAARRGGBB
    PngPicture picture;
    picture.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr)) {
        return {};
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

inline PngPicture ReadPng(const std::string& path) {
    png_image image{};
    return DecodePicture(image, nullptr, 0, path.c_str());
}

inline PngPicture DecodePng(const std::vector<unsigned char>& bytes) {
    png_image image{};
    return DecodePicture(image, bytes.data(), bytes.size(), nullptr);
}
