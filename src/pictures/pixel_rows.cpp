#include "pictures/pixel_rows.h"

#include <algorithm>
#include <vector>

namespace vlt {

void read_pixel_row(const Bitmap& picture, int y, std::span<Color> out) {
    const bool row_inside = y >= 0 && y < picture.height();
    const std::size_t inside =
        row_inside ? std::min(out.size(), static_cast<std::size_t>(picture.width())) : 0;
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(inside), out.end(), CLR_INVALID);
    if (inside == 0) {
        return;
    }
    const std::uint8_t* p = picture.row(y);
    if (is_display_format(picture)) {
        for (std::size_t x = 0; x < inside; ++x, p += 4) {
            out[x] = make_color(p[2], p[1], p[0]);
        }
    } else if (picture.bits_per_pixel() == 24) {
        for (std::size_t x = 0; x < inside; ++x, p += 3) {
            out[x] = make_color(p[2], p[1], p[0]);
        }
    } else {
        for (std::size_t x = 0; x < inside; ++x) {
            out[x] = picture.get_pixel(static_cast<int>(x), y);
        }
    }
}

void stretch_pixels(const Bitmap& source, Bitmap& target, int width, int height) {
    // Written a row at a time; read pixel by pixel, since the source may be far wider than the
    // target and only the pixels it shows are wanted.
    const std::int64_t sw = source.width(), sh = source.height();
    std::vector<Color> row(static_cast<std::size_t>(width));
    for (int ty = 0; ty < height; ++ty) {
        const int sy = static_cast<int>(ty * sh / height);
        for (int tx = 0; tx < width; ++tx) {
            row[static_cast<std::size_t>(tx)] =
                source.get_pixel(static_cast<int>(tx * sw / width), sy);
        }
        write_pixel_row(target, ty, row);
    }
}

void write_pixel_row(Bitmap& picture, int y, std::span<const Color> colors) {
    if (y < 0 || y >= picture.height()) {
        return;
    }
    const std::size_t inside = std::min(colors.size(), static_cast<std::size_t>(picture.width()));
    if (!is_display_format(picture)) {
        for (std::size_t x = 0; x < inside; ++x) {
            picture.set_pixel(static_cast<int>(x), y, colors[x]);
        }
        return;
    }
    std::uint8_t* p = picture.row(y);
    for (std::size_t x = 0; x < inside; ++x, p += 4) {
        const Color c = colors[x];
        p[0] = blue_of(c);
        p[1] = green_of(c);
        p[2] = red_of(c);  // the fourth byte is not colour: it stays
    }
}

}  // namespace vlt
