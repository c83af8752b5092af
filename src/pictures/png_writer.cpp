#include "pictures/png_writer.h"

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "base/errors.h"
#include "base/path_text.h"

namespace vlt {
namespace {

struct ContextFree {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

// Encodes whole rows in libspng's own format for the header given, into memory: the caller
// saves the bytes safely as every file is saved.
std::vector<std::uint8_t> encode(spng_ihdr ihdr, const spng_plte* plte,
                                 std::span<const std::uint8_t> rows) {
    const std::unique_ptr<spng_ctx, ContextFree> ctx(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!ctx) {
        throw std::bad_alloc();
    }
    int result = spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
    if (result == 0) {
        result = spng_set_ihdr(ctx.get(), &ihdr);
    }
    if (result == 0 && plte != nullptr) {
        result = spng_set_plte(ctx.get(), const_cast<spng_plte*>(plte));
    }
    if (result == 0) {
        result = spng_encode_image(ctx.get(), rows.data(), rows.size(), SPNG_FMT_PNG,
                                   SPNG_ENCODE_FINALIZE);
    }
    std::size_t length = 0;
    void* buffer = result == 0 ? spng_get_png_buffer(ctx.get(), &length, &result) : nullptr;
    if (result != 0 || buffer == nullptr) {
        std::free(buffer);
        throw Exception(std::string("PNG encoding failed: ") + spng_strerror(result));
    }
    const std::unique_ptr<void, decltype(&std::free)> owned(buffer, &std::free);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    return {bytes, bytes + length};
}

spng_ihdr header(int width, int height, std::uint8_t colour_type) {
    spng_ihdr ihdr{};
    ihdr.width = static_cast<std::uint32_t>(width);
    ihdr.height = static_cast<std::uint32_t>(height);
    ihdr.bit_depth = 8;
    ihdr.color_type = colour_type;
    return ihdr;
}

}  // namespace

bool is_png_path(const std::filesystem::path& path) {
    std::string extension = extension_of(path);
    for (char& c : extension) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return extension == "png";
}

std::vector<std::uint8_t> encode_png(const Bitmap& picture) {
    if (picture.empty()) {
        return {};
    }
    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<std::size_t>(picture.width()) * 3 *
                 static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Color c = picture.get_pixel(x, y);
            rows.insert(rows.end(), {red_of(c), green_of(c), blue_of(c)});
        }
    }
    return encode(header(picture.width(), picture.height(), SPNG_COLOR_TYPE_TRUECOLOR), nullptr,
                  rows);
}

std::vector<std::uint8_t> encode_indexed_png(std::span<const std::uint8_t> indices, int width,
                                             int height, const Palette& palette) {
    spng_plte plte{};
    plte.n_entries = palette.size();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        plte.entries[i] = {red_of(palette[i]), green_of(palette[i]), blue_of(palette[i]), 0xFF};
    }
    return encode(
        header(width, height, SPNG_COLOR_TYPE_INDEXED), &plte,
        indices.first(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)));
}

}  // namespace vlt
