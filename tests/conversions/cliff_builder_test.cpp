#include "conversions/cliff_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace vlt {
namespace {

std::uint8_t texel(const Workspace& w, int x, int y) {
    return w.cliff_data[static_cast<std::size_t>(y * cliff_width + x)];
}

// A palette in which nothing matches a dark grey target: every entry is pure blue.
Palette blue_palette() {
    Palette palette;
    palette.fill(make_color(0, 0, 255));
    return palette;
}

TEST(FindPalIndex, LastMatchInColumnOrderWins) {
    Palette palette = blue_palette();
    const Color grey = make_color(80, 80, 80);
    struct Tie {
        int first, second, winner;
    };
    for (const Tie tie :
         {Tie{5, 21, 21}, Tie{5, 6, 6}, Tie{21, 6, 6}, Tie{240, 1, 1}, Tie{255, 254, 255}}) {
        Palette p = palette;
        p[static_cast<std::size_t>(tie.first)] = grey;
        p[static_cast<std::size_t>(tie.second)] = grey;
        EXPECT_EQ(find_pal_index(p, 80, 80, 80, 0, 0, 0, 0, 0, 0), tie.winner)
            << tie.first << " vs " << tie.second;
    }
    EXPECT_EQ(find_pal_index(palette, 80, 80, 80, 50, 50, 50, 50, 50, 50), 0);
}

TEST(FindPalIndex, TolerancesAreSeparateBelowAndAbove) {
    Palette palette = blue_palette();
    palette[9] = make_color(100, 100, 100);
    struct Case {
        std::uint8_t r, g, b, rb, ra, gb, ga, bb, ba;
        std::uint8_t expected;
    };
    for (const Case c : {
             Case{90, 100, 100, 10, 0, 0, 0, 0, 0, 9},   // red 10 below
             Case{89, 100, 100, 10, 0, 0, 0, 0, 0, 0},   // red 11 below
             Case{101, 100, 100, 10, 0, 0, 0, 0, 0, 0},  // red above, none allowed
             Case{110, 100, 100, 0, 10, 0, 0, 0, 0, 9},  // red 10 above
             Case{100, 95, 100, 0, 0, 5, 0, 0, 0, 9},    // green below
             Case{100, 105, 100, 0, 0, 5, 0, 0, 0, 0},   // green above, none allowed
             Case{100, 100, 99, 0, 0, 0, 0, 0, 0, 0},    // blue must be equal
             Case{100, 100, 250, 0, 0, 0, 0, 0, 255, 9}  // no wrap-around with wide limits
         }) {
        EXPECT_EQ(find_pal_index(palette, c.r, c.g, c.b, c.rb, c.ra, c.gb, c.ga, c.bb, c.ba),
                  c.expected)
            << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
}

void expect_rows_outside_shade(const Workspace& w) {
    constexpr std::array<std::uint8_t, 5> bands{132, 133, 134, 135, 136};
    for (int x = 0; x < cliff_width; ++x) {
        for (int y = 0; y < 18; ++y) {
            ASSERT_EQ(texel(w, x, y), x) << x << "," << y;
        }
        for (int y = 40; y < cliff_height; ++y) {
            ASSERT_EQ(texel(w, x, y), bands[static_cast<std::size_t>((y - 40) / 5)])
                << x << "," << y;
        }
    }
}

TEST(BuildCliff, EmptyPaletteShadesWithEntry255) {
    auto w = std::make_unique<Workspace>();
    w->cliff_data.fill(7);
    build_cliff(*w);
    expect_rows_outside_shade(*w);
    for (int x = 0; x < cliff_width; ++x) {
        for (int y = 18; y < 40; ++y) {
            ASSERT_EQ(texel(*w, x, y), 255) << x << "," << y;
        }
    }
}

TEST(BuildCliff, ShadedBandFindsTheDarkerEntryOrKeepsTheColumn) {
    auto w = std::make_unique<Workspace>();
    w->pal_colors = blue_palette();
    w->pal_colors[5] = make_color(100, 100, 100);   // target (80, 80, 80)
    w->pal_colors[77] = make_color(85, 82, 80);     // within t = 10, green above the target
    w->pal_colors[10] = make_color(15, 19, 3);      // target (0, 0, 0)
    w->pal_colors[30] = make_color(0, 5, 0);        // matches (0, 0, 0)
    w->pal_colors[40] = make_color(100, 100, 100);  // target (80, 80, 80) as well
    const Palette before = w->pal_colors;

    build_cliff(*w);

    expect_rows_outside_shade(*w);
    EXPECT_EQ(w->pal_colors, before);
    for (int y = 18; y < 40; ++y) {
        ASSERT_EQ(texel(*w, 5, y), 77) << y;
        ASSERT_EQ(texel(*w, 10, y), 30) << y;
        ASSERT_EQ(texel(*w, 3, y), 3) << y;  // blue 235 matches nothing
    }

    w->pal_colors[77] = make_color(85, 78, 80);  // the target green may not lie above
    build_cliff(*w);
    EXPECT_EQ(texel(*w, 5, 18), 5);
    EXPECT_EQ(texel(*w, 5, 39), 5);
}

TEST(BuildCliff, WiderToleranceIsTriedOnlyWhenNarrowerFindsNothing) {
    auto w = std::make_unique<Workspace>();
    w->pal_colors = blue_palette();
    w->pal_colors[2] = make_color(120, 120, 120);  // target (100, 100, 100)
    w->pal_colors[16] = make_color(60, 100, 100);  // red 40 away: found only at t = 50
    w->pal_colors[33] = make_color(88, 100, 100);  // red 12 away: found at t = 15
    build_cliff(*w);
    EXPECT_EQ(texel(*w, 2, 20), 33);
    w->pal_colors[33] = make_color(0, 0, 0);
    build_cliff(*w);
    EXPECT_EQ(texel(*w, 2, 20), 16);
}

}  // namespace
}  // namespace vlt
