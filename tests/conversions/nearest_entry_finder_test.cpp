#include "conversions/nearest_entry_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
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

// Many colours at once, taken cell by cell and four at a time, against the walk: cells with
// one colour or a few (a group of four left part empty), one cell with many colours that repeat,
// every cell of the cube, and ties; positions in another order than the colours, and slots the
// colours do not name left as they were.
TEST(NearestEntryFinder, ManyAtOnceEqualTheWalk) {
    std::mt19937 random(12);
    auto any = [&random] { return static_cast<std::uint8_t>(random()); };
    auto coarse = [&random] { return static_cast<std::uint8_t>(random() % 3 * 127); };
    struct Case {
        const char* name;
        std::function<Color()> entry;
        std::function<Color()> colour;
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"one colour", [&] { return make_color(any(), any(), any()); },
         [] { return Color{0x00FF8000}; }, 1},
        {"a few in one cell", [&] { return make_color(any(), any(), any()); },
         [&] { return make_color(any() % 32, any() % 32, any() % 32); }, 7},
        {"one cell, colours repeated", [&] { return make_color(any(), any(), any()); },
         [&] { return make_color(64 + any() % 4, 96, 200 + any() % 4); }, 1001},
        {"every cell", [&] { return make_color(any(), any(), any()); },
         [&] { return make_color(any(), any(), any()); }, 60003},
        // Equal entries and colours halfway between them.
        {"ties", [&] { return make_color(coarse(), coarse(), coarse()); },
         [&] { return make_color(coarse() / 2 + 32 * (any() % 2), coarse(), any()); }, 20002},
        {"one entry everywhere", [] { return Color{0x00404040}; },
         [&] { return make_color(any(), any(), any()); }, 5000},
        {"top bytes", [&] { return make_color(any(), any(), any()) | 0xFF000000u; },
         [&] { return make_color(any(), any(), any()) | (random() % 2 ? 0xFF000000u : 0u); },
         5000},
    };
    for (const Case& c : cases) {
        Palette palette{};
        std::ranges::generate(palette, c.entry);
        std::vector<Color> colors(c.count);
        std::ranges::generate(colors, c.colour);
        std::vector<std::uint32_t> positions(c.count);
        std::iota(positions.begin(), positions.end(), 1u);
        std::ranges::shuffle(positions, random);
        ColoursByCell by_cell(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            by_cell.add(colors[i], positions[i]);
        }
        by_cell.sort();
        std::vector<std::uint8_t> entries(c.count + 2, 0xAB);
        NearestEntryFinder(palette).nearest_all(by_cell, entries);
        for (std::size_t i = 0; i < c.count; ++i) {
            ASSERT_EQ(entries[positions[i]], testing::nearest_by_walk(palette, colors[i]))
                << c.name << ", colour " << std::hex << colors[i];
        }
        EXPECT_EQ(entries.front(), 0xAB) << c.name;
        EXPECT_EQ(entries.back(), 0xAB) << c.name;
    }
}

}  // namespace
}  // namespace vlt
