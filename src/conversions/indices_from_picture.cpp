#include "conversions/indices_from_picture.h"

#include <algorithm>
#include <array>
#include <string>

#include "base/errors.h"

namespace vlt {
namespace {

std::string size_text(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

void check_importable(const Bitmap& picture, const IndexTarget& target) {
    const std::string wanted = std::string(target.command) + " takes an indexed picture of " +
                               size_text(target.width, target.height);
    const int bits = picture.bits_per_pixel();
    if (bits > 8 || picture.color_table().empty()) {
        throw Exception("The picture is not indexed: " + wanted + "; " +
                        std::string(target.other_import) + " takes true-colour pictures.");
    }
    if (picture.width() != target.width || picture.height() != target.height) {
        throw Exception("The picture is " + size_text(picture.width(), picture.height()) + ": " +
                        wanted + "; " + std::string(target.other_import) +
                        " takes pictures of other sizes.");
    }
}

// Where each table index goes, and whether its colour is missing from the palette.
struct IndexMap {
    std::array<std::uint8_t, 256> to{};
    std::array<bool, 256> other_colour{};
};

IndexMap map_to(const std::vector<RgbQuad>& table, const Palette& palette) {
    IndexMap map;
    for (std::size_t i = 0; i < map.to.size(); ++i) {
        map.to[i] = static_cast<std::uint8_t>(i);
        if (i >= table.size()) {
            map.other_colour[i] = true;  // no colour of its own in the picture
            continue;
        }
        const Color colour = make_color(table[i].red, table[i].green, table[i].blue);
        if (palette[i] == colour) {
            continue;
        }
        const auto same = std::ranges::find(palette, colour);
        if (same != palette.end()) {
            map.to[i] = static_cast<std::uint8_t>(same - palette.begin());
        } else {
            map.other_colour[i] = true;
        }
    }
    return map;
}

std::uint8_t index_at(const Bitmap& picture, const std::uint8_t* row, int x) {
    const int bits = picture.bits_per_pixel();
    const int per_byte = 8 / bits;
    const int shift = 8 - bits * (x % per_byte + 1);
    return static_cast<std::uint8_t>((row[x / per_byte] >> shift) & ((1u << bits) - 1));
}

}  // namespace

IndicesReport indices_from_picture(const Bitmap& picture, const IndexTarget& target,
                                   Palette& palette, PictureTable table) {
    check_importable(picture, target);
    const std::vector<RgbQuad>& entries = picture.color_table();
    IndexMap map;
    if (table == PictureTable::take_into_palette) {
        for (std::size_t i = 0; i < map.to.size(); ++i) {
            map.to[i] = static_cast<std::uint8_t>(i);
        }
        for (std::size_t i = 0; i < entries.size() && i < palette.size(); ++i) {
            palette[i] = make_color(entries[i].red, entries[i].green, entries[i].blue);
        }
    } else {
        map = map_to(entries, palette);
    }
    IndicesReport report;
    for (int y = 0; y < target.height; ++y) {
        const std::uint8_t* row = picture.row(y);
        std::uint8_t* out = target.indices.data() + static_cast<std::size_t>(y) * target.width;
        for (int x = 0; x < target.width; ++x) {
            const std::uint8_t index = index_at(picture, row, x);
            out[x] = map.to[index];
            report.other_colour_pixels += map.other_colour[index] ? 1 : 0;
        }
    }
    return report;
}

}  // namespace vlt
