#include "conversions/colour_set.h"

namespace vlt {

bool ColourSet::insert(Color color) {
    if (color > 0x00FFFFFFu) {
        const bool added = !has_invalid_;
        has_invalid_ = true;
        size_ += added ? 1 : 0;
        return added;
    }
    std::unique_ptr<Block>& block = blocks_[color >> 16];
    if (!block) {
        block = std::make_unique<Block>();
    }
    const std::uint32_t low = color & 0xFFFFu;
    std::uint64_t& word = (*block)[low / 64];
    const std::uint64_t bit = std::uint64_t{1} << (low % 64);
    if ((word & bit) != 0) {
        return false;
    }
    word |= bit;
    ++size_;
    return true;
}

}  // namespace vlt
