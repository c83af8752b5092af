// The conversions' faster paths against the simple loops they replaced, on seeded random data.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <random>
#include <set>

#include "conversions/bigf_from_picture.h"
#include "conversions/cliff_builder.h"
#include "conversions/cliff_from_picture.h"
#include "conversions/picture_helpers.h"
#include "support/random_pictures.h"

namespace vlt {
namespace {

using testing::PictureFormat;
using testing::random_colors;
using testing::random_picture;

// The bigf conversion as first written: every pixel read through the view, the palette searched
// linearly from entry 0.
std::optional<int> find_linear(const Palette& palette, Color color) {
    for (int i = 0; i < palette_size; ++i) {
        if (palette[static_cast<std::size_t>(i)] == color) {
            return i;
        }
    }
    return std::nullopt;
}

BigfReport bigf_from_picture_linear(Workspace& workspace, View& bigf, SurplusColours surplus_to) {
    Palette& palette = workspace.pal_colors;
    std::fill_n(palette.begin(), bigf_rebuilt_entries, Color{0});
    int next_free = 1;
    BigfReport report;
    std::set<Color> surplus;
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            const Color color = bigf.get_pixel(x, y);
            int index = 0;
            if (const auto found = find_linear(palette, color)) {
                index = *found;
            } else if (next_free < bigf_rebuilt_entries) {
                palette[static_cast<std::size_t>(next_free)] = color;
                index = next_free++;
            } else {
                index = surplus_to == SurplusColours::nearest
                            ? testing::nearest_by_walk(palette, color)
                            : 0;
                bigf.set_pixel(x, y, palette[static_cast<std::size_t>(index)]);
                surplus.insert(color);
                ++report.surplus_pixels;
            }
            workspace.bigf_data[static_cast<std::size_t>(y * bigf_width + x)] =
                static_cast<std::uint8_t>(index);
        }
    }
    report.surplus_colours = surplus.size();
    return report;
}

// A palette whose kept entries repeat each other, repeat picture colours, and hold black and
// CLR_INVALID; stale values in the rebuilt block.
Palette tricky_palette(const std::vector<Color>& pool, std::mt19937& random) {
    Palette palette{};
    for (Color& c : palette) {
        c = static_cast<Color>(random());
    }
    for (int i = bigf_rebuilt_entries; i < palette_size; i += 3) {
        palette[static_cast<std::size_t>(i)] = pool[random() % pool.size()];
    }
    palette[120] = CLR_INVALID;
    palette[130] = 0;
    palette[200] = palette[150];
    return palette;
}

struct BigfCase {
    std::string name;
    PictureFormat format;
    int width;
    int height;
    std::size_t colors;  // in the picture's pool
};

void PrintTo(const BigfCase& c, std::ostream* out) {
    *out << c.name;
}

class BigfFastPath : public ::testing::TestWithParam<BigfCase> {};

TEST_P(BigfFastPath, EqualsLinearSearchPixelByPixel) {
    for (const SurplusColours surplus_to : {SurplusColours::black, SurplusColours::nearest}) {
        SCOPED_TRACE(surplus_to == SurplusColours::black ? "black" : "nearest");
        const BigfCase& c = GetParam();
        std::mt19937 random(static_cast<std::uint32_t>(c.width * 7 + c.colors));
        const auto pool = random_colors(c.colors, random);
        auto fast = std::make_unique<Workspace>();
        fast->pal_colors = tricky_palette(pool, random);
        auto simple = std::make_unique<Workspace>(*fast);
        View fast_view("bigf", bigf_width, bigf_height);
        if (c.width > 0) {
            fast_view.take_picture(random_picture(c.format, c.width, c.height, pool, random));
        }
        View simple_view("bigf", bigf_width, bigf_height);
        if (c.width > 0) {
            simple_view.take_picture(*fast_view.bitmap());
        }

        const BigfReport fast_report = bigf_from_picture(*fast, fast_view.pixels_for_change(), surplus_to);
        const BigfReport simple_report = bigf_from_picture_linear(*simple, simple_view, surplus_to);

        EXPECT_EQ(fast_report.surplus_colours, simple_report.surplus_colours);
        EXPECT_EQ(fast_report.surplus_pixels, simple_report.surplus_pixels);
        EXPECT_EQ(fast->pal_colors, simple->pal_colors);
        EXPECT_EQ(fast->bigf_data, simple->bigf_data);
        ASSERT_NE(fast_view.bitmap(), nullptr);
        EXPECT_TRUE(
            std::ranges::equal(fast_view.bitmap()->pixels(), simple_view.bitmap()->pixels()));
    }
}

const PictureFormat display{"display", 32};
const PictureFormat top_down{"top_down", 32, false, RowOrder::top_down};

INSTANTIATE_TEST_SUITE_P(
    Pictures, BigfFastPath,
    ::testing::Values(BigfCase{"RoomForAll", display, bigf_width, bigf_height, 90},
                      BigfCase{"Surplus", display, bigf_width, bigf_height, 200},
                      // More absent colours than the table remembers: they wait, and are
                      // answered together.
                      BigfCase{"ManySurplus", display, bigf_width, bigf_height, 5000},
                      BigfCase{"ManySurplusBits24", {"bits24", 24}, bigf_width, bigf_height, 5000},
                      BigfCase{"ManySurplusTopDown", top_down, bigf_width, bigf_height, 5000},
                      BigfCase{"ManySurplusBits16", {"bits16", 16}, bigf_width, bigf_height, 5000},
                      BigfCase{"ManySurplusSmaller", display, 200, 1000, 5000},
                      BigfCase{"ManySurplusLarger", display, 300, 1200, 5000},
                      // Rows below the picture read as CLR_INVALID, which waits too.
                      BigfCase{"ManySurplusShorter", display, 300, 600, 5000},
                      BigfCase{"TopDown", top_down, bigf_width, bigf_height, 200},
                      BigfCase{"Bits24", {"bits24", 24}, bigf_width, bigf_height, 200},
                      BigfCase{"Bits16", {"bits16", 16}, bigf_width, bigf_height, 200},
                      BigfCase{"Bits8", {"bits8", 8}, 50, 40, 200},
                      BigfCase{"Smaller", display, 100, 100, 200},
                      BigfCase{"Larger", display, 300, 1200, 200},
                      BigfCase{"NoPicture", display, 0, 0, 10}),
    [](const auto& info) { return info.param.name; });

// The cliff builder as first written: the shade searched again for every row of a column.
void build_cliff_every_row(Workspace& workspace) {
    for (int x = 0; x < cliff_width; ++x) {
        for (int y = 0; y < cliff_height; ++y) {
            std::uint8_t index = static_cast<std::uint8_t>(x);
            if (y >= 18 && y <= 40) {
                index = shaded_index(workspace.pal_colors, x);
            }
            workspace.cliff_data[static_cast<std::size_t>(y * cliff_width + x)] = index;
        }
    }
    for (int y = 40; y < cliff_height; ++y) {
        for (int x = 0; x < cliff_width; ++x) {
            workspace.cliff_data[static_cast<std::size_t>(y * cliff_width + x)] =
                static_cast<std::uint8_t>(132 + (y - 40) / 5);
        }
    }
}

TEST(CliffBuilderFastPath, EqualsSearchingEveryRow) {
    std::mt19937 random(128);
    for (int round = 0; round < 10; ++round) {
        auto fast = std::make_unique<Workspace>();
        // Colours on a coarse grid, so that darkened colours find entries at every tolerance.
        for (Color& c : fast->pal_colors) {
            c = make_color(static_cast<std::uint8_t>(random() % 8 * 30),
                           static_cast<std::uint8_t>(random() % 8 * 30),
                           static_cast<std::uint8_t>(random() % 3 * 100));
        }
        auto simple = std::make_unique<Workspace>(*fast);
        build_cliff(*fast);
        build_cliff_every_row(*simple);
        ASSERT_EQ(fast->cliff_data, simple->cliff_data) << "round " << round;
    }
}

// Entries bunched near each other and near both ends of each channel, some with a top byte.
Palette bunched_palette(std::mt19937& random) {
    Palette palette{};
    for (Color& c : palette) {
        auto channel = [&random] {
            const int base = std::array{0, 5, 128, 250, 255}[random() % 5];
            return static_cast<std::uint8_t>(
                std::clamp(base + static_cast<int>(random() % 21) - 10, 0, 255));
        };
        c = make_color(channel(), channel(), channel());
        if (random() % 8 == 0) {
            c |= 0xFF000000u;
        }
    }
    return palette;
}

// The cliff conversion as first written: every pixel read through the view and the palette
// walked from entry 0.
CliffReport cliff_from_picture_walk(Workspace& workspace, View& cliff) {
    CliffReport report;
    for (int y = 0; y < cliff_height; ++y) {
        for (int x = 0; x < cliff_width; ++x) {
            const Color color = cliff.get_pixel(x, y);
            workspace.cliff_data[static_cast<std::size_t>(y * cliff_width + x)] =
                first_close_entry(workspace.pal_colors, color);
            report.unmatched_pixels +=
                std::ranges::none_of(workspace.pal_colors,
                                     [color](Color entry) { return is_close_color(color, entry); })
                    ? 1
                    : 0;
        }
    }
    return report;
}

TEST(CliffConversionFastPath, EqualsWalkingThePalettePerPixel) {
    std::mt19937 random(64);
    for (const auto& format : testing::all_picture_formats()) {
        for (const auto& [width, height] : {std::pair{128, 64}, {90, 40}, {150, 80}}) {
            auto fast = std::make_unique<Workspace>();
            fast->pal_colors = bunched_palette(random);
            std::vector<Color> pool;
            for (int i = 0; i < 64; ++i) {
                pool.push_back(bunched_palette(random)[0] & 0x00FFFFFFu);
            }
            auto simple = std::make_unique<Workspace>(*fast);
            View fast_view("cliff", cliff_width, cliff_height);
            fast_view.take_picture(random_picture(format, width, height, pool, random));
            View simple_view("cliff", cliff_width, cliff_height);
            simple_view.take_picture(*fast_view.bitmap());
            const CliffReport fast_report = cliff_from_picture(*fast, fast_view.pixels_for_change());
            const CliffReport simple_report = cliff_from_picture_walk(*simple, simple_view);
            ASSERT_EQ(fast->cliff_data, simple->cliff_data) << format.name << " " << width;
            ASSERT_EQ(fast_report.unmatched_pixels, simple_report.unmatched_pixels) << width;
        }
    }
}

}  // namespace
}  // namespace vlt
