// Feeds arbitrary bytes to the PNG reader: a picture it reads must survive a write as PNG and a
// second read with the same colours.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "base/errors.h"
#include "pictures/png_reader.h"
#include "pictures/png_writer.h"

namespace {

// Every pixel is decoded twice and encoded once per input: large pictures slow the search many
// times over, and the unit tests cover them. Headers asking for more are passed over unread.
constexpr std::uint64_t max_fuzz_pixels = 1 << 14;

std::uint32_t big_endian_at(std::span<const std::uint8_t> file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) << 24 |
           static_cast<std::uint32_t>(file[at + 1]) << 16 |
           static_cast<std::uint32_t>(file[at + 2]) << 8 | file[at + 3];
}

// The pixels the header asks for: width and height follow the signature and "IHDR".
std::uint64_t pixels_asked(std::span<const std::uint8_t> file) {
    if (file.size() < 24) {
        return 0;
    }
    return std::uint64_t{big_endian_at(file, 16)} * big_endian_at(file, 20);
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool same_colours(const vlt::Bitmap& a, const vlt::Bitmap& b) {
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
    const std::span<const std::uint8_t> file(data, size);
    if (pixels_asked(file) > max_fuzz_pixels) {
        return 0;
    }
    vlt::PngRead read;
    try {
        read = vlt::read_png(file);
    } catch (const vlt::Exception&) {
        return 0;
    }
    const vlt::Bitmap& picture = read.picture;
    check(!picture.empty());
    check(picture.bits_per_pixel() == 8 || picture.bits_per_pixel() == 32);
    check(same_colours(picture, vlt::read_png(vlt::encode_png(picture)).picture));
    return 0;
}
