#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt {

// The largest pixel store a file may ask for; larger is "Out of system resources".
inline constexpr std::uint64_t max_pixel_store_bytes = std::uint64_t{256} << 20;

// A decoded picture, and how many bytes its uncompressed pixel data lacked: the row length times
// the height, less the pixel bytes the file (or a short biSizeImage) held. Those bytes are zero in
// the picture. Run-length data lacks nothing.
struct BmpRead {
    Bitmap picture;
    std::uint64_t missing_pixel_bytes = 0;
};

// Decodes a whole BMP file. An empty span gives the empty picture. Raises vlt::Exception with
// the user's message ("Stream read error", "Bitmap image is not valid", "Out of system
// resources") and never reads outside the span.
Bitmap read_bmp(std::span<const std::uint8_t> file);
// The same, taking over the buffer that holds the file: an uncompressed picture's pixels stay in
// it, which becomes the picture's store.
Bitmap read_bmp_adopting(std::vector<std::uint8_t>&& file);
// The same, with what the pixel data lacked.
BmpRead read_bmp_adopting_with_shortfall(std::vector<std::uint8_t>&& file);

}  // namespace vlt
