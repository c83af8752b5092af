#include "pictures/indexed_bmp.h"

#include <gtest/gtest.h>

#include <random>

#include "pictures/bmp_bytes.h"
#include "pictures/bmp_reader.h"

namespace vlt {
namespace {

using testing::get16;
using testing::get32;

// The cliff's size; the layout is the same for bigf, only larger.
TEST(IndexedBmp, HeadersTableAndIndicesReadBackUnchanged) {
    std::mt19937 random(3);
    Palette palette{};
    for (Color& c : palette) {
        c = random() | 0xFF000000u;  // top bytes are not written
    }
    std::vector<std::uint8_t> indices(cliff_width * cliff_height);
    for (auto& i : indices) {
        i = static_cast<std::uint8_t>(random());
    }

    const auto file = encode_indexed_bmp(indices, cliff_width, cliff_height, palette);

    ASSERT_EQ(file.size(), 1078u + 128 * 64);
    EXPECT_EQ(get32(file, 10), 1078u);         // bfOffBits
    EXPECT_EQ(get32(file, 14), 40u);           // biSize
    EXPECT_EQ(get32(file, 22), 64u);           // biHeight, positive: bottom-up
    EXPECT_EQ(get16(file, 28), 8u);            // biBitCount
    EXPECT_EQ(get32(file, 46), 256u);          // biClrUsed
    EXPECT_EQ(file[1078], indices[63 * 128]);  // the bottom row first

    const Bitmap picture = read_bmp(file);
    ASSERT_EQ(picture.color_table().size(), 256u);
    for (std::size_t i = 0; i < 256; ++i) {
        const RgbQuad q = picture.color_table()[i];
        ASSERT_EQ(q, (RgbQuad{blue_of(palette[i]), green_of(palette[i]), red_of(palette[i]), 0}));
    }
    for (int y = 0; y < cliff_height; ++y) {
        ASSERT_TRUE(std::equal(picture.row(y), picture.row(y) + 128, indices.begin() + y * 128));
    }
}

}  // namespace
}  // namespace vlt
