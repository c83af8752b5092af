#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "pictures/bitmap.h"
#include "workspace/workspace.h"

namespace vlt {

// Whether a save to this path writes PNG rather than BMP: its extension is png, in any case.
bool is_png_path(const std::filesystem::path& path);

// The picture's colours as an 8-bit RGB PNG file, whatever its own format; nothing for the
// empty picture.
std::vector<std::uint8_t> encode_png(const Bitmap& picture);

// An index texture as an 8-bit palette PNG: the 256 palette entries in order, the indices as
// they are. `indices` holds width x height bytes, row-major, top row first.
std::vector<std::uint8_t> encode_indexed_png(std::span<const std::uint8_t> indices, int width,
                                             int height, const Palette& palette);

}  // namespace vlt
