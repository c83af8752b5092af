#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "base/color.h"

namespace vlt {

// A set of the colours pixel reads give (real colours and CLR_INVALID), for counting distinct
// colours among up to a whole picture's pixels: one bit per colour, in blocks made when first
// needed, so it costs what the colours it holds touch and not the 2 MiB all of them would.
class ColourSet {
public:
    // Adds the colour; whether it was new. A colour with a top byte counts as CLR_INVALID.
    bool insert(Color color);
    std::uint64_t size() const { return size_; }

private:
    static constexpr std::size_t colours_per_block = std::size_t{1} << 16;
    using Block = std::array<std::uint64_t, colours_per_block / 64>;

    std::array<std::unique_ptr<Block>, 256> blocks_;  // by the colour's blue channel
    bool has_invalid_ = false;
    std::uint64_t size_ = 0;
};

}  // namespace vlt
