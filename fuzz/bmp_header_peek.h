#pragma once

#include <cstdint>
#include <span>

namespace vlt::fuzzing {

// The pixel count a BMP file's header asks for, read as the reader reads width and height; 0
// for a file too short to tell. Fuzz targets pass over large pictures with it: each costs time
// in proportion to its pixels, and the unit tests cover them.
inline std::uint64_t bmp_pixels_asked(std::span<const std::uint8_t> file) {
    if (file.size() < 26) {
        return 0;
    }
    auto field = [&](std::size_t at, std::size_t bytes) {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            v |= std::uint64_t{file[at + i]} << (8 * i);
        }
        return v;
    };
    const bool core = field(14, 4) == 12;
    const std::uint64_t width = core ? field(18, 2) : field(18, 4);
    std::uint64_t height = core ? field(20, 2) : field(22, 4);
    if (!core && height >= (std::uint64_t{1} << 31)) {
        height = (std::uint64_t{1} << 32) - height;
    }
    return width * height;
}

}  // namespace vlt::fuzzing
