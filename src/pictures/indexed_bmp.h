#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "workspace/workspace.h"

namespace vlt {

// An index texture as an 8-bit BMP file that paint programs open in indexed mode: the palette
// is its colour table (blue, green, red, 0 for each of the 256 entries) and its pixels are the
// texture's indices, unchanged. Info header of 40 bytes, bottom-up, 1,078 bytes before the
// pixels. `indices` holds width x height bytes, row-major, top row first.
std::vector<std::uint8_t> encode_indexed_bmp(std::span<const std::uint8_t> indices, int width,
                                             int height, const Palette& palette);

}  // namespace vlt
