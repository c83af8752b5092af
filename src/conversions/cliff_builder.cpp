#include "conversions/cliff_builder.h"

#include <array>

namespace vlt {
namespace {

constexpr int shade_first_row = 18;
constexpr int shade_last_row = 40;  // overwritten by the first ground band
constexpr int shade_step = 20;
constexpr std::array<std::uint8_t, 4> shade_tolerances{10, 15, 25, 50};

struct GroundBand {
    int first_row;
    int last_row;
    std::uint8_t index;
};
constexpr std::array<GroundBand, 5> ground_bands{{
    {40, 44, 132},
    {45, 49, 133},
    {50, 54, 134},
    {55, 59, 135},
    {60, 63, 136},
}};

bool channel_matches(int target, int entry, int below, int above) {
    return entry - below <= target && target <= entry + above;
}

std::uint8_t darken(std::uint8_t channel) {
    return channel < shade_step ? 0 : static_cast<std::uint8_t>(channel - shade_step);
}

void set_texel(Workspace& workspace, int x, int y, std::uint8_t index) {
    workspace.cliff_data[static_cast<std::size_t>(y * cliff_width + x)] = index;
}

}  // namespace

std::uint8_t find_pal_index(const Palette& palette, std::uint8_t red, std::uint8_t green,
                            std::uint8_t blue, std::uint8_t red_below, std::uint8_t red_above,
                            std::uint8_t green_below, std::uint8_t green_above,
                            std::uint8_t blue_below, std::uint8_t blue_above) {
    std::uint8_t result = 0;
    for (int column = 0; column < 16; ++column) {
        for (int row = 0; row < 16; ++row) {
            const int index = row * 16 + column;
            const Color entry = palette[static_cast<std::size_t>(index)];
            if (channel_matches(red, red_of(entry), red_below, red_above) &&
                channel_matches(green, green_of(entry), green_below, green_above) &&
                channel_matches(blue, blue_of(entry), blue_below, blue_above)) {
                result = static_cast<std::uint8_t>(index);  // the last match wins
            }
        }
    }
    return result;
}

std::uint8_t shaded_index(const Palette& palette, int column) {
    const Color source = palette[static_cast<std::size_t>(column)];
    const std::uint8_t red = darken(red_of(source));
    const std::uint8_t green = darken(green_of(source));
    const std::uint8_t blue = darken(blue_of(source));
    for (const std::uint8_t t : shade_tolerances) {
        if (const std::uint8_t found =
                find_pal_index(palette, red, green, blue, t, t, t, 0, 0, 0)) {
            return found;
        }
    }
    return static_cast<std::uint8_t>(column);
}

void build_cliff(Workspace& workspace) {
    for (int x = 0; x < cliff_width; ++x) {
        for (int y = 0; y < cliff_height; ++y) {
            set_texel(workspace, x, y, static_cast<std::uint8_t>(x));
        }
    }
    // Every row of a column gets the same shade, so it is searched for once per column.
    for (int x = 0; x < cliff_width; ++x) {
        const std::uint8_t shade = shaded_index(workspace.pal_colors, x);
        for (int y = shade_first_row; y <= shade_last_row; ++y) {
            set_texel(workspace, x, y, shade);
        }
    }
    for (const GroundBand& band : ground_bands) {
        for (int y = band.first_row; y <= band.last_row; ++y) {
            for (int x = 0; x < cliff_width; ++x) {
                set_texel(workspace, x, y, band.index);
            }
        }
    }
}

}  // namespace vlt
