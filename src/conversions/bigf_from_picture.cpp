#include "conversions/bigf_from_picture.h"

#include <algorithm>
#include <optional>

namespace vlt {
namespace {

std::optional<int> find_exact(const Palette& palette, Color color) {
    for (int i = 0; i < palette_size; ++i) {
        if (palette[static_cast<std::size_t>(i)] == color) {
            return i;
        }
    }
    return std::nullopt;
}

}  // namespace

void bigf_from_picture(Workspace& workspace, View& bigf) {
    Palette& palette = workspace.pal_colors;
    std::fill_n(palette.begin(), bigf_rebuilt_entries, Color{0});
    int next_free = 1;  // entry 0 stays black
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            const Color color = bigf.get_pixel(x, y);
            int index = 0;
            if (const auto found = find_exact(palette, color)) {
                index = *found;
            } else if (next_free < bigf_rebuilt_entries) {
                palette[static_cast<std::size_t>(next_free)] = color;
                index = next_free++;
            } else {
                // No room left: the pixel shows what its index 0 stands for.
                bigf.set_pixel(x, y, 0);
            }
            workspace.bigf_data[static_cast<std::size_t>(y * bigf_width + x)] =
                static_cast<std::uint8_t>(index);
        }
    }
}

}  // namespace vlt
