#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "base/color.h"

namespace vlt::testing {

// Builds an uncompressed 24- or 32-bit BMP file in memory, bottom-up, with a 40-byte header and
// no colour table; pixel(x, y) gives each pixel's colour (top byte ignored).
inline std::vector<std::uint8_t> build_bmp(int width, int height, int bits_per_pixel,
                                           const std::function<Color(int, int)>& pixel) {
    const int bytes_per_pixel = bits_per_pixel / 8;
    const std::uint32_t stride = static_cast<std::uint32_t>((width * bits_per_pixel + 31) / 32 * 4);
    const std::uint32_t image_size = stride * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    auto put16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto put32 = [&put16](std::uint32_t v) {
        put16(v & 0xFFFFu);
        put16(v >> 16);
    };
    out.push_back('B');
    out.push_back('M');
    put32(54 + image_size);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);
    put16(static_cast<std::uint32_t>(bits_per_pixel));
    for (int i = 0; i < 6; ++i) {
        put32(0);  // compression, image size, resolution, colour counts
    }
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t row_start = out.size();
        for (int x = 0; x < width; ++x) {
            const Color c = pixel(x, y);
            out.push_back(blue_of(c));
            out.push_back(green_of(c));
            out.push_back(red_of(c));
            if (bytes_per_pixel == 4) {
                out.push_back(0);
            }
        }
        out.resize(row_start + stride, 0);
    }
    return out;
}

// A 256 x 1152 picture of 150 colours, none black, in bands of whole rows: 111 colours over the
// top 852 rows, then 39 over the last 300 rows, which find no room in a bigf import (76,800
// pixels).
inline Color colour_bands_150(int, int y) {
    const int k = y < 852 ? y * 111 / 852 : 111 + (y - 852) * 39 / 300;
    return make_color(static_cast<std::uint8_t>(k + 1), 100, static_cast<std::uint8_t>(200 - k));
}

}  // namespace vlt::testing
