#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "base/color.h"
#include "pictures/pixel_store.h"

namespace vlt {

// One colour-table entry as BMP files hold it.
struct RgbQuad {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

enum class HeaderForm : std::uint8_t { info, core };
enum class RowOrder : std::uint8_t { bottom_up, top_down };
enum class Compression : std::uint32_t { rgb = 0, bitfields = 3 };

struct BitMasks {
    std::uint32_t red = 0;
    std::uint32_t green = 0;
    std::uint32_t blue = 0;
    friend bool operator==(const BitMasks&, const BitMasks&) = default;
};

// What a picture remembers of the file it was read from, for writing it out again.
struct BmpAttributes {
    HeaderForm form = HeaderForm::info;
    std::int32_t x_pels_per_meter = 0;
    std::int32_t y_pels_per_meter = 0;
    // Forgotten at the first pixel access.
    std::uint32_t file_color_count = 0;
    std::uint32_t file_important_colors = 0;
};

// A bitmap picture: size, pixel format, colour table and the pixel store, rows in the picture's
// own row order, each padded to 4 bytes. 0 x 0 is the empty picture, which has no pixels.
//
// Formats: 1, 4 and 8 bits index the colour table; 16 and 32 bits are read through bit masks
// (BI_RGB meaning 5-5-5 and 8-8-8); 24 bits are blue, green, red. The display format is 32 bits,
// BI_RGB: blue, green, red and a fourth byte that carries no colour. At more than 8 bits the
// colour table is an extra table kept only to be written again.
class Bitmap {
public:
    Bitmap() = default;  // the empty picture
    // A zero-filled picture. Sizes and bit count must already be checked by the caller.
    Bitmap(int width, int height, int bits_per_pixel, RowOrder order = RowOrder::bottom_up);
    // A picture that takes over a store already filled, of exactly row_stride_for(width,
    // bits_per_pixel) * height bytes.
    Bitmap(int width, int height, int bits_per_pixel, RowOrder order, PixelStore pixels);
    // A picture a view makes for itself: display format, every pixel the given colour.
    static Bitmap make_display(int width, int height, Color fill);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }
    int bits_per_pixel() const { return bits_; }
    RowOrder row_order() const { return order_; }
    std::size_t row_stride() const { return stride_; }
    static std::size_t row_stride_for(std::int64_t width, int bits_per_pixel);

    // Rows in row order; row_stride() * height() bytes.
    std::span<std::uint8_t> pixels() { return pixels_; }
    std::span<const std::uint8_t> pixels() const { return pixels_; }

    Compression compression() const { return compression_; }
    // The masks as recorded from a BI_BITFIELDS file; all zero otherwise.
    const BitMasks& masks() const { return masks_; }
    // Marks the picture as read with bit masks (16 and 32 bits only).
    void set_bitfields(const BitMasks& masks);

    const std::vector<RgbQuad>& color_table() const { return table_; }
    void set_color_table(std::vector<RgbQuad> table);

    BmpAttributes attributes;

    // The colour of pixel (x, y) with top byte 0, or CLR_INVALID outside the picture.
    Color get_pixel(int x, int y) const;
    // Stores the colour as closely as the format allows; outside the picture nothing happens.
    // At 16 and 32 bits only the bits that carry a colour change: alpha, spare bits and the
    // fourth byte of the display format keep what they held.
    void set_pixel(int x, int y, Color color);

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // The first byte of row y (0 is the top row) in the store; y must lie in the picture.
    std::uint8_t* row(int y) {
        const int stored = order_ == RowOrder::bottom_up ? height_ - 1 - y : y;
        return pixels_.data() + static_cast<std::size_t>(stored) * stride_;
    }
    const std::uint8_t* row(int y) const { return const_cast<Bitmap*>(this)->row(y); }

    // The index set_pixel stores for a colour in a picture with a colour table: the nearest
    // entry among those a pixel can hold, ties to the lowest.
    std::uint8_t nearest_index(Color color) const;

private:
    struct Channel {
        std::uint32_t mask = 0;
        int shift = 0;
        std::uint32_t max = 0;  // 2^width - 1
    };
    void update_channels();
    static std::uint8_t read_channel(std::uint32_t pixel, const Channel& channel);
    static std::uint32_t write_channel(std::uint8_t value, const Channel& channel);
    std::uint32_t colour_bits() const;  // at 16 and 32 bits
    std::uint32_t colour_value(Color color) const;

    int width_ = 0;
    int height_ = 0;
    int bits_ = 32;
    RowOrder order_ = RowOrder::bottom_up;
    std::size_t stride_ = 0;
    Compression compression_ = Compression::rgb;
    BitMasks masks_{};
    std::vector<RgbQuad> table_;
    PixelStore pixels_;
    Channel red_{}, green_{}, blue_{};  // the masks in effect at 16 and 32 bits
};

}  // namespace vlt
