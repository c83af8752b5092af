#include "pictures/drawing.h"

#include <span>
#include <vector>

#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

void texture_redraw(std::span<const std::uint8_t> indices, int width, int height,
                    const Palette& palette, View& view) {
    Bitmap& picture = view.pixel_access();
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
