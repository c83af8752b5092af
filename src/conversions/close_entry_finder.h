#pragma once

#include <array>
#include <bit>
#include <cstdint>

#include "workspace/workspace.h"

namespace vlt {

// Finds the first palette entry close to a colour (each of red, green and blue differing by at
// most 9) with a few word operations instead of a walk through up to 256 entries: for every
// value of every channel it keeps the set of entries that value is close to, and the answer is
// the lowest entry in all three sets.
class CloseEntryFinder {
public:
    explicit CloseEntryFinder(const Palette& palette);

    static constexpr int none = palette_size;

    // The first close entry in index order, or none. Here, so that a loop over a picture can
    // take it in without a call per pixel.
    int find(Color color) const {
        const EntrySet& red = close_[0][color & 0xFFu];
        const EntrySet& green = close_[1][(color >> 8) & 0xFFu];
        const EntrySet& blue = close_[2][(color >> 16) & 0xFFu];
        for (std::size_t w = 0; w < words; ++w) {
            if (const std::uint64_t all = red[w] & green[w] & blue[w]; all != 0) {
                return static_cast<int>(w * 64) + std::countr_zero(all);
            }
        }
        return none;
    }
    // The first close entry in index order, or 0 when none is.
    std::uint8_t first_close_entry(Color color) const {
        const int found = find(color);
        return found == none ? 0 : static_cast<std::uint8_t>(found);
    }

private:
    static constexpr int words = palette_size / 64;
    using EntrySet = std::array<std::uint64_t, words>;
    // [channel][value]: the entries whose channel lies within 9 of the value.
    std::array<std::array<EntrySet, 256>, 3> close_{};
};

}  // namespace vlt
