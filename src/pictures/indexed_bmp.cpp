#include "pictures/indexed_bmp.h"

#include <algorithm>

#include "pictures/bitmap.h"
#include "pictures/bmp_writer.h"

namespace vlt {

std::vector<std::uint8_t> encode_indexed_bmp(std::span<const std::uint8_t> indices, int width,
                                             int height, const Palette& palette) {
    Bitmap picture(width, height, 8, RowOrder::bottom_up);
    const auto row_length = static_cast<std::size_t>(width);
    for (int y = 0; y < height; ++y) {
        const auto row = indices.subspan(static_cast<std::size_t>(y) * row_length, row_length);
        std::ranges::copy(row, picture.row(y));
    }
    std::vector<RgbQuad> table;
    table.reserve(palette.size());
    for (const Color c : palette) {
        table.push_back({blue_of(c), green_of(c), red_of(c), 0});
    }
    picture.set_color_table(std::move(table));
    return encode_bmp(picture);
}

}  // namespace vlt
