#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/color.h"
#include "conversions/colour_set.h"

namespace vlt {

// Counts the distinct colours among many, when only the count is wanted at the end. Set one by
// one, the bits of up to 2 MiB are touched at random, a cache miss a colour; here the colours
// wait in lists by their blue channel, and each list is counted with its one 8 KiB block of
// bits in the cache. The lists hold only the colours added, which a few colours keep small.
class ColourCounter {
public:
    void add(Color color) {
        const std::size_t list = color > 0x00FFFFFFu ? invalid_list : color >> 16;
        lists_[list].push_back(static_cast<std::uint16_t>(color));
    }
    // The distinct colours added so far, CLR_INVALID (and any colour with a top byte) as one.
    std::uint64_t count() const;

private:
    static constexpr std::size_t invalid_list = 256;
    // The colours by their blue channel (and CLR_INVALID last), red and green kept.
    std::array<std::vector<std::uint16_t>, 257> lists_;
};

}  // namespace vlt
