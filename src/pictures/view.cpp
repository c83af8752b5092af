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

Bitmap& View::pixels_for_change() {
    settle();
    if (kind_ == PictureKind::none) {
        picture_ = Bitmap::make_display(width_, height_, white);
        kind_ = PictureKind::bitmap;
        repaint_marked_ = true;
    }
    // A modified picture no longer matches the counts its file gave.
    picture_.attributes.file_color_count = 0;
    picture_.attributes.file_important_colors = 0;
    return picture_;
}

Bitmap& View::bitmap_access() {
    settle();
    if (kind_ == PictureKind::none) {
        picture_ = Bitmap();
        kind_ = PictureKind::bitmap;
        repaint_marked_ = true;
    }
    return picture_;
}

void View::stretch_draw(const Bitmap& source) {
    Bitmap& target = pixels_for_change();
    repaint_marked_ = true;
    if (source.empty()) {
        return;  // nothing to draw from: the target keeps its pixels
    }
    stretch_pixels(source, target, width_, height_);
}

void View::defer_draw(const void* kind, std::function<void(Bitmap&)> draw) {
    if (owed_.draw && owed_.kind != kind) {
        draw_owed_now();
    }
    if (kind_ == PictureKind::none) {
        // As pixels_for_change() would, except that the white picture is made when it is drawn.
        kind_ = PictureKind::bitmap;
        repaint_marked_ = true;
        owed_.makes_picture = true;
    } else if (!owed_.draw) {
        owed_.makes_picture = false;
    }
    picture_.attributes.file_color_count = 0;
    picture_.attributes.file_important_colors = 0;
    owed_.kind = kind;
    owed_.draw = std::move(draw);
}

void View::draw_owed_now() const {
    OwedDraw owed = std::move(owed_);
    owed_ = {};
    if (owed.makes_picture) {
        picture_ = Bitmap::make_display(width_, height_, white);
    }
    owed.draw(picture_);
}

void View::take_picture(Bitmap picture) {
    owed_ = {};
    picture_ = std::move(picture);
    kind_ = PictureKind::bitmap;
    repaint_marked_ = true;
}

void View::clear_picture() {
    owed_ = {};
    picture_ = Bitmap();
    kind_ = PictureKind::none;
    repaint_marked_ = true;
}

void View::refresh() {
    if (refresh_hook_) {
        refresh_hook_(*this);
    }
    repaint_marked_ = false;
}

}  // namespace vlt
