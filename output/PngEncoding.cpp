#include "PngEncoding.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        bytes->insert(bytes->end(), data, data + length);
    } catch (...) {
        grown = false;
    }
    if (!grown) {
        png_error(png, "out of memory");
    }
}

void NoFlush(png_structp) {}

// libpng reports errors by a long jump; the encoder stays free of objects with destructors
// between setjmp and the jump, so nothing is skipped.
bool Encode(const std::uint32_t* pixels, int width, int height, int stride,
            std::vector<unsigned char>& bytes, std::vector<unsigned char>& row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &bytes, AppendBytes, NoFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<unsigned char>(line[x] >> 16);
            row[3 * x + 1] = static_cast<unsigned char>(line[x] >> 8);
            row[3 * x + 2] = static_cast<unsigned char>(line[x]);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::optional<std::vector<unsigned char>> EncodePng(const std::uint32_t* pixels, int width,
                                                    int height, int stride) {
    if (pixels == nullptr || width < 1 || height < 1 || stride < width) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes;
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    if (!Encode(pixels, width, height, stride, bytes, row)) {
        return std::nullopt;
    }
    return bytes;
}
