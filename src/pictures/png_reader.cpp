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
    // The zlib stream's own checksum is not worked out: every byte of it is already checked by
    // its chunks' CRCs, and the sum costs a pass over the whole inflated picture.
    explicit Reader(ByteSource& source)
        : ctx_(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32)), stream_{source, nullptr} {
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

    void check_store_size(std::size_t stride) const {
        if (stride != 0 && ihdr_.height > max_pixel_store_bytes / stride) {
            throw PictureError(
                "Out of system resources",
                std::to_string(ihdr_.width) + " x " + std::to_string(ihdr_.height) + " pixels");
        }
    }

    bool interlaced() const { return ihdr_.interlace_method != SPNG_INTERLACE_NONE; }

    // Decodes every row straight into the picture's store: the decoded row `n` (top row first)
    // goes to picture.row(n), `length` bytes of it; `row_done(n)` is called once row n is whole
    // and final, which in an interlaced picture is only after the last pass. The store is taken
    // uncleared and its pages are touched as the rows arrive, so a short file claiming a large
    // picture never costs the whole picture; every byte a row holds is written by some pass.
    template <typename RowDone>
    void decode_into(Bitmap& picture, int format, int flags, std::size_t length,
                     RowDone row_done) {
        check(spng_decode_image(ctx_.get(), nullptr, 0, format, flags | SPNG_DECODE_PROGRESSIVE));
        // The end of the image can show at either call (a tiny interlaced picture ends before
        // its last pass).
        spng_row_info info{};
        int result = 0;
        while ((result = spng_get_row_info(ctx_.get(), &info)) == 0) {
            result = spng_decode_row(ctx_.get(), picture.row(static_cast<int>(info.row_num)),
                                     length);
            // The last row comes with the end of the image.
            if (result != 0 && result != SPNG_EOI) {
                break;
            }
            if (!interlaced()) {
                row_done(static_cast<int>(info.row_num));
            }
            if (result == SPNG_EOI) {
                break;
            }
        }
        if (result != SPNG_EOI) {
            check(result);
        }
        if (interlaced()) {
            for (int y = 0; y < picture.height(); ++y) {
                row_done(y);
            }
        }
    }

    // The decoded rows, top row first, `stride` bytes each (16-bit pictures, which are
    // narrowed into the picture afterwards). Zero-filled, as the passes of an interlaced picture
    // are merged into their rows.
    PixelStore decode_rows(int format, std::size_t stride, int flags) {
        const auto height = static_cast<std::size_t>(ihdr_.height);
        check_store_size(stride);
        check(spng_decode_image(ctx_.get(), nullptr, 0, format, flags | SPNG_DECODE_PROGRESSIVE));
        PixelStore rows;
        // Address space only: the pages are touched as the rows arrive.
        rows.reserve(height * stride);
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

    // A picture whose store is taken but not yet written.
    Bitmap uncleared_picture(int bits_per_pixel) const {
        const std::size_t stride = Bitmap::row_stride_for(ihdr_.width, bits_per_pixel);
        check_store_size(stride);
        PixelStore pixels;
        pixels.resize(stride * ihdr_.height);
        return Bitmap(static_cast<int>(ihdr_.width), static_cast<int>(ihdr_.height),
                      bits_per_pixel, RowOrder::bottom_up, std::move(pixels));
    }

    Bitmap display_picture(PixelStore pixels) const {
        return Bitmap(static_cast<int>(ihdr_.width), static_cast<int>(ihdr_.height), 32,
                      RowOrder::bottom_up, std::move(pixels));
    }

    std::size_t width() const { return ihdr_.width; }

    // 8 bits and less: decoded to RGBA in the picture's rows, each turned into blue, green,
    // red, 0 in place while it is still in the cache.
    PngRead read_true_colour() {
        Bitmap picture = uncleared_picture(32);
        std::uint32_t alpha = 0xFF;
        decode_into(picture, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS, width() * 4, [&](int y) {
            alpha &= rgba_to_display(picture.row(y), width());
        });
        return {std::move(picture), alpha != 0xFF};
    }

    // Blue, green, red, 0 from red, green, blue, alpha; the AND of the pixels' alphas.
    static std::uint32_t rgba_to_display(std::uint8_t* row, std::size_t pixels) {
        std::uint32_t alpha = 0xFF;
        for (std::size_t x = 0; x < pixels; ++x) {
            std::uint8_t* p = row + 4 * x;
            alpha &= p[3];
            const std::uint8_t red = p[0];
            p[0] = p[2];
            p[2] = red;
            p[3] = 0;
        }
        return alpha;
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

    // A palette picture keeps its indices and its table, as an 8-bit BMP does. The rows are
    // decoded as they stand in the file, below 8 bits packed, and widened in place.
    PngRead read_indexed() {
        Bitmap picture = uncleared_picture(8);
        const int depth = ihdr_.bit_depth;
        if (depth < 8 && interlaced()) {
            // The passes are merged into the packed rows.
            const std::size_t packed = (width() * static_cast<std::size_t>(depth) + 7) / 8;
            for (int y = 0; y < picture.height(); ++y) {
                std::memset(picture.row(y), 0, packed);
            }
        }
        const std::size_t stride = picture.row_stride();
        // At least a byte a pixel, which libspng asks of every row buffer.
        decode_into(picture, SPNG_FMT_PNG, 0, width(), [&](int y) {
            std::uint8_t* row = picture.row(y);
            if (depth < 8) {
                widen_indices(row, width(), depth);
            }
            std::fill(row + width(), row + stride, std::uint8_t{0});
        });
        spng_plte plte{};
        check(spng_get_plte(ctx_.get(), &plte));
        std::vector<RgbQuad> table;
        for (std::uint32_t i = 0; i < plte.n_entries; ++i) {
            const auto& e = plte.entries[i];
            table.push_back({e.blue, e.green, e.red, 0});
        }
        picture.set_color_table(std::move(table));
        const bool transparent = uses_transparent_entry(picture);
        return {std::move(picture), transparent};
    }

    // Packed indices of 1, 2 or 4 bits, first pixel in the high bits, made a byte each. From the
    // last pixel back, so that no packed byte is overwritten before it is read.
    static void widen_indices(std::uint8_t* row, std::size_t pixels, int depth) {
        const std::size_t per_byte = 8 / static_cast<std::size_t>(depth);
        const unsigned mask = (1u << depth) - 1;
        for (std::size_t x = pixels; x-- > 0;) {
            const auto shift = static_cast<unsigned>(8 - depth * static_cast<int>(x % per_byte + 1));
            row[x] = static_cast<std::uint8_t>((row[x / per_byte] >> shift) & mask);
        }
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
