// Feeds arbitrary bytes to the BMP reader, every way of calling it: the three ways must give the
// same picture, and the picture must survive a write and a second read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "base/errors.h"
#include "bmp_header_peek.h"
#include "pictures/bmp_reader.h"
#include "pictures/bmp_writer.h"
#include "support/span_source.h"

namespace {

// Pictures of up to 256 MiB are valid, but every pixel is decoded three times and written once
// per input, so that larger pictures slow the search many times over; the unit tests cover the
// large cases. Headers asking for more pixels than this are passed over before anything is read.
constexpr std::uint64_t max_fuzz_pixels = 1 << 12;

// Of two pictures of one size: whether their stores mean the same.
bool same_format(const vlt::Bitmap& a, const vlt::Bitmap& b) {
    return a.bits_per_pixel() == b.bits_per_pixel() && a.row_order() == b.row_order() &&
           a.compression() == b.compression() && a.masks() == b.masks() &&
           a.color_table() == b.color_table();
}

bool same_pixels(const vlt::Bitmap& a, const vlt::Bitmap& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    // The stores first: equal stores of one format are equal pictures, and comparing them is
    // a memcmp rather than a call per pixel.
    if (same_format(a, b) && std::ranges::equal(a.pixels(), b.pixels())) {
        return true;
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

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    if (vlt::fuzzing::bmp_pixels_asked(file) > max_fuzz_pixels) {
        return 0;
    }
    vlt::Bitmap picture;
    try {
        picture = vlt::read_bmp(file);
    } catch (const vlt::Exception&) {
        return 0;
    }
    // So must reading it as a stream, headers first and then only the pixel bytes.
    vlt::testing::SpanSource source(file);
    check(same_pixels(picture, vlt::read_bmp_from(source).picture));
    check(same_pixels(picture, vlt::read_bmp(vlt::encode_bmp(picture))));
    return 0;
}
