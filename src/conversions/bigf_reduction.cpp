#include "conversions/bigf_reduction.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "conversions/colour_set.h"
#include "conversions/first_index_table.h"
#include "conversions/nearest_entry_finder.h"
#include "conversions/palette_quantizer.h"
#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

constexpr std::size_t texel_count = std::size_t{bigf_width} * bigf_height;
constexpr int chosen_entries = bigf_rebuilt_entries - 1;  // 1 to 111

// The texture's area of the picture, row by row, as pixel reads give it.
std::vector<Color> read_texels(const Bitmap& picture) {
    std::vector<Color> texels(texel_count);
    for (int y = 0; y < bigf_height; ++y) {
        read_pixel_row(
            picture, y,
            std::span(texels).subspan(static_cast<std::size_t>(y) * bigf_width, bigf_width));
    }
    return texels;
}

// The palette as the plain import starts from: entries 0 to 111 black.
Palette reset_palette(const Palette& palette) {
    Palette reset = palette;
    std::fill_n(reset.begin(), bigf_rebuilt_entries, Color{0});
    return reset;
}

// How many distinct colours of the texels no entry of the palette holds.
std::uint64_t colours_not_in(const Palette& palette, std::span<const Color> texels) {
    FirstIndexTable known(palette);
    ColourSet absent;
    for (const Color c : texels) {
        if (known.find(c) == FirstIndexTable::unknown && absent.insert(c) &&
            known.can_remember_absent()) {
            known.add(c, FirstIndexTable::no_entry);
        }
    }
    return absent.size();
}

// Entry 0 and entries 112 to 255, each colour once, as the quantizer takes them.
std::vector<Color> fixed_colours(const Palette& palette) {
    std::vector<Color> fixed;
    auto keep = [&fixed](Color c) {
        const Color rgb = make_color(red_of(c), green_of(c), blue_of(c));
        if (std::find(fixed.begin(), fixed.end(), rgb) == fixed.end()) {
            fixed.push_back(rgb);
        }
    };
    keep(palette[0]);
    std::for_each(palette.begin() + bigf_rebuilt_entries, palette.end(), keep);
    return fixed;
}

int squared_distance(Color a, Color b) {
    const int dr = red_of(a) - red_of(b), dg = green_of(a) - green_of(b),
              db = blue_of(a) - blue_of(b);
    return dr * dr + dg * dg + db * db;
}

// Where each colour of the quantizer's palette went: a fixed colour to the first entry holding
// it, a colour of its own to the next of entries 1 to 111. Should more than 111 be its own (a
// fixed colour come back slightly changed), those nearest a fixed colour are left out and go to
// the entry nearest them.
std::vector<std::uint8_t> place_colours(Palette& palette, std::span<const Color> chosen) {
    const std::vector<Color> fixed = fixed_colours(palette);
    std::vector<std::size_t> own;
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        if (std::find(fixed.begin(), fixed.end(), chosen[i]) == fixed.end()) {
            own.push_back(i);
        }
    }
    auto nearest_fixed = [&](std::size_t i) {
        int best = 1 << 30;
        for (const Color f : fixed) {
            best = std::min(best, squared_distance(f, chosen[i]));
        }
        return best;
    };
    if (own.size() > static_cast<std::size_t>(chosen_entries)) {
        std::stable_sort(own.begin(), own.end(), [&](std::size_t a, std::size_t b) {
            return nearest_fixed(a) > nearest_fixed(b);
        });
        own.resize(static_cast<std::size_t>(chosen_entries));
    }
    std::fill_n(palette.begin(), bigf_rebuilt_entries, Color{0});
    for (std::size_t k = 0; k < own.size(); ++k) {
        palette[k + 1] = chosen[own[k]];
    }
    NearestEntryFinder nearest(palette);
    std::vector<std::uint8_t> entry_of(chosen.size());
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        entry_of[i] = nearest.nearest(chosen[i]);
    }
    return entry_of;
}

// Each texel's entry: the first that holds its colour, else the nearest or the dithered one.
void assign_entries(const Palette& palette, std::span<const Color> texels,
                    const QuantizerResult& quantized, std::span<const std::uint8_t> entry_of,
                    std::span<std::uint8_t> indices) {
    const FirstIndexTable exact(palette);
    NearestEntryFinder nearest(palette);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        const int found = exact.find(texels[i]);
        if (found != FirstIndexTable::unknown) {
            indices[i] = static_cast<std::uint8_t>(found);
        } else if (!quantized.indices.empty()) {
            indices[i] = entry_of[quantized.indices[i]];
        } else {
            indices[i] = nearest.nearest(texels[i]);
        }
    }
}

// Paints the rows whose pixels changed in their entries' colours; returns the mean RGB
// distance from the picture's own pixels to their entries' colours.
double paint_and_measure(Bitmap& picture, const Palette& palette, std::span<const Color> texels,
                         std::span<const std::uint8_t> indices) {
    const int width = std::min(picture.width(), bigf_width);
    const int height = std::min(picture.height(), bigf_height);
    double total = 0;
    std::vector<Color> row(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        bool changed = false;
        for (int x = 0; x < width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * bigf_width + x;
            row[static_cast<std::size_t>(x)] = palette[indices[i]];
            if (palette[indices[i]] != texels[i]) {
                changed = true;
                total += std::sqrt(squared_distance(palette[indices[i]], texels[i]));
            }
        }
        if (changed) {
            write_pixel_row(picture, y, row);
        }
    }
    const double pixels = static_cast<double>(width) * std::max(height, 0);
    return pixels > 0 ? total / pixels : 0.0;
}

}  // namespace

BigfReport bigf_reduced_from_picture(Workspace& workspace, Bitmap& picture, bool dither) {
    const std::vector<Color> texels = read_texels(picture);
    Palette& palette = workspace.pal_colors;
    palette = reset_palette(palette);
    const std::uint64_t colours = colours_not_in(palette, texels);
    if (colours <= static_cast<std::uint64_t>(chosen_entries)) {
        return bigf_from_picture(workspace, picture, SurplusColours::black);
    }
    const std::vector<Color> fixed = fixed_colours(palette);
    const QuantizerResult quantized =
        quantize_palette({texels, bigf_width, bigf_height, fixed, chosen_entries, dither});
    const std::vector<std::uint8_t> entry_of = place_colours(palette, quantized.palette);
    assign_entries(palette, texels, quantized, entry_of, workspace.bigf_data);
    BigfReport report;
    report.outside = outside_read(picture, bigf_width, bigf_height);
    report.surplus = dither ? SurplusColours::reduced_dithered : SurplusColours::reduced;
    report.reduced_colours = colours;
    report.mean_error = paint_and_measure(picture, palette, texels, workspace.bigf_data);
    return report;
}

}  // namespace vlt
