// Feeds arbitrary bytes to the four palette-file readers. Whatever a reader accepts must be
// written back (under an arbitrary palette name) and read again to the same palette.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "base/errors.h"
#include "workspace/palette_files.h"

namespace {

constexpr vlt::PaletteFormat formats[] = {vlt::PaletteFormat::gimp, vlt::PaletteFormat::jasc,
                                          vlt::PaletteFormat::act, vlt::PaletteFormat::hex};

// The palette an import leaves: the file's colours first, the old entries after them.
vlt::Palette imported(std::span<const vlt::Color> colors, const vlt::Palette& old) {
    vlt::Palette palette = old;
    std::ranges::copy(colors, palette.begin());
    return palette;
}

}  // namespace

// The first byte chooses the format, the second how many of the following bytes name the palette
// (a GIMP palette writes its name); the rest is the file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const vlt::PaletteFormat format = formats[data[0] % std::size(formats)];
    const std::size_t name_length = std::min<std::size_t>(data[1] % 32, size - 2);
    const std::string_view name(reinterpret_cast<const char*>(data + 2), name_length);
    const std::span<const std::uint8_t> file(data + 2 + name_length, size - 2 - name_length);

    std::vector<vlt::Color> colors;
    try {
        colors = vlt::decode_palette(file, format);
    } catch (const vlt::Exception&) {
        return 0;
    }
    if (colors.size() > vlt::palette_size ||
        std::ranges::any_of(colors, [](vlt::Color c) { return (c >> 24) != 0; })) {
        std::abort();
    }
    // Entries the file does not reach keep values of their own, which the writer must keep too.
    vlt::Palette old;
    for (std::size_t i = 0; i < old.size(); ++i) {
        old[i] = static_cast<vlt::Color>((i * 0x010203u) & 0xFFFFFFu);
    }
    const vlt::Palette palette = imported(colors, old);
    const std::vector<std::uint8_t> written = vlt::encode_palette(palette, format, name);
    const std::vector<vlt::Color> again = vlt::decode_palette(written, format);
    if (!std::ranges::equal(again, palette)) {
        std::abort();
    }
    return 0;
}
