#include "conversions/bigf_from_picture.h"

#include <gtest/gtest.h>

#include <memory>

#include "conversions/picture_helpers.h"

namespace vlt {
namespace {

class BigfFromPicture : public ::testing::Test {
protected:
    std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
    View bigf{"bigf", bigf_width, bigf_height};

    std::uint8_t index_at(int x, int y) const {
        return workspace->bigf_data[static_cast<std::size_t>(y * bigf_width + x)];
    }
    Color entry(int i) const { return workspace->pal_colors[static_cast<std::size_t>(i)]; }
    void set_entry(int i, Color c) { workspace->pal_colors[static_cast<std::size_t>(i)] = c; }
};

TEST_F(BigfFromPicture, SolidColourTakesEntryOneAndResetsTheBlock) {
    constexpr Color green = 0x0000C000;
    for (int i = 0; i < palette_size; ++i) {
        set_entry(i, 0x00010101u * static_cast<Color>(i));  // stale block, kept upper entries
    }
    const Palette before = workspace->pal_colors;
    testing::put_picture(bigf, bigf_width, bigf_height, [](int, int) { return green; });

    bigf_from_picture(*workspace, bigf.pixels_for_change());

    EXPECT_EQ(entry(0), 0u);
    EXPECT_EQ(entry(1), green);
    for (int i = 2; i < bigf_rebuilt_entries; ++i) {
        ASSERT_EQ(entry(i), 0u) << "entry " << i;
    }
    for (int i = bigf_rebuilt_entries; i < palette_size; ++i) {
        ASSERT_EQ(entry(i), before[static_cast<std::size_t>(i)]) << "entry " << i;
    }
    for (const std::uint8_t index : workspace->bigf_data) {
        ASSERT_EQ(index, 1);
    }
}

// Colour k (1 to 200) of a picture cycling through 200 colours in scan order.
Color cycle_color(int k) {
    return make_color(static_cast<std::uint8_t>(k), 7, 9);
}
int cycle_k(int x, int y) {
    return (y * bigf_width + x) % 200 + 1;
}

TEST_F(BigfFromPicture, SurplusColoursGetIndexZeroAndArePaintedBlack) {
    testing::put_picture(bigf, bigf_width, bigf_height,
                         [](int x, int y) { return cycle_color(cycle_k(x, y)); });

    bigf_from_picture(*workspace, bigf.pixels_for_change());

    for (int k = 1; k <= 111; ++k) {
        ASSERT_EQ(entry(k), cycle_color(k)) << "entry " << k;
    }
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            const int k = cycle_k(x, y);
            const bool has_room = k <= 111;
            ASSERT_EQ(index_at(x, y), has_room ? k : 0) << x << "," << y;
            ASSERT_EQ(bigf.get_pixel(x, y), has_room ? cycle_color(k) : 0u) << x << "," << y;
        }
    }
}

TEST_F(BigfFromPicture, PixelsOutsideASmallPictureShareOneInvalidEntry) {
    constexpr Color blue = 0x00FF0000;
    testing::put_picture(bigf, 100, 100, [](int x, int) { return x < 50 ? blue : Color{0}; });

    bigf_from_picture(*workspace, bigf.pixels_for_change());

    EXPECT_EQ(entry(1), blue);
    EXPECT_EQ(entry(2), CLR_INVALID);
    EXPECT_EQ(entry(3), 0u);
    EXPECT_EQ(index_at(10, 10), 1);
    EXPECT_EQ(index_at(60, 10), 0);  // black needs no entry of its own
    EXPECT_EQ(index_at(100, 0), 2);
    EXPECT_EQ(index_at(0, 100), 2);
    EXPECT_EQ(index_at(255, 1151), 2);
}

TEST_F(BigfFromPicture, KeptEntriesMatchAndStayAsTheyWere) {
    constexpr Color kept = 0x00123456;
    constexpr Color other = 0x00654321;
    set_entry(200, kept);
    set_entry(5, other);  // inside the reset block: must not be matched
    testing::put_picture(bigf, bigf_width, bigf_height,
                         [](int x, int y) { return x == 3 && y == 0 ? other : kept; });

    bigf_from_picture(*workspace, bigf.pixels_for_change());

    EXPECT_EQ(entry(200), kept);
    EXPECT_EQ(entry(1), other);
    EXPECT_EQ(entry(5), 0u);
    EXPECT_EQ(index_at(0, 0), 200);
    EXPECT_EQ(index_at(3, 0), 1);
    EXPECT_EQ(index_at(255, 1151), 200);
}

}  // namespace
}  // namespace vlt

namespace vlt {
namespace {

// A 32-bit picture's fourth byte (often alpha) stays where surplus pixels are painted, black
// or nearest, so other programs do not read them as transparent.
TEST_F(BigfFromPicture, PaintedPixelsKeepTheFourthByte) {
    for (const SurplusColours surplus : {SurplusColours::black, SurplusColours::nearest}) {
        testing::put_picture(bigf, bigf_width, bigf_height,
                             [](int x, int y) { return cycle_color(cycle_k(x, y)); });
        Bitmap& picture = bigf.pixels_for_change();
        for (std::size_t i = 3; i < picture.pixels().size(); i += 4) {
            picture.pixels()[i] = 0xFF;
        }
        bigf_from_picture(*workspace, bigf.pixels_for_change(), surplus);
        for (std::size_t i = 3; i < picture.pixels().size(); i += 4) {
            ASSERT_EQ(picture.pixels()[i], 0xFF) << i;
        }
        EXPECT_EQ(bigf.get_pixel(150, 0),
                  surplus == SurplusColours::black
                      ? 0u
                      : entry(testing::nearest_by_walk(workspace->pal_colors, cycle_color(151))));
    }
}

}  // namespace
}  // namespace vlt
