#include "pictures/rle_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vlt {
namespace {

// Walks the picture the way the codes move through it: rows counted from the bottom, which is
// also the store's first row, and pixels past a row's end dropped.
class RlePainter {
public:
    RlePainter(const std::vector<RgbQuad>& table, Bitmap& target)
        : target_(target), width_(target.width()), height_(target.height()) {
        for (std::size_t i = 0; i < colors_.size(); ++i) {
            if (i < table.size()) {
                colors_[i] = {table[i].blue, table[i].green, table[i].red, 0};
            }
        }
    }

    void run(std::int64_t count, std::uint8_t even, std::uint8_t odd) {
        const std::int64_t visible = std::clamp<std::int64_t>(width_ - x_, 0, count);
        std::uint8_t* out = pixel(x_);
        for (std::int64_t k = 0; k < visible; ++k) {
            std::memcpy(out + 4 * k, colors_[k % 2 == 0 ? even : odd].data(), 4);
        }
        x_ += count;
    }

    void single(std::uint8_t index) { run(1, index, index); }

    bool next_line() {
        x_ = 0;
        ++y_;
        return y_ < height_;
    }

    bool delta(std::uint8_t dx, std::uint8_t dy) {
        x_ += dx;
        y_ += dy;
        return y_ < height_;
    }

private:
    std::uint8_t* pixel(std::int64_t x) {
        const auto offset = static_cast<std::size_t>(y_) * target_.row_stride() +
                            static_cast<std::size_t>(std::min<std::int64_t>(x, width_)) * 4;
        return target_.pixels().data() + offset;
    }

    Bitmap& target_;
    std::int64_t width_;
    std::int64_t height_;
    std::int64_t x_ = 0;
    std::int64_t y_ = 0;
    std::array<std::array<std::uint8_t, 4>, 256> colors_{};
};

// Paints an absolute run; false when the data ended inside it.
bool absolute_run(std::span<const std::uint8_t> data, std::size_t& at, unsigned count,
                  int bits_per_pixel, RlePainter& painter) {
    const std::size_t needed = bits_per_pixel == 8 ? count : (count + 1) / 2;
    const std::size_t available = std::min(needed, data.size() - at);
    for (unsigned k = 0; k < count; ++k) {
        const std::size_t byte = bits_per_pixel == 8 ? k : k / 2;
        if (byte >= available) {
            return false;
        }
        const std::uint8_t v = data[at + byte];
        painter.single(bits_per_pixel == 8 ? v : (k % 2 == 0 ? v >> 4 : v & 0x0F));
    }
    // Absolute runs are padded to 16 bits.
    at += needed + needed % 2;
    return true;
}

}  // namespace

void decode_rle(std::span<const std::uint8_t> data, int bits_per_pixel,
                const std::vector<RgbQuad>& table, Bitmap& target) {
    RlePainter painter(table, target);
    std::size_t at = 0;
    while (data.size() - at >= 2) {
        const std::uint8_t count = data[at];
        const std::uint8_t value = data[at + 1];
        at += 2;
        if (count > 0) {
            if (bits_per_pixel == 8) {
                painter.run(count, value, value);
            } else {
                painter.run(count, value >> 4, value & 0x0F);
            }
            continue;
        }
        if (value == 0) {
            if (!painter.next_line()) {
                return;
            }
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (data.size() - at < 2 || !painter.delta(data[at], data[at + 1])) {
                return;
            }
            at += 2;
        } else if (!absolute_run(data, at, value, bits_per_pixel, painter)) {
            return;
        }
        at = std::min(at, data.size());
    }
}

}  // namespace vlt
