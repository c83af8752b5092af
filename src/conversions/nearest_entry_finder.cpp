#include "conversions/nearest_entry_finder.h"

#include <algorithm>
#include <limits>

namespace vlt {
namespace {

int channel_of(Color color, int channel) {
    return static_cast<int>((color >> (8 * channel)) & 0xFFu);
}

std::uint16_t squared(int difference) {
    return static_cast<std::uint16_t>(difference * difference);
}

}  // namespace

NearestEntryFinder::NearestEntryFinder(const Palette& palette) : cells_(cell_count) {
    constexpr int cell_size = 1 << cell_shift;
    for (int channel = 0; channel < 3; ++channel) {
        for (std::size_t e = 0; e < palette.size(); ++e) {
            const int value = channel_of(palette[e], channel);
            values_[channel][e] = value;
            for (int k = 0; k < cells_per_side; ++k) {
                const int low = k * cell_size;
                const int high = low + cell_size - 1;
                const int nearest = value < low ? low - value : value > high ? value - high : 0;
                near_[channel][k][e] = squared(nearest);
                far_[channel][k][e] = squared(std::max(value - low, high - value));
            }
        }
    }
}

std::uint8_t NearestEntryFinder::nearest(Color color) {
    CacheSlot& slot = cache_[((color * 0x9E3779B1u) >> 22) % cache_slots];
    if (slot.entry >= 0 && slot.color == color) {
        return static_cast<std::uint8_t>(slot.entry);
    }
    const Cell& cell = cell_for(color);
    const int r = channel_of(color, 0), g = channel_of(color, 1), b = channel_of(color, 2);
    std::uint8_t best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (std::uint32_t i = cell.first; i < cell.first + cell.count; ++i) {
        const std::uint8_t e = candidates_[i];
        const int dr = values_[0][e] - r, dg = values_[1][e] - g, db = values_[2][e] - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {  // strictly: the lowest index wins a tie
            best_distance = distance;
            best = e;
        }
    }
    slot = {color, best};
    return best;
}

const NearestEntryFinder::Cell& NearestEntryFinder::cell_for(Color color) {
    const int r = channel_of(color, 0) >> cell_shift;
    const int g = channel_of(color, 1) >> cell_shift;
    const int b = channel_of(color, 2) >> cell_shift;
    Cell& cell = cells_[static_cast<std::size_t>((r * cells_per_side + g) * cells_per_side + b)];
    if (cell.count == 0) {
        fill(cell, r, g, b);
    }
    return cell;
}

// Every colour of the cell lies within `bound` of the entry whose farthest point is nearest,
// so only entries that come within `bound` of the cell can be nearest to one of its colours
// (or tie with it).
void NearestEntryFinder::fill(Cell& cell, int red_cell, int green_cell, int blue_cell) {
    const Distances& near_r = near_[0][red_cell];
    const Distances& near_g = near_[1][green_cell];
    const Distances& near_b = near_[2][blue_cell];
    const Distances& far_r = far_[0][red_cell];
    const Distances& far_g = far_[1][green_cell];
    const Distances& far_b = far_[2][blue_cell];
    std::uint32_t bound = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t e = 0; e < palette_size; ++e) {
        bound = std::min(bound, std::uint32_t{far_r[e]} + far_g[e] + far_b[e]);
    }
    cell.first = static_cast<std::uint32_t>(candidates_.size());
    for (std::size_t e = 0; e < palette_size; ++e) {
        if (std::uint32_t{near_r[e]} + near_g[e] + near_b[e] <= bound) {
            candidates_.push_back(static_cast<std::uint8_t>(e));
        }
    }
    cell.count = static_cast<std::uint16_t>(candidates_.size() - cell.first);
}

}  // namespace vlt
