#include "conversions/colour_counter.h"

namespace vlt {

std::uint64_t ColourCounter::count() const {
    std::uint64_t count = lists_[invalid_list].empty() ? 0 : 1;
    std::array<std::uint64_t, 1024> bits{};  // one per red and green pair
    for (std::size_t blue = 0; blue < invalid_list; ++blue) {
        const std::vector<std::uint16_t>& list = lists_[blue];
        for (const std::uint16_t c : list) {
            std::uint64_t& word = bits[c / 64];
            const std::uint64_t bit = std::uint64_t{1} << (c % 64);
            count += (word & bit) == 0 ? 1 : 0;
            word |= bit;
        }
        // Cleared where colours were set, so that a short list costs what it holds.
        for (const std::uint16_t c : list) {
            bits[c / 64] = 0;
        }
    }
    return count;
}

}  // namespace vlt
