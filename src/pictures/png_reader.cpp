#include "pictures/png_reader.h"

#include <spng.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "pictures/bmp_reader.h"
#include "pictures/picture_error.h"
#include "pictures/pixel_store.h"

namespace vlt {
namespace {

constexpr const char* not_valid = "PNG image is not valid";
// Text and other ancillary chunks are kept in memory while the file is read: a few megabytes
// hold any real one, and a compressed text that inflates to more is refused.
constexpr std::size_t largest_chunk = std::size_t{8} << 20;
constexpr std::size_t chunk_cache = std::size_t{32} << 20;

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};
using Context = std::unique_ptr<spng_ctx, ContextFree>;

// The source as libspng's reader. A failure of the source itself (the system refusing a read)
// cannot pass through C code, so it waits here to be raised again.
struct Stream {
    ByteSource& source;
    std::exception_ptr failure;
};

int read_stream(spng_ctx*, void* user, void* dest, std::size_t length) {
    auto& stream = *static_cast<Stream*>(user);
    try {
        const std::size_t got = stream.source.read({static_cast<std::uint8_t*>(dest), length});
        return got == length ? 0 : SPNG_IO_EOF;
    } catch (...) {
        stream.failure = std::current_exception();
        return SPNG_IO_ERROR;
    }
}

std::string detail_of(int error) {
    switch (error) {
        case SPNG_IO_EOF:
        case SPNG_EOF:
            return "the file ends early";
        case SPNG_ECHUNK_CRC:
            return "CRC error";
        case SPNG_ESIGNATURE:
            return "no PNG signature";
        case SPNG_ECHUNK_SIZE:
        case SPNG_ECHUNK_LIMITS:
            return "a chunk too large";
        default:
            return spng_strerror(error);
    }
}

class Reader {
public:
    explicit Reader(ByteSource& source) : ctx_(spng_ctx_new(0)), stream_{source, nullptr} {
        if (!ctx_) {
            throw std::bad_alloc();
        }
        check(spng_set_png_stream(ctx_.get(), read_stream, &stream_));
        check(spng_set_chunk_limits(ctx_.get(), largest_chunk, chunk_cache));
    }

    PngRead read() {
        check(spng_get_ihdr(ctx_.get(), &ihdr_));
        if (ihdr_.color_type == SPNG_COLOR_TYPE_INDEXED) {
            return read_indexed();
        }
        return ihdr_.bit_depth == 16 ? read_deep() : read_true_colour();
    }

private:
    void check(int result) const {
        if (result == 0) {
            return;
        }
        if (stream_.failure) {
            std::rethrow_exception(stream_.failure);
        }
        throw PictureError(not_valid, detail_of(result));
    }

    // The decoded rows, top row first, `stride` bytes each. The buffer is filled as rows arrive,
    // so a short file claiming a large picture never costs the whole picture. Zero-filled: the
    // passes of an interlaced picture below 8 bits are merged into their rows.
    PixelStore decode_rows(int format, std::size_t stride, int flags) {
        const auto height = static_cast<std::size_t>(ihdr_.height);
        if (stride != 0 && height > max_pixel_store_bytes / stride) {
            throw PictureError(
                "Out of system resources",
                std::to_string(ihdr_.width) + " x " + std::to_string(ihdr_.height) + " pixels");
        }
        check(spng_decode_image(ctx_.get(), nullptr, 0, format, flags | SPNG_DECODE_PROGRESSIVE));
        PixelStore rows;
        // Address space only: the pages are touched as the rows arrive.
        rows.reserve(height * stride);
        // The end of the image can show at either call (a tiny interlaced picture ends before
        // its last pass).
        spng_row_info info{};
        int result = 0;
        while ((result = spng_get_row_info(ctx_.get(), &info)) == 0) {
            const std::size_t end = (std::size_t{info.row_num} + 1) * stride;
            if (rows.size() < end) {
                rows.resize(end, 0);
            }
            result = spng_decode_row(ctx_.get(), rows.data() + end - stride, stride);
            if (result != 0) {
                break;
            }
        }
        if (result != SPNG_EOI) {
            check(result);
        }
        rows.resize(height * stride, 0);
        return rows;
    }

    Bitmap display_picture(PixelStore pixels) const {
        return Bitmap(static_cast<int>(ihdr_.width), static_cast<int>(ihdr_.height), 32,
                      RowOrder::bottom_up, std::move(pixels));
    }

    std::size_t width() const { return ihdr_.width; }

    // 8 bits and less: decoded to RGBA, turned into blue, green, red, 0 in place.
    PngRead read_true_colour() {
        const std::size_t stride = width() * 4;
        PixelStore pixels = decode_rows(SPNG_FMT_RGBA8, stride, SPNG_DECODE_TRNS);
        bool transparent = false;
        for (std::size_t i = 0; i < pixels.size(); i += 4) {
            transparent |= pixels[i + 3] != 0xFF;
            std::swap(pixels[i], pixels[i + 2]);
            pixels[i + 3] = 0;
        }
        flip_rows(pixels, stride);
        return {display_picture(std::move(pixels)), transparent};
    }

    // 16 bits: each channel rounded to the nearest 8-bit value.
    PngRead read_deep() {
        const std::size_t stride = width() * 8;
        const PixelStore rows =
            decode_rows(SPNG_FMT_RGBA16, stride, SPNG_DECODE_TRNS);
        const auto height = static_cast<std::size_t>(ihdr_.height);
        PixelStore pixels(width() * 4 * height, 0);
        bool transparent = false;
        for (std::size_t y = 0; y < height; ++y) {
            const std::uint8_t* in = rows.data() + y * stride;
            std::uint8_t* out = pixels.data() + (height - 1 - y) * width() * 4;
            for (std::size_t x = 0; x < width(); ++x, in += 8, out += 4) {
                std::array<std::uint16_t, 4> rgba{};  // host order, as libspng gives it
                std::memcpy(rgba.data(), in, 8);
                out[0] = to_8_bits(rgba[2]);
                out[1] = to_8_bits(rgba[1]);
                out[2] = to_8_bits(rgba[0]);
                transparent |= rgba[3] != 0xFFFF;
            }
        }
        return {display_picture(std::move(pixels)), transparent};
    }

    static std::uint8_t to_8_bits(std::uint16_t value) {
        return static_cast<std::uint8_t>((value * 255u + 32767u) / 65535u);
    }

    static void flip_rows(PixelStore& pixels, std::size_t stride) {
        if (stride == 0) {
            return;
        }
        auto top = pixels.begin();
        auto bottom = pixels.end();
        while (bottom - top >= static_cast<std::ptrdiff_t>(2 * stride)) {
            bottom -= static_cast<std::ptrdiff_t>(stride);
            std::swap_ranges(top, top + static_cast<std::ptrdiff_t>(stride), bottom);
            top += static_cast<std::ptrdiff_t>(stride);
        }
    }

    // A palette picture keeps its indices and its table, as an 8-bit BMP does.
    PngRead read_indexed() {
        // At least a byte a pixel, which libspng asks of every row buffer.
        const PixelStore rows = decode_rows(SPNG_FMT_PNG, width(), 0);
        spng_plte plte{};
        check(spng_get_plte(ctx_.get(), &plte));
        std::vector<RgbQuad> table;
        for (std::uint32_t i = 0; i < plte.n_entries; ++i) {
            const auto& e = plte.entries[i];
            table.push_back({e.blue, e.green, e.red, 0});
        }
        Bitmap picture(static_cast<int>(ihdr_.width), static_cast<int>(ihdr_.height), 8);
        const int depth = ihdr_.bit_depth;
        const int per_byte = 8 / depth;
        const unsigned mask = (1u << depth) - 1;
        for (int y = 0; y < picture.height(); ++y) {
            const std::uint8_t* in = rows.data() + static_cast<std::size_t>(y) * width();
            std::uint8_t* out = picture.row(y);
            if (depth == 8) {
                std::copy_n(in, picture.width(), out);
                continue;
            }
            for (int x = 0; x < picture.width(); ++x) {
                const int shift = 8 - depth * (x % per_byte + 1);
                out[x] = static_cast<std::uint8_t>((in[x / per_byte] >> shift) & mask);
            }
        }
        picture.set_color_table(std::move(table));
        const bool transparent = uses_transparent_entry(picture);
        return {std::move(picture), transparent};
    }

    bool uses_transparent_entry(const Bitmap& picture) const {
        spng_trns trns{};
        if (spng_get_trns(ctx_.get(), &trns) != 0) {
            return false;
        }
        std::array<bool, 256> see_through{};
        for (std::uint32_t i = 0; i < trns.n_type3_entries && i < 256; ++i) {
            see_through[i] = trns.type3_alpha[i] != 0xFF;
        }
        for (int y = 0; y < picture.height(); ++y) {
            const std::uint8_t* row = picture.row(y);
            if (std::any_of(row, row + picture.width(), [&](auto i) { return see_through[i]; })) {
                return true;
            }
        }
        return false;
    }

    Context ctx_;
    Stream stream_;
    spng_ihdr ihdr_{};
};

class SpanSource : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> dest) override {
        const std::size_t count = std::min(dest.size(), bytes_.size() - position_);
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), count, dest.begin());
        position_ += count;
        return count;
    }
    std::uint64_t skip(std::uint64_t count) override {
        const auto passed =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes_.size() - position_));
        position_ += passed;
        return passed;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}  // namespace

bool starts_with_png_signature(std::span<const std::uint8_t> head) {
    return head.size() >= png_signature.size() &&
           std::equal(png_signature.begin(), png_signature.end(), head.begin());
}

PngRead read_png_from(ByteSource& source) {
    return Reader(source).read();
}

PngRead read_png(std::span<const std::uint8_t> file) {
    SpanSource source(file);
    return read_png_from(source);
}

}  // namespace vlt
