#pragma once

#include <cstdint>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt {

// The picture's BMP file bytes: nothing for the empty picture. The picture records the number
// of colour-table entries written as its colour count.
std::vector<std::uint8_t> encode_bmp(Bitmap& picture);

}  // namespace vlt
