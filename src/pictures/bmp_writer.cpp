#include "pictures/bmp_writer.h"

#include "pictures/le_bytes.h"

namespace vlt {
namespace {

constexpr std::uint32_t file_header_size = 14;

bool indexed(const Bitmap& picture) {
    return picture.bits_per_pixel() <= 8;
}

bool writes_masks(const Bitmap& picture) {
    return !indexed(picture) && picture.compression() == Compression::bitfields;
}

void put_file_header(std::vector<std::uint8_t>& out, std::uint32_t header_bytes,
                     std::uint32_t image_size) {
    le::put16(out, 0x4D42);
    le::put32(out, file_header_size + header_bytes + image_size);
    le::put16(out, 0);
    le::put16(out, 0);
    le::put32(out, file_header_size + header_bytes);
}

// Writes the info form; returns the number of table entries written.
std::uint32_t put_info(std::vector<std::uint8_t>& out, const Bitmap& picture,
                       std::uint32_t image_size) {
    const auto& table = picture.color_table();
    // An indexed picture without a table still needs one, or its count would read as the
    // default and swallow pixel bytes.
    const auto entries = static_cast<std::uint32_t>(indexed(picture) && table.empty()
                                                        ? std::size_t{1} << picture.bits_per_pixel()
                                                        : table.size());
    const std::uint32_t header_bytes = 40 + (writes_masks(picture) ? 12 : 0) + 4 * entries;
    out.reserve(file_header_size + header_bytes + image_size);
    put_file_header(out, header_bytes, image_size);
    le::put32(out, 40);
    le::put32(out, static_cast<std::uint32_t>(picture.width()));
    const std::int32_t height =
        picture.row_order() == RowOrder::top_down ? -picture.height() : picture.height();
    le::put32(out, static_cast<std::uint32_t>(height));
    le::put16(out, 1);
    le::put16(out, static_cast<std::uint32_t>(picture.bits_per_pixel()));
    le::put32(out, writes_masks(picture) ? 3 : 0);
    le::put32(out, image_size);
    le::put32(out, static_cast<std::uint32_t>(picture.attributes.x_pels_per_meter));
    le::put32(out, static_cast<std::uint32_t>(picture.attributes.y_pels_per_meter));
    le::put32(out, entries);
    le::put32(out, 0);
    if (writes_masks(picture)) {
        // Exactly as read, so the pixels mean the same when read back.
        const BitMasks& masks = picture.masks();
        le::put32(out, masks.red);
        le::put32(out, masks.green);
        le::put32(out, masks.blue);
    }
    // An extra table (beside true-colour pixels) goes out with reserved bytes 0.
    const bool keep_reserved = indexed(picture);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const RgbQuad q = i < table.size() ? table[i] : RgbQuad{};
        out.insert(out.end(),
                   {q.blue, q.green, q.red, keep_reserved ? q.reserved : std::uint8_t{0}});
    }
    return entries;
}

// Writes the core form; returns the number of table entries written.
std::uint32_t put_core(std::vector<std::uint8_t>& out, const Bitmap& picture,
                       std::uint32_t image_size) {
    const std::uint32_t entries = indexed(picture) ? 1u << picture.bits_per_pixel() : 0;
    const std::uint32_t header_bytes = 12 + 3 * entries;
    out.reserve(file_header_size + header_bytes + image_size);
    put_file_header(out, header_bytes, image_size);
    le::put32(out, 12);
    le::put16(out, static_cast<std::uint32_t>(picture.width()) & 0xFFFFu);
    le::put16(out, static_cast<std::uint32_t>(picture.height()) & 0xFFFFu);
    le::put16(out, 1);
    le::put16(out, static_cast<std::uint32_t>(picture.bits_per_pixel()));
    const auto& table = picture.color_table();
    for (std::uint32_t i = 0; i < entries; ++i) {
        const RgbQuad q = i < table.size() ? table[i] : RgbQuad{};
        out.insert(out.end(), {q.blue, q.green, q.red});
    }
    return entries;
}

}  // namespace

std::vector<std::uint8_t> encode_bmp(Bitmap& picture) {
    std::vector<std::uint8_t> out;
    if (picture.empty()) {
        return out;
    }
    const auto pixels = picture.pixels();
    const auto image_size = static_cast<std::uint32_t>(pixels.size());
    const std::uint32_t entries = picture.attributes.form == HeaderForm::core
                                      ? put_core(out, picture, image_size)
                                      : put_info(out, picture, image_size);
    out.insert(out.end(), pixels.begin(), pixels.end());
    picture.attributes.file_color_count = entries;
    return out;
}

}  // namespace vlt
