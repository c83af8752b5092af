// Feeds arbitrary bytes to the BMP reader. Whatever it accepts must survive a write and a second
// read with the same size and pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/errors.h"
#include "pictures/bmp_reader.h"
#include "pictures/bmp_writer.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vlt::Bitmap picture;
    try {
        picture = vlt::read_bmp(std::span<const std::uint8_t>(data, size));
    } catch (const vlt::Exception&) {
        return 0;
    }
    // Comparing every pixel of a huge picture would only slow the search down.
    if (static_cast<std::size_t>(picture.width()) * static_cast<std::size_t>(picture.height()) >
        (std::size_t{1} << 20)) {
        return 0;
    }
    const auto written = vlt::encode_bmp(picture);
    const vlt::Bitmap again = vlt::read_bmp(written);
    if (!same_pixels(picture, again)) {
        std::abort();
    }
    return 0;
}
