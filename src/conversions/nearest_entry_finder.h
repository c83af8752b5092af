#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "workspace/workspace.h"

namespace vlt {

// Finds the palette entry nearest to a colour: the smallest squared distance in red, green and
// blue over all 256 entries, ties to the lowest index; top bytes play no part. The same answer
// as a walk through every entry, from a few entries instead: the colour cube is cut into
// 16 x 16 x 16 cells, and the first colour that falls in a cell gives it the list of entries
// that can be nearest to some colour inside it. The palette must not change meanwhile.
class NearestEntryFinder {
public:
    explicit NearestEntryFinder(const Palette& palette);

    std::uint8_t nearest(Color color);

private:
    static constexpr int cell_shift = 4;
    static constexpr int cells_per_side = 256 >> cell_shift;
    static constexpr int cell_count = cells_per_side * cells_per_side * cells_per_side;
    static constexpr std::size_t cache_slots = 1024;

    struct Cell {
        std::uint32_t first = 0;  // into candidates_
        std::uint16_t count = 0;  // 0 until the cell is first used; a filled cell has at least 1
    };
    struct CacheSlot {
        Color color = 0;
        std::int16_t entry = -1;
    };
    using Distances = std::array<std::uint16_t, palette_size>;

    const Cell& cell_for(Color color);
    void fill(Cell& cell, int red_cell, int green_cell, int blue_cell);

    // [channel][entry]: the entry's value in red, green and blue.
    std::array<std::array<std::int32_t, palette_size>, 3> values_{};
    // [channel][cell along it][entry]: the squared distance in that channel from the entry to
    // the nearest and to the farthest value of the cell; a cell's bound is their sum.
    std::array<std::array<Distances, cells_per_side>, 3> near_{};
    std::array<std::array<Distances, cells_per_side>, 3> far_{};
    std::vector<Cell> cells_;
    std::vector<std::uint8_t> candidates_;  // each cell's list, in index order
    // The answers for recent colours: pictures repeat their colours.
    std::array<CacheSlot, cache_slots> cache_{};
};

}  // namespace vlt
