#include "conversions/colours_by_cell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>
#include <vector>

#include "conversions/colour_filter.h"

namespace vlt {
namespace {

// Each cell holds exactly the colours that lie in it, each with its own position, and the
// count of distinct colours is what a set of them holds, those with a top byte as one.
TEST(ColoursByCell, GroupsEveryColourInItsCellAndCountsTheDistinct) {
    std::mt19937 random(31);
    auto next = [&random] { return static_cast<Color>(random()); };
    struct Case {
        const char* name;
        std::function<Color()> colour;
        std::size_t count;
    };
    const std::vector<Case> cases = {
        {"none", [] { return Color{0}; }, 0},
        {"few, repeated", [&] { return 0x00102030u + next() % 7; }, 1000},
        // The corners of one cell: a cell is 32 values of each channel wide.
        {"one cell's corners", [&] { return 0x00E0E0E0u | (next() % 2 ? 0x001F1F1Fu : 0u); }, 50},
        {"anywhere", [&] { return next() & 0x00FFFFFFu; }, 100000},
        {"with a top byte", [&] { return next() % 2 ? 0xFF000000u | next() % 3 : next() % 3; }, 500},
        {"only with a top byte", [&] { return 0x01000000u | next(); }, 30},
    };
    for (const Case& c : cases) {
        std::vector<Color> colors(c.count);
        std::ranges::generate(colors, c.colour);
        ColoursByCell by_cell(c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            by_cell.add(colors[i], static_cast<std::uint32_t>(i));
        }
        by_cell.sort();
        std::vector<int> seen(c.count);
        for (std::size_t cell = 0; cell < ColoursByCell::cells; ++cell) {
            ASSERT_EQ(by_cell.colors(cell).size(), by_cell.positions(cell).size());
            for (std::size_t k = 0; k < by_cell.colors(cell).size(); ++k) {
                const std::uint32_t position = by_cell.positions(cell)[k];
                ASSERT_EQ(by_cell.colors(cell)[k], colors[position]) << c.name;
                ASSERT_EQ(ColoursByCell::cell_of(colors[position]), cell) << c.name;
                ++seen[position];
            }
        }
        EXPECT_EQ(std::ranges::count(seen, 1), static_cast<std::ptrdiff_t>(c.count)) << c.name;
        std::set<Color> distinct;
        for (const Color colour : colors) {
            distinct.insert(colour > 0x00FFFFFFu ? CLR_INVALID : colour);
        }
        EXPECT_EQ(by_cell.distinct(), distinct.size()) << c.name;
    }
}

TEST(ColoursByCell, CellsFollowTheChannels) {
    EXPECT_EQ(ColoursByCell::cell_of(make_color(0, 0, 0)), 0u);
    EXPECT_EQ(ColoursByCell::cell_of(make_color(31, 31, 31) | 0xFF000000u), 0u);
    EXPECT_EQ(ColoursByCell::cell_of(make_color(0, 0, 32)), 1u);
    EXPECT_EQ(ColoursByCell::cell_of(make_color(0, 32, 0)), 8u);
    EXPECT_EQ(ColoursByCell::cell_of(make_color(32, 0, 0)), 64u);
    EXPECT_EQ(ColoursByCell::cell_of(make_color(255, 255, 255)), ColoursByCell::cells - 1);
}

// A filter may say a colour was added that was not, but never the other way.
TEST(ColourFilter, HoldsEveryColourAdded) {
    std::mt19937 random(32);
    ColourFilter filter;
    std::vector<Color> added(600);
    std::ranges::generate(added, [&random] { return static_cast<Color>(random()); });
    added.push_back(CLR_INVALID);
    added.push_back(0);
    int false_alarms = 0;
    for (std::size_t i = 0; i < added.size(); ++i) {
        false_alarms += filter.may_hold(added[i]) ? 1 : 0;
        filter.add(added[i]);
        for (std::size_t k = 0; k <= i; ++k) {
            ASSERT_TRUE(filter.may_hold(added[k])) << i << " " << k;
        }
    }
    EXPECT_LT(false_alarms, 20);
}

}  // namespace
}  // namespace vlt
