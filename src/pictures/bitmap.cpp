#include "pictures/bitmap.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "base/page_readying.h"

namespace vlt {
namespace {

std::uint16_t load16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t load32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void store16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void store32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

Color color_of(const RgbQuad& q) {
    return make_color(q.red, q.green, q.blue);
}

}  // namespace

std::size_t Bitmap::row_stride_for(std::int64_t width, int bits_per_pixel) {
    return static_cast<std::size_t>((width * bits_per_pixel + 31) / 32 * 4);
}

Bitmap::Bitmap(int width, int height, int bits_per_pixel, RowOrder order)
    : Bitmap(
          width, height, bits_per_pixel, order,
          PixelStore(row_stride_for(width, bits_per_pixel) * static_cast<std::size_t>(height), 0)) {
}

Bitmap::Bitmap(int width, int height, int bits_per_pixel, RowOrder order, PixelStore pixels)
    : width_(width),
      height_(height),
      bits_(bits_per_pixel),
      order_(order),
      stride_(row_stride_for(width, bits_per_pixel)),
      pixels_(std::move(pixels)) {
    update_channels();
}

Bitmap Bitmap::make_display(int width, int height, Color fill) {
    // Every byte is written below, so the store is not cleared first.
    Bitmap picture(width, height, 32, RowOrder::bottom_up,
                   PixelStore(row_stride_for(width, 32) * static_cast<std::size_t>(height)));
    ready_pages_for_writing(picture.pixels_);
    const std::uint8_t pixel[4] = {blue_of(fill), green_of(fill), red_of(fill), 0};
    for (std::size_t i = 0; i < picture.pixels_.size(); i += 4) {
        std::copy(pixel, pixel + 4, picture.pixels_.data() + i);
    }
    return picture;
}

void Bitmap::set_bitfields(const BitMasks& masks) {
    compression_ = Compression::bitfields;
    masks_ = masks;
    update_channels();
}

void Bitmap::set_color_table(std::vector<RgbQuad> table) {
    table_ = std::move(table);
}

void Bitmap::update_channels() {
    BitMasks m = masks_;
    if (compression_ == Compression::rgb) {
        m = bits_ == 16 ? BitMasks{0x7C00, 0x03E0, 0x001F} : BitMasks{0xFF0000, 0xFF00, 0xFF};
    }
    auto channel = [](std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask != 0) {
            c.shift = std::countr_zero(mask);
            const int width = std::bit_width(mask >> c.shift);
            c.max = static_cast<std::uint32_t>((std::uint64_t{1} << width) - 1);
        }
        return c;
    };
    red_ = channel(m.red);
    green_ = channel(m.green);
    blue_ = channel(m.blue);
}

std::uint8_t Bitmap::read_channel(std::uint32_t pixel, const Channel& channel) {
    if (channel.max == 0) {
        return 0;
    }
    const std::uint64_t v = (pixel & channel.mask) >> channel.shift;
    return static_cast<std::uint8_t>((v * 255 + channel.max / 2) / channel.max);
}

std::uint32_t Bitmap::write_channel(std::uint8_t value, const Channel& channel) {
    const std::uint64_t v = (std::uint64_t{value} * channel.max + 127) / 255;
    return static_cast<std::uint32_t>(v << channel.shift) & channel.mask;
}

Color Bitmap::get_pixel(int x, int y) const {
    if (!contains(x, y)) {
        return CLR_INVALID;
    }
    const std::uint8_t* r = row(y);
    switch (bits_) {
        case 1:
        case 4:
        case 8: {
            const int per_byte = 8 / bits_;
            const std::uint8_t byte = r[x / per_byte];
            const int shift = 8 - bits_ * (x % per_byte + 1);
            const unsigned index = (byte >> shift) & ((1u << bits_) - 1);
            return index < table_.size() ? color_of(table_[index]) : 0;
        }
        case 16: {
            const std::uint32_t v = load16(r + 2 * x);
            return make_color(read_channel(v, red_), read_channel(v, green_),
                              read_channel(v, blue_));
        }
        case 24: {
            const std::uint8_t* p = r + 3 * x;
            return make_color(p[2], p[1], p[0]);
        }
        default: {
            const std::uint8_t* p = r + 4 * x;
            if (compression_ == Compression::rgb) {
                return make_color(p[2], p[1], p[0]);
            }
            const std::uint32_t v = load32(p);
            return make_color(read_channel(v, red_), read_channel(v, green_),
                              read_channel(v, blue_));
        }
    }
}

void Bitmap::set_pixel(int x, int y, Color color) {
    if (!contains(x, y)) {
        return;
    }
    std::uint8_t* r = row(y);
    switch (bits_) {
        case 1:
        case 4:
        case 8: {
            const int per_byte = 8 / bits_;
            std::uint8_t& byte = r[x / per_byte];
            const int shift = 8 - bits_ * (x % per_byte + 1);
            const unsigned mask = ((1u << bits_) - 1) << shift;
            byte = static_cast<std::uint8_t>((byte & ~mask) | (nearest_index(color) << shift));
            return;
        }
        case 16:
            store16(r + 2 * x, (load16(r + 2 * x) & ~colour_bits()) | colour_value(color));
            return;
        case 24: {
            std::uint8_t* p = r + 3 * x;
            p[0] = blue_of(color);
            p[1] = green_of(color);
            p[2] = red_of(color);
            return;
        }
        default: {
            std::uint8_t* p = r + 4 * x;
            if (compression_ == Compression::rgb) {
                // The fourth byte is not colour (often alpha): it stays.
                p[0] = blue_of(color);
                p[1] = green_of(color);
                p[2] = red_of(color);
                return;
            }
            store32(p, (load32(p) & ~colour_bits()) | colour_value(color));
            return;
        }
    }
}

std::uint32_t Bitmap::colour_bits() const {
    return red_.mask | green_.mask | blue_.mask;
}

std::uint32_t Bitmap::colour_value(Color color) const {
    return write_channel(red_of(color), red_) | write_channel(green_of(color), green_) |
           write_channel(blue_of(color), blue_);
}

// The entry with the smallest squared RGB distance among those a pixel can index; ties go to the
// lowest index. The table itself never changes.
std::uint8_t Bitmap::nearest_index(Color color) const {
    const std::size_t usable = std::min(table_.size(), std::size_t{1} << bits_);
    const int r = red_of(color), g = green_of(color), b = blue_of(color);
    std::uint8_t best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < usable; ++i) {
        const int dr = table_[i].red - r, dg = table_[i].green - g, db = table_[i].blue - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < best_distance) {
            best_distance = distance;
            best = static_cast<std::uint8_t>(i);
        }
    }
    return best;
}

}  // namespace vlt
