#pragma once

#include <cstdint>
#include <span>

#include "pictures/bitmap.h"

namespace vlt {

// Whole-row pixel access for the loops that visit every pixel of a large picture: the same
// colours get_pixel and set_pixel give and take, without deciding the format per pixel where
// the format is one that full-size pictures come in.

// The display format (32 bits, no masks): blue, green, red and a byte that carries no colour.
inline bool is_display_format(const Bitmap& picture) {
    return picture.bits_per_pixel() == 32 && picture.compression() == Compression::rgb;
}

// out[x] = picture.get_pixel(x, y) for every x below out.size(): CLR_INVALID where the picture
// has no pixel.
void read_pixel_row(const Bitmap& picture, int y, std::span<Color> out);

// picture.set_pixel(x, y, colors[x]) for every x below colors.size(); pixels outside the
// picture are left alone.
void write_pixel_row(Bitmap& picture, int y, std::span<const Color> colors);

// Fills width x height pixels of the target from the whole (non-empty) source, nearest pixel,
// no blending.
void stretch_pixels(const Bitmap& source, Bitmap& target, int width, int height);

}  // namespace vlt
