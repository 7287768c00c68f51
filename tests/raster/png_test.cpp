#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "PngEncoding.h"
#include "PngPicture.h"

namespace {

// Rows four words apart of which three are pixels: the padding word must not show.
TEST(PngEncoding, KeepsEveryPixelOfAStridedPicture) {
    const std::vector<std::uint32_t> words = {
        0xFF000000, 0xFFFFFFFF, 0xFF123456, 0xDEADBEEF,  //
        0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xDEADBEEF,
    };
    const auto bytes = EncodePng(words.data(), 3, 2, 4);
    ASSERT_TRUE(bytes.has_value());
    const PngPicture decoded = DecodePng(*bytes);
    ASSERT_EQ(decoded.Size(), (Extent{3, 2}));
    const std::vector<std::uint32_t> expected = {0xFF000000, 0xFFFFFFFF, 0xFF123456,
                                                 0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    EXPECT_EQ(decoded.pixels, expected);
}

TEST(PngEncoding, TheSamePictureGivesTheSameBytes) {
    const std::vector<std::uint32_t> words(50 * 40, 0xFF5FB4AF);
    EXPECT_EQ(EncodePng(words.data(), 50, 40, 50), EncodePng(words.data(), 50, 40, 50));
}

TEST(PngEncoding, RefusesPicturesItCannotHold) {
    const std::uint32_t word = 0xFF000000;
    EXPECT_FALSE(EncodePng(nullptr, 1, 1, 1).has_value());
    EXPECT_FALSE(EncodePng(&word, 0, 1, 1).has_value());
    EXPECT_FALSE(EncodePng(&word, 1, 0, 1).has_value());
    EXPECT_FALSE(EncodePng(&word, 2, 1, 1).has_value());  // rows overlap
}

}  // namespace
