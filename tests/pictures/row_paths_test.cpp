// The drawing paths that work a row at a time against the pixel-by-pixel loops they replaced,
// on seeded random pictures of every format.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "pictures/drawing.h"
#include "support/random_pictures.h"

namespace vlt {
namespace {

using testing::all_picture_formats;
using testing::PictureFormat;
using testing::random_colors;
using testing::random_picture;

// The texture redraw as it was first written: one set_pixel per texel.
void redraw_pixel_by_pixel(std::span<const std::uint8_t> indices, int width, int height,
                           const Palette& palette, View& view) {
    Bitmap& picture = view.pixels_for_change();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.set_pixel(x, y, palette[indices[static_cast<std::size_t>(y * width + x)]]);
        }
    }
}

Workspace random_workspace(std::mt19937& random) {
    Workspace workspace;
    for (Color& c : workspace.pal_colors) {
        c = static_cast<Color>(random());
    }
    workspace.pal_colors[7] = CLR_INVALID;
    for (auto& index : workspace.bigf_data) {
        index = static_cast<std::uint8_t>(random());
    }
    for (auto& index : workspace.cliff_data) {
        index = static_cast<std::uint8_t>(random());
    }
    return workspace;
}

// The cliff view in every format and in sizes smaller and larger than the texture; the bigf
// view in the display format it makes for itself.
TEST(TextureRedraw, RowAtATimeEqualsPixelByPixel) {
    std::mt19937 random(64);
    const auto workspace = std::make_unique<Workspace>(random_workspace(random));
    const auto pool = random_colors(300, random);
    for (const PictureFormat& format : all_picture_formats()) {
        for (const auto& [width, height] : {std::pair{128, 64}, {100, 30}, {140, 70}}) {
            View fast("cliff", cliff_width, cliff_height);
            fast.take_picture(random_picture(format, width, height, pool, random));
            View simple("cliff", cliff_width, cliff_height);
            simple.take_picture(*fast.bitmap());
            cliff_redraw(*workspace, fast);
            redraw_pixel_by_pixel(workspace->cliff_data, cliff_width, cliff_height,
                                  workspace->pal_colors, simple);
            ASSERT_TRUE(std::ranges::equal(fast.bitmap()->pixels(), simple.bitmap()->pixels()))
                << format.name << " " << width << " x " << height;
        }
    }
    View fast("bigf", bigf_width, bigf_height);
    View simple("bigf", bigf_width, bigf_height);
    bigf_redraw(*workspace, fast);
    redraw_pixel_by_pixel(workspace->bigf_data, bigf_width, bigf_height, workspace->pal_colors,
                          simple);
    EXPECT_TRUE(std::ranges::equal(fast.bitmap()->pixels(), simple.bitmap()->pixels()));
}

// The stretch as first written: one get_pixel and one set_pixel per target pixel.
void stretch_pixel_by_pixel(const Bitmap& source, View& view) {
    Bitmap& target = view.pixels_for_change();
    const std::int64_t sw = source.width(), sh = source.height();
    for (int ty = 0; ty < view.height(); ++ty) {
        for (int tx = 0; tx < view.width(); ++tx) {
            target.set_pixel(tx, ty,
                             source.get_pixel(static_cast<int>(tx * sw / view.width()),
                                              static_cast<int>(ty * sh / view.height())));
        }
    }
}

TEST(StretchDraw, RowAtATimeEqualsPixelByPixel) {
    std::mt19937 random(128);
    const auto pool = random_colors(100, random);
    for (const PictureFormat& format : all_picture_formats()) {
        for (const auto& [width, height] : {std::pair{16, 16}, {1, 1}, {300, 5}, {7, 200}}) {
            const Bitmap source = random_picture(format, width, height, pool, random);
            View fast("pal_preview", 128, 128);
            View simple("pal_preview", 128, 128);
            fast.stretch_draw(source);
            stretch_pixel_by_pixel(source, simple);
            ASSERT_TRUE(std::ranges::equal(fast.bitmap()->pixels(), simple.bitmap()->pixels()))
                << format.name << " " << width << " x " << height;
        }
    }
}

}  // namespace
}  // namespace vlt
