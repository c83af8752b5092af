#include "conversions/bigf_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>

#include "conversions/picture_helpers.h"

namespace vlt {
namespace {

// Entries 112 to 255 as a loaded palette leaves them: seeded colours.
Palette seeded_palette() {
    Palette palette{};
    std::mt19937 random(11);
    for (int i = bigf_rebuilt_entries; i < palette_size; ++i) {
        palette[static_cast<std::size_t>(i)] = random() & 0x00FFFFFFu;
    }
    return palette;
}

// A few thousand colours: two gradients with noise, hue bands, and every 97th pixel one of the
// kept entries' colours.
Color gradient_and_noise(int x, int y, const Palette& palette) {
    const auto i = static_cast<std::uint32_t>(y * bigf_width + x);
    if (i % 97 == 0) {
        return palette[bigf_rebuilt_entries + i / 97 % (palette_size - bigf_rebuilt_entries)];
    }
    const std::uint32_t noise = (i * 2654435761u) >> 28;  // 0 to 15
    return make_color(static_cast<std::uint8_t>(8 * (x / 16) + noise % 2),
                      static_cast<std::uint8_t>(8 * (y / 72) + noise / 2 % 2),
                      static_cast<std::uint8_t>(64 + 16 * ((x + 2 * y) / 128 % 9)));
}

double mean_error(const Workspace& workspace, const std::vector<Color>& picture) {
    double total = 0;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const Color e = workspace.pal_colors[workspace.bigf_data[i]], c = picture[i];
        const int dr = red_of(e) - red_of(c), dg = green_of(e) - green_of(c),
                  db = blue_of(e) - blue_of(c);
        total += std::sqrt(dr * dr + dg * dg + db * db);
    }
    return total / static_cast<double>(picture.size());
}

class BigfReduction : public ::testing::TestWithParam<bool> {
protected:
    void import(SurplusColours surplus) {
        workspace = std::make_unique<Workspace>();
        workspace->pal_colors = seeded_palette();
        testing::put_picture(bigf, bigf_width, bigf_height, [this](int x, int y) {
            return gradient_and_noise(x, y, workspace->pal_colors);
        });
        picture.clear();
        for (int y = 0; y < bigf_height; ++y) {
            for (int x = 0; x < bigf_width; ++x) {
                picture.push_back(bigf.get_pixel(x, y));
            }
        }
        report = bigf_from_picture(*workspace, bigf.pixels_for_change(), surplus);
    }

    std::unique_ptr<Workspace> workspace;
    View bigf{"bigf", bigf_width, bigf_height};
    std::vector<Color> picture;
    BigfReport report;
};

TEST_F(BigfReduction, ErrorIsWellUnderThatOfTheNearestImportAndReported) {
    import(SurplusColours::nearest);
    const double nearest = mean_error(*workspace, picture);
    import(SurplusColours::reduced);
    const double reduced = mean_error(*workspace, picture);
    EXPECT_LT(reduced, 0.5 * nearest) << "nearest " << nearest;
    EXPECT_NEAR(report.mean_error, reduced, 0.01);
    EXPECT_EQ(report.surplus_pixels, 0u);
    std::set<Color> absent(picture.begin(), picture.end());
    for (int i = bigf_rebuilt_entries; i < palette_size; ++i) {
        absent.erase(workspace->pal_colors[static_cast<std::size_t>(i)]);
    }
    absent.erase(0);
    EXPECT_EQ(report.reduced_colours, absent.size());
    EXPECT_GT(absent.size(), 2000u);
}

// Entry 0 and the kept entries stay; a colour an entry holds keeps the first such entry; the
// rest take the nearest entry unless dithered; the view shows every texel's entry.
TEST_P(BigfReduction, KeepsFixedEntriesAndPaletteColoursAndShowsTheResult) {
    const bool dither = GetParam();
    import(dither ? SurplusColours::reduced_dithered : SurplusColours::reduced);
    const Palette& palette = workspace->pal_colors;
    const Palette before = seeded_palette();
    EXPECT_EQ(palette[0], 0u);
    for (int i = bigf_rebuilt_entries; i < palette_size; ++i) {
        ASSERT_EQ(palette[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(i)]) << i;
    }
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const auto first = std::find(palette.begin(), palette.end(), picture[i]);
        const int index = workspace->bigf_data[i];
        if (first != palette.end()) {
            ASSERT_EQ(index, first - palette.begin()) << "texel " << i;
        } else if (!dither && i % 7 == 0) {
            ASSERT_EQ(index, testing::nearest_by_walk(palette, picture[i])) << "texel " << i;
        }
        const int x = static_cast<int>(i % bigf_width), y = static_cast<int>(i / bigf_width);
        ASSERT_EQ(bigf.get_pixel(x, y), palette[static_cast<std::size_t>(index)]) << "texel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Dither, BigfReduction, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "dithered" : "plain"; });

// Pictures whose colours fit come out byte for byte as the plain import makes them.
TEST(BigfReductionFit, FittingPicturesImportAsThePlainImportDoes) {
    const struct {
        const char* name;
        int width, height;
        Color (*pixel)(int, int);
    } cases[] = {
        {"solid", bigf_width, bigf_height, [](int, int) { return Color{0x00336699}; }},
        {"111 colours", bigf_width, bigf_height,
         [](int x, int y) { return make_color(static_cast<std::uint8_t>((x + y) % 111), 1, 2); }},
        {"110 colours and a kept entry's", bigf_width, bigf_height,
         [](int x, int y) {
             return x == 5 ? Color{0x00ABCDEF}
                           : make_color(static_cast<std::uint8_t>(y % 110), 3, 4);
         }},
        {"small, outside read", 100, 100,
         [](int x, int) { return make_color(static_cast<std::uint8_t>(x), 5, 6); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto plain = std::make_unique<Workspace>(), reduced = std::make_unique<Workspace>();
        plain->pal_colors[200] = reduced->pal_colors[200] = 0x00ABCDEF;
        View plain_view{"bigf", bigf_width, bigf_height},
            reduced_view{"bigf", bigf_width, bigf_height};
        testing::put_picture(plain_view, c.width, c.height, c.pixel);
        testing::put_picture(reduced_view, c.width, c.height, c.pixel);

        bigf_from_picture(*plain, plain_view.pixels_for_change(), SurplusColours::black);
        const BigfReport report = bigf_reduced_from_picture(*reduced, reduced_view.pixels_for_change(), true);

        EXPECT_EQ(reduced->pal_colors, plain->pal_colors);
        EXPECT_EQ(reduced->bigf_data, plain->bigf_data);
        const auto pixels = [](View& view) {
            const auto bytes = view.pixels_for_change().pixels();
            return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
        };
        EXPECT_EQ(pixels(reduced_view), pixels(plain_view));
        EXPECT_EQ(report.reduced_colours, 0u);
    }
}

}  // namespace
}  // namespace vlt
