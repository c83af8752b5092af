#include "pictures/drawing.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

// In an 8-bit picture each palette colour is stored as its nearest table entry. Found once per
// redraw for each of the 256 colours, instead of by a search of the table for every texel.
std::array<std::uint8_t, palette_size> nearest_entries(const Bitmap& picture,
                                                       const Palette& palette) {
    std::array<std::uint8_t, palette_size> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = picture.nearest_index(palette[i]);
    }
    return entries;
}

void redraw_8bit(std::span<const std::uint8_t> indices, int width, int height,
                 const Palette& palette, Bitmap& picture) {
    const auto entries = nearest_entries(picture, palette);
    const int rows = std::min(height, picture.height());
    const auto columns = static_cast<std::size_t>(std::min(width, picture.width()));
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* out = picture.row(y);
        for (std::size_t x = 0; x < columns; ++x) {
            out[x] = entries[row[x]];
        }
    }
}

void texture_redraw(std::span<const std::uint8_t> indices, int width, int height,
                    const Palette& palette, View& view) {
    Bitmap& picture = view.pixel_access();
    if (picture.bits_per_pixel() == 8) {
        redraw_8bit(indices, width, height, palette, picture);
        view.refresh();
        return;
    }
    // A row at a time: the picture's format is settled once per row, not once per pixel.
    std::vector<Color> colors(static_cast<std::size_t>(width));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * width;
        for (std::size_t x = 0; x < colors.size(); ++x) {
            colors[x] = palette[row[x]];
        }
        write_pixel_row(picture, y, colors);
    }
    view.refresh();
}

}  // namespace

void palette_redraw(const Workspace& workspace, View& pal) {
    Bitmap& picture = pal.pixel_access();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            picture.set_pixel(x, y, workspace.pal_colors[y * 16 + x]);
        }
    }
    pal.refresh();
}

void preview_redraw(View& pal, View& preview) {
    preview.stretch_draw(pal.bitmap_access());
    preview.refresh();
}

void bigf_redraw(const Workspace& workspace, View& bigf) {
    texture_redraw(workspace.bigf_data, bigf_width, bigf_height, workspace.pal_colors, bigf);
}

void cliff_redraw(const Workspace& workspace, View& cliff) {
    texture_redraw(workspace.cliff_data, cliff_width, cliff_height, workspace.pal_colors, cliff);
}

}  // namespace vlt
