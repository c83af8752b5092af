#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "pictures/bitmap.h"
#include "workspace/workspace.h"

namespace vlt {

// What an indexed picture's colour table does to the palette.
enum class PictureTable {
    // The palette stays; each index goes through its table colour to the palette entry of that
    // colour (its own entry when that has the colour, else the lowest that has it).
    map_to_palette,
    // The table's entries become the palette's first entries; every index is kept.
    take_into_palette,
};

// Which texture an indexed import fills, and the import that takes the pictures it refuses.
struct IndexTarget {
    std::span<std::uint8_t> indices;  // width x height, row-major, top row first
    int width = 0;
    int height = 0;
    std::string_view command;       // "import_bigf_indices"
    std::string_view other_import;  // "import_bigf_from_bitmap"
};

struct IndicesReport {
    // Pixels whose table colour is not in the palette (or whose index lies beyond the table):
    // they kept their index, and show the palette's colour there.
    std::uint64_t other_colour_pixels = 0;
};

// Stores the indices of an indexed picture (1, 4 or 8 bits per pixel with a colour table) of
// the texture's size. Anything else raises an Exception naming the import that takes it; the
// texture and the palette then stay as they were.
IndicesReport indices_from_picture(const Bitmap& picture, const IndexTarget& target,
                                   Palette& palette, PictureTable table);

}  // namespace vlt
