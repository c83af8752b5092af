#pragma once

#include <array>
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

    // The first close entry in index order, or none.
    int find(Color color) const;
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
