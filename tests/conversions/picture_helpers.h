#pragma once

#include <functional>

#include "pictures/view.h"
#include "workspace/workspace.h"

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
    view.take_picture(std::move(picture));
}

// The palette entry nearest to a colour by a walk through all 256, the first of equally near
// entries winning: what the nearest-colour search must equal.
inline int nearest_by_walk(const Palette& palette, Color color) {
    int best = 0, best_distance = 1 << 30;
    for (int i = 0; i < palette_size; ++i) {
        const Color e = palette[static_cast<std::size_t>(i)];
        const int dr = red_of(e) - red_of(color), dg = green_of(e) - green_of(color),
                  db = blue_of(e) - blue_of(color);
        if (dr * dr + dg * dg + db * db < best_distance) {
            best_distance = dr * dr + dg * dg + db * db;
            best = i;
        }
    }
    return best;
}

}  // namespace vlt::testing
