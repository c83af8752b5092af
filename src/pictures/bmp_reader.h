#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt {

// The largest pixel store a file may ask for; larger is "Out of system resources".
inline constexpr std::uint64_t max_pixel_store_bytes = std::uint64_t{256} << 20;

// Decodes a whole BMP file. An empty span gives the empty picture. Raises vlt::Exception with
// the user's message ("Stream read error", "Bitmap image is not valid", "Out of system
// resources") and never reads outside the span.
Bitmap read_bmp(std::span<const std::uint8_t> file);
// The same, taking over the buffer that holds the file: an uncompressed picture's pixels stay in
// it, which becomes the picture's store.
Bitmap read_bmp_adopting(std::vector<std::uint8_t>&& file);

}  // namespace vlt
