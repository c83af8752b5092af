#pragma once

#include <cstdint>

namespace vlt {

// A colour value in the game's layout: bits 0-7 red, 8-15 green, 16-23 blue, top byte 0 for a
// real colour. Any 32-bit value may be stored, compared and written, CLR_INVALID among them.
using Color = std::uint32_t;

// What a pixel read yields where there is no pixel.
inline constexpr Color CLR_INVALID = 0xFFFFFFFFu;

constexpr std::uint8_t red_of(Color c) {
    return static_cast<std::uint8_t>(c & 0xFFu);
}
constexpr std::uint8_t green_of(Color c) {
    return static_cast<std::uint8_t>((c >> 8) & 0xFFu);
}
constexpr std::uint8_t blue_of(Color c) {
    return static_cast<std::uint8_t>((c >> 16) & 0xFFu);
}

constexpr Color make_color(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) |
           (static_cast<Color>(blue) << 16);
}

}  // namespace vlt
