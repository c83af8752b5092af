#pragma once

#include <cstdint>
#include <vector>

namespace vlt::testing {

// Two contents of a size a texture has, unlike anywhere, so that a target made of parts of
// both, or cut short, matches neither.
inline const std::vector<std::uint8_t>& killed_save_contents(int which) {
    static const auto make = [](std::uint8_t seed) {
        std::vector<std::uint8_t> bytes(290 * 1024);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            bytes[i] = static_cast<std::uint8_t>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
        }
        return bytes;
    };
    static const std::vector<std::uint8_t> contents[2] = {make(1), make(2)};
    return contents[which];
}

}  // namespace vlt::testing
