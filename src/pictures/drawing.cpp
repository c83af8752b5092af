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

void draw_texture(std::span<const std::uint8_t> indices, int width, int height,
                  const Palette& palette, Bitmap& picture) {
    if (picture.bits_per_pixel() == 8) {
        redraw_8bit(indices, width, height, palette, picture);
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
}

// Each kind of draw by its own address: a draw owed is replaced by one of the same kind.
constexpr char texture_draw = 1;
constexpr char palette_draw = 2;
constexpr char preview_draw = 3;

// The view is drawn when it is next read, from copies of the indices and palette as they are
// now.
void texture_redraw(std::span<const std::uint8_t> indices, int width, int height,
                    const Palette& palette, View& view) {
    view.defer_draw(
        &texture_draw,
        [indices = std::vector<std::uint8_t>(indices.begin(), indices.end()), width, height,
         palette](Bitmap& picture) { draw_texture(indices, width, height, palette, picture); });
    view.refresh();
}

// Sources up to this size are copied for a stretch drawn later; larger ones are drawn at once.
constexpr std::size_t largest_deferred_source = std::size_t{64} << 10;

}  // namespace

void palette_redraw(const Workspace& workspace, View& pal) {
    pal.defer_draw(&palette_draw, [colors = workspace.pal_colors](Bitmap& picture) {
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                picture.set_pixel(x, y, colors[static_cast<std::size_t>(y * 16 + x)]);
            }
        }
    });
    pal.refresh();
}

void preview_redraw(View& pal, View& preview) {
    const Bitmap& source = pal.bitmap_access();
    if (source.empty() || source.pixels().size() > largest_deferred_source) {
        preview.stretch_draw(source);
    } else {
        const int width = preview.width(), height = preview.height();
        preview.defer_draw(&preview_draw, [source, width, height](Bitmap& target) {
            stretch_pixels(source, target, width, height);
        });
    }
    preview.refresh();
}

void bigf_redraw(const Workspace& workspace, View& bigf) {
    texture_redraw(workspace.bigf_data, bigf_width, bigf_height, workspace.pal_colors, bigf);
}

void cliff_redraw(const Workspace& workspace, View& cliff) {
    texture_redraw(workspace.cliff_data, cliff_width, cliff_height, workspace.pal_colors, cliff);
}

}  // namespace vlt
