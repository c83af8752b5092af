#include "pictures/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

std::vector<RgbQuad> grey_table(int count) {
    std::vector<RgbQuad> table;
    for (int i = 0; i < count; ++i) {
        const auto v = static_cast<std::uint8_t>(i * 255 / std::max(count - 1, 1));
        table.push_back({v, v, v, 0});
    }
    return table;
}

TEST(DisplayFormat, MadeWhiteAndStoresEveryColourExactly) {
    Bitmap picture = Bitmap::make_display(5, 3, 0x00FFFFFF);
    EXPECT_EQ(picture.bits_per_pixel(), 32);
    EXPECT_EQ(picture.row_order(), RowOrder::bottom_up);
    EXPECT_EQ(picture.get_pixel(4, 2), 0x00FFFFFFu);
    std::mt19937 random(11);
    for (int i = 0; i < 200; ++i) {
        const Color c = random() & 0xFFFFFF;
        picture.set_pixel(1, 1, c);
        ASSERT_EQ(picture.get_pixel(1, 1), c);
    }
}

TEST(DisplayFormat, TopByteIsDroppedAndFourthByteIsZero) {
    Bitmap picture = Bitmap::make_display(2, 2, 0);
    picture.set_pixel(0, 0, CLR_INVALID);
    picture.set_pixel(1, 0, 0xAB102030);
    EXPECT_EQ(picture.get_pixel(0, 0), 0x00FFFFFFu);
    EXPECT_EQ(picture.get_pixel(1, 0), 0x00102030u);
    // Row 0 is stored last in a bottom-up picture.
    const auto px = picture.pixels();
    EXPECT_EQ((std::vector<std::uint8_t>(px.begin() + 8, px.end())),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0, 0x10, 0x20, 0x30, 0}));
}

TEST(Bounds, OutsideReadsInvalidAndWritesAreDropped) {
    Bitmap picture = Bitmap::make_display(4, 4, 0x00112233);
    const std::vector<std::uint8_t> before(picture.pixels().begin(), picture.pixels().end());
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {100, 100}}) {
        EXPECT_EQ(picture.get_pixel(x, y), CLR_INVALID);
        picture.set_pixel(x, y, 0);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), picture.pixels().begin()));
}

TEST(Bounds, EmptyPictureHasNoPixelAtAll) {
    Bitmap empty;
    EXPECT_TRUE(empty.empty());
    empty.set_pixel(0, 0, 0);
    EXPECT_EQ(empty.get_pixel(0, 0), CLR_INVALID);
    EXPECT_TRUE(empty.pixels().empty());
}

TEST(RowOrder, TopDownStoresRowZeroFirst) {
    Bitmap picture(1, 2, 24, RowOrder::top_down);
    picture.set_pixel(0, 0, 0x00010203);
    EXPECT_EQ(picture.pixels()[0], 0x01);  // blue comes first
    EXPECT_EQ(picture.row_stride(), 4u);
}

TEST(IndexedFormats, SetStoresNearestTableEntryAndTableNeverChanges) {
    Bitmap picture(4, 1, 8);
    const std::vector<RgbQuad> table = {
        {0, 0, 0, 0}, {0, 0, 200, 0}, {0, 0, 250, 0}, {0, 255, 0, 0}};
    picture.set_color_table(table);
    picture.set_pixel(0, 0, 0x000000FF);  // pure red: nearest is red 250
    EXPECT_EQ(picture.pixels()[0], 2);
    EXPECT_EQ(picture.get_pixel(0, 0), 0x000000FAu);
    EXPECT_EQ(picture.color_table(), table);
}

TEST(IndexedFormats, TiesGoToTheLowestIndex) {
    Bitmap picture(1, 1, 8);
    picture.set_color_table({{0, 0, 10, 0}, {0, 0, 30, 0}});
    picture.set_pixel(0, 0, make_color(20, 0, 0));
    EXPECT_EQ(picture.pixels()[0], 0);
}

TEST(IndexedFormats, OnlyIndicesAPixelCanHoldAreChosen) {
    Bitmap picture(1, 1, 1);
    auto table = grey_table(2);
    table.push_back({0, 0, 255, 0});  // exact red, but a 1-bit pixel cannot index entry 2
    picture.set_color_table(table);
    picture.set_pixel(0, 0, 0x000000FF);
    EXPECT_EQ(picture.pixels()[0] >> 7, 0);
}

TEST(IndexedFormats, IndexBeyondTheTableReadsBlack) {
    Bitmap picture(1, 1, 8);
    picture.set_color_table(grey_table(16));
    picture.pixels()[0] = 200;
    EXPECT_EQ(picture.get_pixel(0, 0), 0u);
}

TEST(IndexedFormats, SubBytePixelsPackMostSignificantFirst) {
    Bitmap one(9, 1, 1);
    one.set_color_table(grey_table(2));
    one.set_pixel(0, 0, 0x00FFFFFF);
    one.set_pixel(8, 0, 0x00FFFFFF);
    EXPECT_EQ(one.pixels()[0], 0x80);
    EXPECT_EQ(one.pixels()[1], 0x80);
    EXPECT_EQ(one.get_pixel(8, 0), 0x00FFFFFFu);
    EXPECT_EQ(one.get_pixel(7, 0), 0u);

    Bitmap four(3, 1, 4);
    four.set_color_table(grey_table(16));
    four.set_pixel(1, 0, 0x00FFFFFF);
    four.set_pixel(2, 0, 0x00111111);
    EXPECT_EQ(four.pixels()[0], 0x0F);
    EXPECT_EQ(four.pixels()[1], 0x10);
}

struct MaskCase {
    const char* name;
    int bits;
    bool bitfields;
    BitMasks masks;
    Color written;
    std::uint32_t stored;  // little-endian pixel value
    Color read_back;
};

class MaskedFormats : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskedFormats, ChannelsAreReducedAndWidened) {
    const MaskCase& c = GetParam();
    Bitmap picture(1, 1, c.bits);
    if (c.bitfields) {
        picture.set_bitfields(c.masks);
    }
    picture.set_pixel(0, 0, c.written);
    std::uint32_t stored = 0;
    for (int i = 0; i < c.bits / 8; ++i) {
        stored |= static_cast<std::uint32_t>(picture.pixels()[i]) << (8 * i);
    }
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(picture.get_pixel(0, 0), c.read_back);
}

INSTANTIATE_TEST_SUITE_P(
    AllMaskKinds, MaskedFormats,
    ::testing::Values(
        // 5-5-5: 0x80 -> (128*31+127)/255 = 16 -> (16*255+15)/31 = 132
        MaskCase{"rgb555", 16, false, {}, 0x0080FF00, 0x03F0, 0x0084FF00},
        MaskCase{"rgb555_white", 16, false, {}, 0x00FFFFFF, 0x7FFF, 0x00FFFFFF},
        MaskCase{"rgb555_mid", 16, false, {}, 0x00808080, 0x4210, 0x00848484},
        MaskCase{"rgb565", 16, true, {0xF800, 0x07E0, 0x001F}, 0x00808080, 0x8410, 0x00848284},
        MaskCase{"rgb32_bytes", 32, false, {}, 0x00ABCDEF, 0x00EFCDAB, 0x00ABCDEF},
        MaskCase{"xbgr", 32, true, {0xFF, 0xFF00, 0xFF0000}, 0x00ABCDEF, 0x00ABCDEF, 0x00ABCDEF},
        MaskCase{
            "ten_bits", 32, true, {0x3FF00000, 0xFFC00, 0x3FF}, 0x00FF0080, 0x202003FF, 0x00FF0080},
        MaskCase{"zero_mask", 16, true, {0, 0x07E0, 0x001F}, 0x00FFFFFF, 0x07FF, 0x00FFFF00}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace vlt

namespace vlt {
namespace {

// Painting a colour changes only the bits that carry one: alpha, spare bits and the display
// format's fourth byte keep what a file put there.
TEST(PixelWrites, BitsNoColourCoversAreKept) {
    const struct {
        const char* name;
        int bits;
        std::optional<BitMasks> masks;
        std::uint32_t kept;
    } cases[] = {
        {"32-bit fourth byte", 32, std::nullopt, 0xFF000000},
        {"alpha on top", 32, BitMasks{0xFF0000, 0xFF00, 0xFF}, 0xFF000000},
        {"alpha in byte 0", 32, BitMasks{0xFF000000, 0xFF0000, 0xFF00}, 0xFF},
        {"10-10-10", 32, BitMasks{0x3FF00000, 0xFFC00, 0x3FF}, 0xC0000000},
        {"5-5-5", 16, std::nullopt, 0x8000},
        {"5-5-5-1", 16, BitMasks{0x7C00, 0x03E0, 0x001F}, 0x8000},
        {"4-4-4-4", 16, BitMasks{0x0F00, 0x00F0, 0x000F}, 0xF000},
        {"5-6-5", 16, BitMasks{0xF800, 0x07E0, 0x001F}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bitmap picture(2, 1, c.bits);
        if (c.masks) {
            picture.set_bitfields(*c.masks);
        }
        std::ranges::fill(picture.pixels(), std::uint8_t{0xFF});
        picture.set_pixel(0, 0, 0);
        const Color colors[] = {0x00123456, 0};
        write_pixel_row(picture, 0, colors);
        const auto raw = [&](int x) {
            std::uint32_t value = 0;
            const auto bytes = picture.pixels().subspan(static_cast<std::size_t>(x * c.bits / 8),
                                                        static_cast<std::size_t>(c.bits / 8));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
            }
            return value;
        };
        EXPECT_EQ(raw(1), c.kept);
        EXPECT_EQ(picture.get_pixel(1, 0), 0u);
        EXPECT_EQ(raw(0) & c.kept, c.kept);
    }
}

}  // namespace
}  // namespace vlt
