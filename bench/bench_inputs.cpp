#include "bench_inputs.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <unordered_set>

#include <unistd.h>

#include "conversions/bigf_from_picture.h"
#include "pictures/bmp_writer.h"

namespace vlt::bench {
namespace {

constexpr std::uint32_t picture_seed = 1152;
constexpr std::uint32_t palette_seed = 256;

Color random_color(std::mt19937& random) {
    return static_cast<Color>(random() & 0x00FFFFFFu);
}

// Distinct real colours, none black and none among the palette's entries.
std::vector<Color> distinct_colors(std::size_t count, const Palette& avoid, std::mt19937& random) {
    std::unordered_set<Color> taken(avoid.begin(), avoid.end());
    taken.insert(0);
    std::vector<Color> colors;
    while (colors.size() < count) {
        const Color c = random_color(random);
        if (taken.insert(c).second) {
            colors.push_back(c);
        }
    }
    return colors;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

std::vector<RgbQuad> table_of(const Palette& palette) {
    std::vector<RgbQuad> table;
    for (const Color c : palette) {
        table.push_back({blue_of(c), green_of(c), red_of(c), 0});
    }
    return table;
}

// Rows bottom-up, each a series of (count, index) runs closed by an end of line; then the end
// of the bitmap.
std::vector<std::uint8_t> rle8_rows(std::mt19937& random) {
    std::vector<std::uint8_t> data;
    for (int row = 0; row < bigf_height; ++row) {
        int x = 0;
        while (x < bigf_width) {
            const int run = std::min<int>(1 + static_cast<int>(random() % 12), bigf_width - x);
            data.push_back(static_cast<std::uint8_t>(run));
            data.push_back(static_cast<std::uint8_t>(random()));
            x += run;
        }
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    return data;
}

}  // namespace

Palette random_palette(std::uint32_t seed) {
    std::mt19937 random(seed);
    Palette palette{};
    for (Color& c : palette) {
        c = random_color(random);
    }
    return palette;
}

Workspace random_workspace() {
    std::mt19937 random(palette_seed);
    Workspace workspace;
    workspace.pal_colors = random_palette(palette_seed);
    for (auto& index : workspace.bigf_data) {
        index = static_cast<std::uint8_t>(random());
    }
    for (auto& index : workspace.cliff_data) {
        index = static_cast<std::uint8_t>(random());
    }
    return workspace;
}

Bitmap bigf_worst_case_picture() {
    std::mt19937 random(picture_seed);
    const std::vector<Color> colors = distinct_colors(200, random_palette(palette_seed), random);
    Bitmap picture = Bitmap::make_display(bigf_width, bigf_height, 0);
    constexpr int kept = bigf_rebuilt_entries - 1;  // entries 1 to 111
    int n = 0;
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x, ++n) {
            const std::size_t k =
                n < kept ? static_cast<std::size_t>(n) : kept + random() % (colors.size() - kept);
            picture.set_pixel(x, y, colors[k]);
        }
    }
    return picture;
}

Bitmap bigf_all_distinct_picture() {
    std::mt19937 random(picture_seed + 3);
    const std::vector<Color> colors =
        distinct_colors(bigf_width * bigf_height, random_palette(palette_seed), random);
    Bitmap picture = Bitmap::make_display(bigf_width, bigf_height, 0);
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            picture.set_pixel(x, y, colors[static_cast<std::size_t>(y * bigf_width + x)]);
        }
    }
    return picture;
}

Bitmap bigf_typical_picture() {
    std::mt19937 random(picture_seed + 1);
    const std::vector<Color> colors = distinct_colors(100, random_palette(palette_seed), random);
    Bitmap picture = Bitmap::make_display(bigf_width, bigf_height, 0);
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            picture.set_pixel(x, y, colors[random() % colors.size()]);
        }
    }
    return picture;
}

Bitmap cliff_picture(const Palette& palette) {
    std::mt19937 random(picture_seed + 2);
    Bitmap picture = Bitmap::make_display(cliff_width, cliff_height, 0);
    auto nudge = [&random](std::uint8_t channel) {
        const int v = channel + static_cast<int>(random() % 25) - 12;
        return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    };
    for (int y = 0; y < cliff_height; ++y) {
        for (int x = 0; x < cliff_width; ++x) {
            const Color near = palette[random() % palette.size()];
            picture.set_pixel(
                x, y, make_color(nudge(red_of(near)), nudge(green_of(near)), nudge(blue_of(near))));
        }
    }
    return picture;
}

std::vector<std::uint8_t> bigf_bmp_bytes(int bits_per_pixel) {
    Bitmap source = bigf_typical_picture();
    if (bits_per_pixel == 32) {
        return encode_bmp(source);
    }
    Bitmap picture(bigf_width, bigf_height, bits_per_pixel);
    if (bits_per_pixel == 8) {
        std::mt19937 random(picture_seed + 3);
        picture.set_color_table(table_of(random_palette(palette_seed)));
        for (auto& index : picture.pixels()) {
            index = static_cast<std::uint8_t>(random());
        }
        return encode_bmp(picture);
    }
    for (int y = 0; y < bigf_height; ++y) {
        for (int x = 0; x < bigf_width; ++x) {
            picture.set_pixel(x, y, source.get_pixel(x, y));
        }
    }
    return encode_bmp(picture);
}

std::vector<std::uint8_t> bigf_rle8_bytes() {
    std::mt19937 random(picture_seed + 4);
    const std::vector<std::uint8_t> data = rle8_rows(random);
    const auto table = table_of(random_palette(palette_seed));
    constexpr std::uint32_t headers = 14 + 40 + 256 * 4;
    std::vector<std::uint8_t> out;
    put16(out, 0x4D42);
    put32(out, headers + static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, headers);
    put32(out, 40);
    put32(out, bigf_width);
    put32(out, bigf_height);
    put16(out, 1);
    put16(out, 8);
    put32(out, 1);  // BI_RLE8
    put32(out, static_cast<std::uint32_t>(data.size()));
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (const RgbQuad& q : table) {
        out.insert(out.end(), {q.blue, q.green, q.red, q.reserved});
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

ScratchDir::ScratchDir() {
    namespace fs = std::filesystem;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    path_ = base / ("vlt-bench-" + std::to_string(::getpid()));
    fs::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void write_bytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace vlt::bench
