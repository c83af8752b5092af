#include "pictures/view.h"

#include <gtest/gtest.h>

#include "base/errors.h"

namespace vlt {
namespace {

TEST(PixelAccess, FirstAccessMakesWhiteViewSizedPicture) {
    View cliff("cliff", 128, 64);
    EXPECT_EQ(cliff.picture_kind(), PictureKind::none);
    cliff.set_pixel(0, 0, 0x000000FF);
    EXPECT_EQ(cliff.get_pixel(1, 0), 0x00FFFFFFu);
    EXPECT_EQ(cliff.get_pixel(0, 0), 0x000000FFu);
    ASSERT_NE(cliff.bitmap(), nullptr);
    EXPECT_EQ(cliff.bitmap()->width(), 128);
    EXPECT_EQ(cliff.bitmap()->height(), 64);
    EXPECT_EQ(cliff.bitmap()->bits_per_pixel(), 32);
    EXPECT_TRUE(cliff.repaint_marked());
}

TEST(PixelAccess, ForgetsTheFileCounts) {
    View view("bigf", 4, 4);
    Bitmap picture(2, 2, 8);
    picture.attributes.file_color_count = 16;
    picture.attributes.file_important_colors = 3;
    view.take_picture(std::move(picture));
    view.get_pixel(0, 0);
    EXPECT_EQ(view.bitmap()->attributes.file_color_count, 0u);
    EXPECT_EQ(view.bitmap()->attributes.file_important_colors, 0u);
}

TEST(BitmapAccess, GivesEmptyPictureThatLaterPixelWorkCannotFill) {
    View bigf("bigf", 256, 1152);
    Bitmap& picture = bigf.bitmap_access();
    EXPECT_TRUE(picture.empty());
    EXPECT_TRUE(bigf.repaint_marked());
    bigf.set_pixel(0, 0, 0);
    EXPECT_EQ(bigf.get_pixel(0, 0), CLR_INVALID);
    EXPECT_TRUE(bigf.bitmap()->empty());
}

TEST(BitmapAccess, KeepsABitmap) {
    View cliff("cliff", 128, 64);
    cliff.set_pixel(3, 3, 0x00123456);
    cliff.clear_repaint_mark();
    EXPECT_EQ(cliff.bitmap_access().get_pixel(3, 3), 0x00123456u);
    EXPECT_FALSE(cliff.repaint_marked());
}

TEST(Refresh, CallsTheHookAndClearsTheMark) {
    View view("cliff", 2, 2);
    int painted = 0;
    view.set_refresh_hook([&](View& v) {
        EXPECT_EQ(&v, &view);
        ++painted;
    });
    view.mark_for_repaint();
    view.refresh();
    EXPECT_EQ(painted, 1);
    EXPECT_FALSE(view.repaint_marked());
}

TEST(StretchDraw, SixteenSquareBecomesEightByEightBlocks) {
    Bitmap source = Bitmap::make_display(16, 16, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            source.set_pixel(x, y, static_cast<Color>(y * 16 + x));
        }
    }
    View preview("pal_preview", 128, 128);
    preview.stretch_draw(source);
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x) {
            ASSERT_EQ(preview.get_pixel(x, y), static_cast<Color>((y / 8) * 16 + x / 8));
        }
    }
    EXPECT_TRUE(preview.repaint_marked());
}

TEST(StretchDraw, LargerSourceLosesRowsAndColumns) {
    Bitmap source = Bitmap::make_display(300, 129, 0);
    source.set_pixel(299, 0, 0x00FF0000);
    source.set_pixel(297, 127, 0x0000FF00);
    View preview("pal_preview", 128, 128);
    preview.stretch_draw(source);
    // target (127, 127) maps to source (127*300/128, 127*129/128) = (297, 127)
    EXPECT_EQ(preview.get_pixel(127, 127), 0x0000FF00u);
    EXPECT_EQ(preview.get_pixel(127, 0), 0u);
}

TEST(StretchDraw, EmptySourceLeavesTargetPixels) {
    View preview("pal_preview", 8, 8);
    preview.stretch_draw(Bitmap());
    EXPECT_EQ(preview.get_pixel(7, 7), 0x00FFFFFFu);
    EXPECT_TRUE(preview.repaint_marked());
}

}  // namespace
}  // namespace vlt
