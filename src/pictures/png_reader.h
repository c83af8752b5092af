#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "pictures/bitmap.h"
#include "pictures/bmp_stream_reader.h"

namespace vlt {

inline constexpr std::array<std::uint8_t, 8> png_signature{0x89, 'P',  'N',  'G',
                                                           '\r', '\n', 0x1A, '\n'};

// Whether the bytes begin with the PNG signature.
bool starts_with_png_signature(std::span<const std::uint8_t> head);

// A PNG file made into a picture. A palette PNG (1, 2, 4 or 8 bits) becomes an 8-bit picture
// with its colour table; every other kind a display-format picture. Both bottom-up. Alpha is
// dropped: `had_transparency` says whether any pixel was less than opaque. 16-bit channels are
// rounded to 8 bits; gamma and the other ancillary chunks change nothing.
struct PngRead {
    Bitmap picture;
    bool had_transparency = false;
};

// Reads the whole file from its first byte (the signature). Raises PictureError: "PNG image is
// not valid" with what is wrong (a CRC error, the file ending early, ...), or "Out of system
// resources" for a picture larger than the largest store. Sizes are checked before any pixel
// memory is taken, so a small file claiming a huge picture costs nothing.
PngRead read_png_from(ByteSource& source);
PngRead read_png(std::span<const std::uint8_t> file);

}  // namespace vlt
