#include "gui/picture_image.h"

#include <bit>
#include <cstring>

#include "pictures/pixel_rows.h"

namespace vlt {
namespace {

// 32-bit pixels without masks are stored blue, green, red, x: on a little-endian machine the
// layout of Format_RGB32, so rows are copied whole, put top-down, and the fourth byte, which
// carries no colour, is made opaque as Qt expects.
QImage copy_rows(const Bitmap& picture, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    const auto row_bytes = static_cast<std::size_t>(area.width()) * 4;
    const auto column_offset = static_cast<std::size_t>(area.left()) * 4;
    for (int y = 0; y < area.height(); ++y) {
        std::memcpy(image.scanLine(y), picture.row(area.top() + y) + column_offset, row_bytes);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            line[x] |= 0xFF000000u;
        }
    }
    return image;
}

QImage read_pixels(const Bitmap& picture, const QRect& area) {
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const Color color = picture.get_pixel(area.left() + x, area.top() + y);
            line[x] = qRgb(red_of(color), green_of(color), blue_of(color));
        }
    }
    return image;
}

}  // namespace

QImage picture_image(const Bitmap& picture, const QRect& area) {
    const QRect clipped = area.intersected(QRect(0, 0, picture.width(), picture.height()));
    if (clipped.isEmpty()) {
        return {};
    }
    if (std::endian::native == std::endian::little && is_display_format(picture)) {
        return copy_rows(picture, clipped);
    }
    return read_pixels(picture, clipped);
}

}  // namespace vlt
