#include "conversions/palette_from_picture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "conversions/picture_helpers.h"

namespace vlt {
namespace {

Color pattern(int x, int y) {
    return make_color(static_cast<std::uint8_t>(x * 7 + 1), static_cast<std::uint8_t>(y * 11),
                      static_cast<std::uint8_t>(x + y));
}

struct SizeCase {
    int width;
    int height;
};

class PaletteFromPictureSizes : public ::testing::TestWithParam<SizeCase> {};

// Entries come row by row from the top-left 16 x 16 pixels; missing pixels give CLR_INVALID.
TEST_P(PaletteFromPictureSizes, TakesTopLeftPixelsRowByRow) {
    const auto [width, height] = GetParam();
    auto workspace = std::make_unique<Workspace>();
    workspace->pal_colors.fill(0x12345678);
    View pal("pal", 16, 16);
    testing::put_picture(pal, width, height, pattern);

    palette_from_picture(*workspace, pal.pixels_for_change());

    for (int i = 0; i < palette_size; ++i) {
        const int x = i % 16, y = i / 16;
        const Color expected = x < width && y < height ? pattern(x, y) : CLR_INVALID;
        ASSERT_EQ(workspace->pal_colors[static_cast<std::size_t>(i)], expected) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PaletteFromPictureSizes,
                         ::testing::Values(SizeCase{16, 16}, SizeCase{8, 4}, SizeCase{40, 20},
                                           SizeCase{16, 1}, SizeCase{0, 0}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" +
                                    std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace vlt
