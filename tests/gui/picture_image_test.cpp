#include "gui/picture_image.h"

#include <gtest/gtest.h>
#include <QPalette>

#include "gui/picture_widget.h"

namespace vlt {
namespace {

QRgb screen_color(Color c) {
    return qRgb(red_of(c), green_of(c), blue_of(c));
}

// A colour for each pixel that differs in every channel from its neighbours'.
Color pattern(int x, int y) {
    return make_color(static_cast<std::uint8_t>(x * 7 + 1), static_cast<std::uint8_t>(y * 13 + 2),
                      static_cast<std::uint8_t>(x * 3 + y * 5 + 3));
}

Bitmap patterned(int width, int height, int bits, RowOrder order) {
    Bitmap picture(width, height, bits, order);
    if (bits <= 8) {
        std::vector<RgbQuad> table;
        for (int i = 0; i < (1 << bits); ++i) {
            table.push_back({static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i),
                             static_cast<std::uint8_t>(i), 0});
        }
        picture.set_color_table(std::move(table));
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.set_pixel(x, y, pattern(x, y));
        }
    }
    return picture;
}

TEST(PictureImage, EveryFormatShowsWhatPixelReadsGive) {
    const struct {
        int bits;
        RowOrder order;
    } formats[] = {
        {32, RowOrder::bottom_up}, {32, RowOrder::top_down}, {24, RowOrder::bottom_up},
        {16, RowOrder::bottom_up}, {8, RowOrder::bottom_up}, {4, RowOrder::top_down},
    };
    for (const auto& f : formats) {
        const Bitmap picture = patterned(5, 3, f.bits, f.order);
        const QImage image = picture_image(picture, QRect(0, 0, 16, 16));
        ASSERT_EQ(image.size(), QSize(5, 3)) << f.bits;
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                EXPECT_EQ(image.pixel(x, y), screen_color(picture.get_pixel(x, y)))
                    << f.bits << " bits at " << x << "," << y;
            }
        }
    }
}

TEST(PictureImage, ThirtyTwoBitRowsCopiedTopDownAndOpaque) {
    Bitmap picture = Bitmap::make_display(2, 3, 0);
    picture.set_pixel(0, 0, 0x000000FF);  // red, top-left
    picture.set_pixel(1, 2, 0x00FF0000);  // blue, bottom-right
    const QImage image = picture_image(picture, QRect(0, 0, 2, 3));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 2), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255);
}

TEST(PictureImage, ClippedToAreaAndPicture) {
    const Bitmap large = patterned(300, 1200, 32, RowOrder::bottom_up);
    const QImage seen = picture_image(large, QRect(0, 0, 256, 1152));
    ASSERT_EQ(seen.size(), QSize(256, 1152));
    EXPECT_EQ(seen.pixel(255, 1151), screen_color(pattern(255, 1151)));
    // A strip, as scrolling exposes it: pixel (0, 0) is the strip's corner.
    const QImage strip = picture_image(large, QRect(10, 1180, 40, 100));
    ASSERT_EQ(strip.size(), QSize(40, 20));
    EXPECT_EQ(strip.pixel(0, 0), screen_color(pattern(10, 1180)));
    EXPECT_EQ(strip.pixel(39, 19), screen_color(pattern(49, 1199)));
    const Bitmap eight = patterned(300, 20, 8, RowOrder::bottom_up);
    EXPECT_EQ(picture_image(eight, QRect(290, 5, 50, 2)).pixel(9, 1),
              screen_color(eight.get_pixel(299, 6)));

    EXPECT_TRUE(picture_image(Bitmap(), QRect(0, 0, 16, 16)).isNull());
    EXPECT_TRUE(picture_image(large, QRect(300, 0, 10, 10)).isNull());
}

TEST(PictureWidget, PaintsPictureAtTopLeftOverTheBackground) {
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(10, 20, 30));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    View view("cliff", 8, 4);
    PictureWidget widget(view, &window);
    EXPECT_EQ(widget.size(), QSize(8, 4));
    EXPECT_EQ(widget.objectName(), "cliff");
    const QRgb background = qRgb(10, 20, 30);

    // No picture, then the empty one: background only.
    for (int step = 0; step < 2; ++step) {
        const QImage shown = window.grab(widget.geometry()).toImage();
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 8; ++x) {
                EXPECT_EQ(shown.pixel(x, y), background);
            }
        }
        view.bitmap_access();
    }

    view.take_picture(patterned(5, 6, 32, RowOrder::bottom_up));
    const QImage shown = window.grab(widget.geometry()).toImage();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(shown.pixel(x, y), x < 5 ? screen_color(pattern(x, y)) : background)
                << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace vlt
