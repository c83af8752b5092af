#include "pictures/view.h"

#include <vector>

#include "base/errors.h"
#include "pictures/pixel_rows.h"

namespace vlt {

namespace {
constexpr Color white = 0x00FFFFFF;
}

View::View(std::string name, int width, int height)
    : name_(std::move(name)), width_(width), height_(height) {}

Bitmap& View::pixel_access() {
    if (kind_ == PictureKind::none) {
        picture_ = Bitmap::make_display(width_, height_, white);
        kind_ = PictureKind::bitmap;
        repaint_marked_ = true;
    } else if (kind_ != PictureKind::bitmap) {
        throw Exception("Can only modify an image if it contains a bitmap");
    }
    // A modified picture no longer matches the counts its file gave.
    picture_.attributes.file_color_count = 0;
    picture_.attributes.file_important_colors = 0;
    return picture_;
}

Bitmap& View::bitmap_access() {
    if (kind_ != PictureKind::bitmap) {
        picture_ = Bitmap();
        kind_ = PictureKind::bitmap;
        repaint_marked_ = true;
    }
    return picture_;
}

void View::stretch_draw(const Bitmap& source) {
    Bitmap& target = pixel_access();
    repaint_marked_ = true;
    if (source.empty()) {
        return;  // nothing to draw from: the target keeps its pixels
    }
    // Written a row at a time; read pixel by pixel, since the source may be far wider than the
    // view and only the pixels the view shows are wanted.
    const std::int64_t sw = source.width(), sh = source.height();
    std::vector<Color> row(static_cast<std::size_t>(width_));
    for (int ty = 0; ty < height_; ++ty) {
        const int sy = static_cast<int>(ty * sh / height_);
        for (int tx = 0; tx < width_; ++tx) {
            row[static_cast<std::size_t>(tx)] =
                source.get_pixel(static_cast<int>(tx * sw / width_), sy);
        }
        write_pixel_row(target, ty, row);
    }
}

void View::take_picture(PictureKind kind, Bitmap picture) {
    picture_ = std::move(picture);
    kind_ = kind;
    repaint_marked_ = true;
}

void View::refresh() {
    if (refresh_hook_) {
        refresh_hook_(*this);
    }
    repaint_marked_ = false;
}

}  // namespace vlt
