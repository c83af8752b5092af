#pragma once

#include <functional>

#include "pictures/view.h"

namespace vlt::testing {

// Puts a display-format picture of the given size into the view, pixel(x, y) giving each colour.
inline void put_picture(View& view, int width, int height,
                        const std::function<Color(int, int)>& pixel) {
    Bitmap picture = Bitmap::make_display(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.set_pixel(x, y, pixel(x, y));
        }
    }
    view.take_picture(PictureKind::bitmap, std::move(picture));
}

}  // namespace vlt::testing
