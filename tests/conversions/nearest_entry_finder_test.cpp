#include "conversions/nearest_entry_finder.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "conversions/picture_helpers.h"

namespace vlt {
namespace {

TEST(NearestEntryFinder, EqualsTheWalkThroughEveryEntryTiesIncluded) {
    std::mt19937 random(11);
    auto any = [&random] { return static_cast<std::uint8_t>(random()); };
    auto coarse = [&random] { return static_cast<std::uint8_t>(random() % 3 * 127); };
    // On the first or last value of a cell, where the pruning's bounds are tight.
    auto edge = [&random] {
        return static_cast<std::uint8_t>(random() % 16 * 16 + (random() % 2 ? 15 : 0));
    };
    const std::vector<std::function<Color()>> palettes = {
        [&] { return make_color(any(), any(), any()) | (random() & 0xFF000000u); },
        [&] { return make_color(coarse(), coarse(), coarse()); },  // many equal entries
        [&] { return make_color(edge(), edge(), edge()); },
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
            ASSERT_EQ(finder.nearest(color), testing::nearest_by_walk(palette, color))
                << std::hex << color;
        }
    }
}

}  // namespace
}  // namespace vlt
