#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vlt {

// How many pixels of an index texture hold each palette entry.
using EntryCounts = std::array<std::size_t, 256>;
EntryCounts entry_use_counts(std::span<const std::uint8_t> indices);

struct PixelPlace {
    int x;
    int y;
    friend bool operator==(const PixelPlace&, const PixelPlace&) = default;
};

// Every pixel of a texture `width` columns wide (row-major indices) that holds `entry`, in scan
// order. A partial last row counts as far as it goes; a width below 1 has no pixels.
std::vector<PixelPlace> pixels_of_entry(std::span<const std::uint8_t> indices, int width,
                                        std::uint8_t entry);

}  // namespace vlt
