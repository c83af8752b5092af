#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt {

// The largest pixel store a file may ask for; a larger picture is refused as too large.
inline constexpr std::uint64_t max_pixel_store_bytes = std::uint64_t{256} << 20;

// A decoded picture, and how many bytes its uncompressed pixel data lacked: the row length times
// the height, less the pixel bytes the file held. Those bytes are zero in
// the picture. Run-length data lacks nothing.
struct BmpRead {
    Bitmap picture;
    std::uint64_t missing_pixel_bytes = 0;
};

// Decodes a whole BMP file. An empty span gives the empty picture. Raises vlt::Exception with
// the user's message ("Stream read error", "Bitmap image is not valid", or that the picture is
// too large) and never reads outside the span.
Bitmap read_bmp(std::span<const std::uint8_t> file);

// Reading a file in two steps, so that only the bytes the picture can use are read: first its
// headers, then its pixel bytes.

// How many bytes the file's headers and colour table take up, as far as its first bytes tell:
// more than head.size() while they go on beyond them.
std::size_t bmp_head_length(std::span<const std::uint8_t> head);

// Where a file's pixel bytes lie. They start at `offset` when that lies beyond `table_end` and
// the file reaches it, otherwise at `table_end`; the picture uses at most `count` of them.
struct BmpPixelPlace {
    std::uint64_t table_end = 0;
    std::uint64_t offset = 0;
    std::uint64_t count = 0;
    std::uint64_t store = 0;  // the size of the store the pixel bytes become (0: decoded)
};

// From the file's headers and colour table (bmp_head_length of them, or all of a shorter file).
// Raises the error read_bmp raises for these headers; the empty file uses no pixel bytes.
BmpPixelPlace bmp_pixel_place(std::span<const std::uint8_t> head);
// The picture read_bmp makes of the whole file, from its first bytes and its pixel bytes (those
// bmp_pixel_place names); the pixel buffer becomes the picture's store where it can.
BmpRead read_bmp_parts(std::span<const std::uint8_t> head, PixelStore&& pixels);

}  // namespace vlt
