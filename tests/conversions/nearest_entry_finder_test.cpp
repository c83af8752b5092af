#include "conversions/nearest_entry_finder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace vlt {
namespace {

// What the finder must equal: a walk through every entry, the first of the nearest winning.
std::uint8_t walked_nearest(const Palette& palette, Color color) {
    int best = 0, best_distance = 1 << 30;
    for (int i = 0; i < palette_size; ++i) {
        const Color e = palette[static_cast<std::size_t>(i)];
        const int dr = red_of(e) - red_of(color), dg = green_of(e) - green_of(color),
                  db = blue_of(e) - blue_of(color);
        if (dr * dr + dg * dg + db * db < best_distance) {
            best_distance = dr * dr + dg * dg + db * db;
            best = i;
        }
    }
    return static_cast<std::uint8_t>(best);
}

TEST(NearestEntryFinder, EqualsTheWalkThroughEveryEntryTiesIncluded) {
    std::mt19937 random(11);
    auto any = [&random] { return static_cast<std::uint8_t>(random()); };
    auto coarse = [&random] { return static_cast<std::uint8_t>(random() % 3 * 127); };
    const std::vector<std::function<Color()>> palettes = {
        [&] { return make_color(any(), any(), any()) | (random() & 0xFF000000u); },
        [&] { return make_color(coarse(), coarse(), coarse()); },  // many equal entries
        [&] { return Color{0x00404040}; },
    };
    for (const auto& entry : palettes) {
        Palette palette{};
        for (Color& c : palette) {
            c = entry();
        }
        NearestEntryFinder finder(palette);
        for (int i = 0; i < 40000; ++i) {
            // Cell edges and the midpoints between coarse values, where ties are.
            const Color color = i % 2
                                    ? make_color(any(), any(), any())
                                    : make_color(static_cast<std::uint8_t>(random() % 17 * 16 - 1),
                                                 coarse() / 2 + 32, any()) |
                                          (i % 8 ? 0 : 0xFF000000u);
            ASSERT_EQ(finder.nearest(color), walked_nearest(palette, color)) << std::hex << color;
        }
    }
}

}  // namespace
}  // namespace vlt
