// Views are drawn when their pixels are first read, yet every reader must see what drawing at
// once would have given.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "pictures/drawing.h"

namespace vlt {
namespace {

class DeferredDrawing : public ::testing::Test {
protected:
    DeferredDrawing() {
        for (int i = 0; i < palette_size; ++i) {
            ws.pal_colors[static_cast<std::size_t>(i)] =
                make_color(static_cast<std::uint8_t>(i), 0x80, static_cast<std::uint8_t>(255 - i));
        }
        ws.bigf_data[5] = 7;
        ws.cliff_data[9] = 3;
    }
    Workspace ws;
    View pal{"pal", 16, 16}, preview{"pal_preview", 128, 128};
    View cliff{"cliff", cliff_width, cliff_height}, bigf{"bigf", bigf_width, bigf_height};
};

// The data and palette change after the draw was asked for; the view shows them as they were.
TEST_F(DeferredDrawing, ShowsTheDataAsItStoodWhenTheDrawWasAsked) {
    const Workspace before = ws;
    palette_redraw(ws, pal);
    preview_redraw(pal, preview);
    bigf_redraw(ws, bigf);
    cliff_redraw(ws, cliff);
    EXPECT_TRUE(bigf.draw_owed());
    ws.pal_colors.fill(0x00010203);
    ws.bigf_data.fill(1);
    ws.cliff_data.fill(1);
    palette_redraw(ws, pal);  // the preview keeps the palette it was drawn from

    EXPECT_EQ(bigf.get_pixel(5, 0), before.pal_colors[7]);
    EXPECT_EQ(bigf.get_pixel(6, 0), before.pal_colors[0]);
    EXPECT_EQ(cliff.get_pixel(9, 0), before.pal_colors[3]);
    EXPECT_EQ(preview.bitmap()->get_pixel(8 * 3, 8 * 2), before.pal_colors[2 * 16 + 3]);
    EXPECT_EQ(pal.bitmap()->get_pixel(3, 2), 0x00010203u);
    EXPECT_FALSE(bigf.draw_owed());
}

// Draws of different kinds on one view happen in the order they were asked for; a draw of the
// same kind replaces the one owed.
TEST_F(DeferredDrawing, KeepsTheOrderOfDifferentDraws) {
    struct Case {
        bool palette_first;
        Color top_left;  // pixel (1, 0) afterwards
    };
    for (const Case c : {Case{true, ws.pal_colors[0]}, Case{false, ws.pal_colors[1]}}) {
        View view{"bigf", bigf_width, bigf_height};
        if (c.palette_first) {
            palette_redraw(ws, view);
            bigf_redraw(ws, view);
        } else {
            bigf_redraw(ws, view);
            palette_redraw(ws, view);
        }
        EXPECT_EQ(view.get_pixel(1, 0), c.top_left) << c.palette_first;
        EXPECT_EQ(view.get_pixel(20, 0), ws.pal_colors[0]) << c.palette_first;
    }
}

TEST_F(DeferredDrawing, ANewPictureCancelsTheDrawOwed) {
    bigf_redraw(ws, bigf);
    bigf.take_picture(Bitmap::make_display(4, 4, 0x00ABCDEF));
    EXPECT_FALSE(bigf.draw_owed());
    EXPECT_EQ(bigf.bitmap()->width(), 4);
    EXPECT_EQ(bigf.get_pixel(0, 0), 0x00ABCDEFu);
}

// What pixel access checks and marks is checked and marked when the draw is asked for.
TEST_F(DeferredDrawing, ChecksAndMarksAtOnce) {
    Bitmap loaded = Bitmap::make_display(300, 1200, 0);
    loaded.attributes.file_color_count = 12;
    bigf.take_picture(std::move(loaded));
    bigf_redraw(ws, bigf);
    EXPECT_EQ(bigf.picture_kind(), PictureKind::bitmap);
    EXPECT_EQ(bigf.bitmap()->attributes.file_color_count, 0u);
    // A loaded picture larger than the texture keeps its size; only the texture's area is drawn.
    EXPECT_EQ(bigf.bitmap()->width(), 300);
    EXPECT_EQ(bigf.get_pixel(5, 0), ws.pal_colors[7]);
    EXPECT_EQ(bigf.get_pixel(299, 0), 0u);
}

}  // namespace
}  // namespace vlt
