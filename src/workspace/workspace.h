#pragma once

#include <array>
#include <cstdint>

#include "base/color.h"

namespace vlt {

inline constexpr int palette_size = 256;
inline constexpr int bigf_width = 256;
inline constexpr int bigf_height = 1152;
inline constexpr int cliff_width = 128;
inline constexpr int cliff_height = 64;

using Palette = std::array<Color, palette_size>;

// The whole document: one palette and two palette-indexed textures, row-major, top row first.
// The sizes are fixed and everything starts at zero (black entries, index 0 everywhere).
struct Workspace {
    Palette pal_colors{};
    std::array<std::uint8_t, bigf_width * bigf_height> bigf_data{};
    std::array<std::uint8_t, cliff_width * cliff_height> cliff_data{};
};

}  // namespace vlt
