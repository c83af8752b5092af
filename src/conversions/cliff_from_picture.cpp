#include "conversions/cliff_from_picture.h"

#include <array>
#include <cstdlib>
#include <memory>

#include "conversions/close_entry_finder.h"
#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

constexpr int tolerance = 10;  // channels must differ by less than this
static_assert(CloseEntryFinder::none == 256);

bool channel_close(int pixel, int entry) {
    return std::abs(pixel - entry) < tolerance;
}

}  // namespace

bool is_close_color(Color pixel, Color entry) {
    return channel_close(red_of(pixel), red_of(entry)) &&
           channel_close(green_of(pixel), green_of(entry)) &&
           channel_close(blue_of(pixel), blue_of(entry));
}

std::uint8_t first_close_entry(const Palette& palette, Color color) {
    for (int i = 0; i < palette_size; ++i) {
        if (is_close_color(color, palette[static_cast<std::size_t>(i)])) {
            return static_cast<std::uint8_t>(i);
        }
    }
    return 0;
}

CliffReport cliff_from_picture(Workspace& workspace, const Bitmap& picture) {
    // The same answers as first_close_entry, found without walking the palette per pixel.
    const auto finder = std::make_unique<CloseEntryFinder>(workspace.pal_colors);
    std::uint64_t unmatched = 0;  // a local, which the byte stores cannot alias
    std::array<Color, cliff_width> row{};
    for (int y = 0; y < cliff_height; ++y) {
        read_pixel_row(picture, y, row);
        for (int x = 0; x < cliff_width; ++x) {
            // No close entry is 256: its low byte is index 0, and its ninth bit counts it.
            const auto found =
                static_cast<unsigned>(finder->find(row[static_cast<std::size_t>(x)]));
            unmatched += found >> 8;
            workspace.cliff_data[static_cast<std::size_t>(y * cliff_width + x)] =
                static_cast<std::uint8_t>(found);
        }
    }
    return {unmatched, outside_read(picture, cliff_width, cliff_height)};
}

}  // namespace vlt
