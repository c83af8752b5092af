#pragma once

#include <cstdint>

#include "workspace/workspace.h"

namespace vlt {

// Searches the palette in column order of the 16 x 16 grid (0, 16, ..., 240, 1, 17, ..., 255)
// for entries that the target lies near: per channel, the target may lie up to `below` under the
// entry's channel and up to `above` over it. The last matching entry visited wins; 0 when none
// matches (a match on entry 0 alone looks the same).
std::uint8_t find_pal_index(const Palette& palette, std::uint8_t red, std::uint8_t green,
                            std::uint8_t blue, std::uint8_t red_below, std::uint8_t red_above,
                            std::uint8_t green_below, std::uint8_t green_above,
                            std::uint8_t blue_below, std::uint8_t blue_above);

// The index the shaded band of column `column` takes: the best entry for that entry's colour
// darkened by 20, tried with widening tolerances, or the column itself when none is found.
std::uint8_t shaded_index(const Palette& palette, int column);

// Generates the whole cliff texture from entries 0 to 127 of the palette: rows 0 to 17 hold the
// column's own index, rows 18 to 39 the shaded index, rows 40 to 63 five fixed ground bands.
// The palette is not changed and nothing is drawn.
void build_cliff(Workspace& workspace);

}  // namespace vlt
