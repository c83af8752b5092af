#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "pictures/bitmap.h"

namespace vlt::testing {

// A pixel format a picture can be read in, for tests that run one case per format.
struct PictureFormat {
    std::string name;
    int bits = 32;
    bool bitfields = false;
    RowOrder order = RowOrder::bottom_up;
};

inline void PrintTo(const PictureFormat& format, std::ostream* out) {
    *out << format.name;
}

inline std::vector<PictureFormat> all_picture_formats() {
    return {
        {"display", 32},
        {"display_top_down", 32, false, RowOrder::top_down},
        {"bits24", 24},
        {"bits24_top_down", 24, false, RowOrder::top_down},
        {"bits32_masks", 32, true},
        {"bits16", 16},
        {"bits16_masks", 16, true},
        {"bits8", 8},
        {"bits8_top_down", 8, false, RowOrder::top_down},
        {"bits4", 4},
        {"bits1", 1},
    };
}

// Distinct real colours, none of them black.
inline std::vector<Color> random_colors(std::size_t count, std::mt19937& random) {
    std::vector<Color> colors;
    while (colors.size() < count) {
        const Color c = static_cast<Color>(random() & 0x00FFFFFFu);
        if (c != 0 && std::find(colors.begin(), colors.end(), c) == colors.end()) {
            colors.push_back(c);
        }
    }
    return colors;
}

// A picture whose pixels are drawn from the pool: indexed formats take a table of the pool's
// first colours (with indexes beyond the table among the pixels); 32-bit pixels get a random
// fourth byte, which must never show as colour.
inline Bitmap random_picture(const PictureFormat& format, int width, int height,
                             const std::vector<Color>& pool, std::mt19937& random) {
    Bitmap picture(width, height, format.bits, format.order);
    if (format.bits <= 8) {
        std::vector<RgbQuad> table;
        const std::size_t entries = std::min<std::size_t>(pool.size(), (1u << format.bits) - 1);
        for (std::size_t i = 0; i < entries; ++i) {
            table.push_back({blue_of(pool[i]), green_of(pool[i]), red_of(pool[i]), 0});
        }
        picture.set_color_table(std::move(table));
        for (auto& byte : picture.pixels()) {
            byte = static_cast<std::uint8_t>(random());
        }
        return picture;
    }
    if (format.bitfields) {
        picture.set_bitfields(format.bits == 16 ? BitMasks{0xF800, 0x07E0, 0x001F}
                                                : BitMasks{0x3FF00000, 0x000FFC00, 0x000003FF});
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.set_pixel(x, y, pool[random() % pool.size()]);
        }
    }
    if (format.bits == 32 && !format.bitfields) {
        for (std::size_t i = 3; i < picture.pixels().size(); i += 4) {
            picture.pixels()[i] = static_cast<std::uint8_t>(random());
        }
    }
    return picture;
}

}  // namespace vlt::testing
