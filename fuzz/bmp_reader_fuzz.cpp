// Feeds arbitrary bytes to the BMP reader, every way of calling it. Whatever it accepts must
// survive a write and a second read with the same size and pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "base/errors.h"
#include "pictures/bmp_reader.h"
#include "pictures/bmp_writer.h"
#include "support/span_source.h"

namespace {

bool same_pixels(const vlt::Bitmap& a, const vlt::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.get_pixel(x, y) != b.get_pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

// A rough pixel count the header asks for. Stores of up to 256 MiB are valid, but a few
// of them per second would starve the search; the tests cover the large cases.
std::uint64_t pixel_estimate(const std::uint8_t* data, std::size_t size) {
    if (size < 26) {
        return 0;
    }
    auto field = [&](std::size_t at, std::size_t bytes) {
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < bytes; ++i) {
            v |= std::uint64_t{data[at + i]} << (8 * i);
        }
        return v;
    };
    const bool core = field(14, 4) == 12;
    const std::uint64_t width = core ? field(18, 2) : field(18, 4);
    std::uint64_t height = core ? field(20, 2) : field(22, 4);
    if (!core && height >= (std::uint64_t{1} << 31)) {
        height = (std::uint64_t{1} << 32) - height;
    }
    return width * height;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (pixel_estimate(data, size) > (std::uint64_t{4} << 20)) {
        return 0;
    }
    vlt::Bitmap picture;
    try {
        picture = vlt::read_bmp(std::span<const std::uint8_t>(data, size));
    } catch (const vlt::Exception&) {
        return 0;
    }
    // Comparing every pixel of a huge picture would only slow the search down.
    if (static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()) >
        (std::size_t{1} << 16)) {
        return 0;
    }
    // Reading from a buffer the reader may take over must give the same picture.
    const vlt::Bitmap adopted =
        vlt::read_bmp_adopting(std::vector<std::uint8_t>(data, data + size));
    if (!same_pixels(picture, adopted)) {
        std::abort();
    }
    // So must reading it as a stream, headers first and then only the pixel bytes.
    vlt::testing::SpanSource source(std::span<const std::uint8_t>(data, size));
    if (!same_pixels(picture, vlt::read_bmp_from(source).picture)) {
        std::abort();
    }
    const auto written = vlt::encode_bmp(picture);
    const vlt::Bitmap again = vlt::read_bmp(written);
    if (!same_pixels(picture, again)) {
        std::abort();
    }
    return 0;
}
