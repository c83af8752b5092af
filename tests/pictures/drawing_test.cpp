#include "pictures/drawing.h"

#include <gtest/gtest.h>

namespace vlt {
namespace {

class Drawing : public ::testing::Test {
protected:
    Drawing() {
        for (View* view : {&pal, &preview, &cliff, &bigf}) {
            view->set_refresh_hook([this](View& v) { refreshed.push_back(v.name()); });
        }
        for (int i = 0; i < 256; ++i) {
            ws.pal_colors[i] = make_color(static_cast<std::uint8_t>(i), 0, 255);
        }
    }
    Workspace ws;
    View pal{"pal", 16, 16}, preview{"pal_preview", 128, 128};
    View cliff{"cliff", cliff_width, cliff_height}, bigf{"bigf", bigf_width, bigf_height};
    std::vector<std::string> refreshed;
};

TEST_F(Drawing, PaletteGoesToGridOrderAndNothingOutside) {
    palette_redraw(ws, pal);
    EXPECT_EQ(pal.get_pixel(3, 2), ws.pal_colors[2 * 16 + 3]);
    EXPECT_EQ(pal.get_pixel(15, 15), ws.pal_colors[255]);
    EXPECT_EQ(pal.get_pixel(16, 0), CLR_INVALID);
    EXPECT_EQ(refreshed, std::vector<std::string>{"pal"});
}

TEST_F(Drawing, PreviewShowsThePalPictureNotThePalette) {
    palette_redraw(ws, pal);
    ws.pal_colors.fill(0);  // the preview reads the view, not the buffer
    preview_redraw(pal, preview);
    EXPECT_EQ(preview.get_pixel(8 * 5 + 7, 8 * 1), make_color(16 + 5, 0, 255));
    EXPECT_EQ(refreshed, (std::vector<std::string>{"pal", "pal_preview"}));
}

TEST_F(Drawing, PreviewOfViewWithoutPictureKeepsItWhite) {
    preview_redraw(pal, preview);
    EXPECT_TRUE(pal.bitmap()->empty());
    EXPECT_EQ(preview.get_pixel(64, 64), 0x00FFFFFFu);
}

TEST_F(Drawing, TexturesAreDrawnThroughThePalette) {
    bigf_redraw(ws, bigf);  // all indices 0
    EXPECT_EQ(bigf.get_pixel(255, 1151), ws.pal_colors[0]);
    ws.bigf_data[1151 * 256 + 255] = 200;
    ws.cliff_data[63 * 128 + 127] = 77;
    bigf_redraw(ws, bigf);
    cliff_redraw(ws, cliff);
    EXPECT_EQ(bigf.get_pixel(255, 1151), ws.pal_colors[200]);
    EXPECT_EQ(cliff.get_pixel(127, 63), ws.pal_colors[77]);
    EXPECT_EQ(cliff.get_pixel(0, 0), ws.pal_colors[0]);
    EXPECT_EQ(refreshed, (std::vector<std::string>{"bigf", "bigf", "cliff"}));
}

TEST_F(Drawing, SmallerPictureChangesOnlyItsOwnArea) {
    cliff.take_picture(Bitmap::make_display(64, 32, 0x00123456));
    ws.cliff_data.fill(9);
    cliff_redraw(ws, cliff);
    const Bitmap& picture = *cliff.bitmap();
    EXPECT_EQ(picture.width(), 64);
    EXPECT_EQ(picture.get_pixel(63, 31), ws.pal_colors[9]);
    EXPECT_EQ(cliff.get_pixel(64, 0), CLR_INVALID);
}

TEST_F(Drawing, IndexedPictureShowsNearestTableColour) {
    Bitmap picture(16, 16, 8);
    picture.set_color_table({{0, 0, 0, 0}, {255, 0, 0, 0}, {0, 0, 255, 0}});
    pal.take_picture(std::move(picture));
    ws.pal_colors[0] = make_color(200, 10, 10);
    palette_redraw(ws, pal);
    EXPECT_EQ(pal.get_pixel(0, 0), make_color(255, 0, 0));
    EXPECT_EQ(pal.bitmap()->bits_per_pixel(), 8);
}

TEST_F(Drawing, InvalidEntryIsDrawnAsItsLowBits) {
    ws.pal_colors[0] = CLR_INVALID;
    palette_redraw(ws, pal);
    EXPECT_EQ(pal.get_pixel(0, 0), 0x00FFFFFFu);
}

}  // namespace
}  // namespace vlt
