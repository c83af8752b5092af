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
    EXPECT_EQ(get32(file, 2), file.size());
    EXPECT_EQ(get32(file, 10), 1078u);
    EXPECT_EQ(get32(file, 14), 40u);
    EXPECT_EQ(get32(file, 22), 64u);  // positive: bottom-up
    EXPECT_EQ(get16(file, 28), 8u);
    EXPECT_EQ(get32(file, 30), 0u);
    EXPECT_EQ(get32(file, 34), 128u * 64);
    EXPECT_EQ(get32(file, 46), 256u);
    EXPECT_EQ(get32(file, 50), 0u);
    EXPECT_EQ(file[54 + 4 * 7 + 3], 0);
    EXPECT_EQ(file[1078], indices[63 * 128]);  // the bottom row comes first

    const Bitmap picture = read_bmp(file);
    ASSERT_EQ(picture.bits_per_pixel(), 8);
    ASSERT_EQ(picture.color_table().size(), 256u);
    for (int i = 0; i < 256; ++i) {
        const RgbQuad q = picture.color_table()[static_cast<std::size_t>(i)];
        ASSERT_EQ(make_color(q.red, q.green, q.blue),
                  palette[static_cast<std::size_t>(i)] & 0xFFFFFFu);
    }
    for (int y = 0; y < cliff_height; ++y) {
        for (int x = 0; x < cliff_width; ++x) {
            ASSERT_EQ(picture.row(y)[x], indices[static_cast<std::size_t>(y * 128 + x)]);
        }
    }
}

}  // namespace
}  // namespace vlt
