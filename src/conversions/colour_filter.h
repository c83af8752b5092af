#pragma once

#include <array>
#include <cstdint>

#include "base/color.h"

namespace vlt {

// Tells at once, with a well-predicted branch, that a colour is none of a few hundred: one bit
// for each of 65536 hashes of a colour, set for the colours added. A colour whose bit is clear
// was not added; one whose bit is set may have been.
class ColourFilter {
public:
    void add(Color color) { bits_[hash(color) / 64] |= std::uint64_t{1} << (hash(color) % 64); }
    bool may_hold(Color color) const {
        return (bits_[hash(color) / 64] >> (hash(color) % 64) & 1u) != 0;
    }

private:
    static std::uint32_t hash(Color color) { return (color * 0x9E3779B1u) >> 16; }
    std::array<std::uint64_t, 1024> bits_{};  // 8 KiB, which stay in the nearest cache
};

}  // namespace vlt
