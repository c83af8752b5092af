#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt {

// Paints run-length data (RLE8 when bits_per_pixel is 8, RLE4 when 4) into a bottom-up
// display-format picture that the caller has already filled with its background colour.
// Indexes beyond the table paint black. Never reads past data and never writes outside the
// picture.
void decode_rle(std::span<const std::uint8_t> data, int bits_per_pixel,
                const std::vector<RgbQuad>& table, Bitmap& target);

}  // namespace vlt
