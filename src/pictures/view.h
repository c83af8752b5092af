#pragma once

#include <functional>
#include <string>

#include "pictures/bitmap.h"

namespace vlt {

// What a picture file holds. An icon or metafile is checked when read and never kept: a view
// holds a bitmap or nothing.
enum class PictureKind : std::uint8_t { none, bitmap, icon, metafile };

// One of the window's picture areas: a fixed size, one picture slot, a repaint mark, and the
// store that pixel reads and writes go to. The window fills the refresh hook; headless, a
// refresh paints nothing.
class View {
public:
    View(std::string name, int width, int height);

    const std::string& name() const { return name_; }
    int width() const { return width_; }
    int height() const { return height_; }

    PictureKind picture_kind() const { return kind_; }
    // The held bitmap picture, or nullptr when the slot holds none (for painting and tests).
    const Bitmap* bitmap() const {
        settle();
        return kind_ == PictureKind::bitmap ? &picture_ : nullptr;
    }

    // The picture, readied for pixel work that counts as changing it: a view without a picture
    // gets a white, view-sized, display-format one. From now on it no longer matches the colour counts its file gave, which an export then leaves
    // out. Pixel reads through the view count as such work.
    Bitmap& pixels_for_change();
    Color get_pixel(int x, int y) { return pixels_for_change().get_pixel(x, y); }
    void set_pixel(int x, int y, Color color) { pixels_for_change().set_pixel(x, y, color); }

    // The bitmap picture; a view without one gets the empty picture, not a view-sized one, and
    // is marked for repainting.
    Bitmap& bitmap_access();

    // Fills the whole view from the whole source, nearest pixel, no blending.
    void stretch_draw(const Bitmap& source);

    // A draw that may wait until the picture is next read (painted, exported, converted), so
    // that a picture nobody looks at is never drawn. Checks and marks as pixels_for_change() does,
    // now; `draw` is handed the picture later (the view-sized white one if the view had none)
    // and must depend only on what it holds itself. A draw still owed is done first, unless it
    // is of the same `kind`: drawing the same thing again writes over everything it would write.
    void defer_draw(const void* kind, std::function<void(Bitmap&)> draw);
    bool draw_owed() const { return static_cast<bool>(owed_.draw); }

    // Puts a freshly loaded picture in the slot and marks the view for repainting.
    void take_picture(Bitmap picture);
    // Empties the slot, as before any picture, and marks the view for repainting.
    void clear_picture();

    // Paints the view at once (through the hook) and clears the repaint mark.
    void refresh();
    bool repaint_marked() const { return repaint_marked_; }
    void mark_for_repaint() { repaint_marked_ = true; }
    void clear_repaint_mark() { repaint_marked_ = false; }
    void set_refresh_hook(std::function<void(View&)> hook) { refresh_hook_ = std::move(hook); }

private:
    struct OwedDraw {
        const void* kind = nullptr;
        std::function<void(Bitmap&)> draw;
        bool makes_picture = false;  // the view had no picture: the draw starts from white
    };
    // Does the draw owed, if any; what every read of the picture does first.
    void settle() const {
        if (owed_.draw) {
            draw_owed_now();
        }
    }
    void draw_owed_now() const;

    std::string name_;
    int width_;
    int height_;
    PictureKind kind_ = PictureKind::none;
    // Changed by reads only in that they draw what was owed, as if it had been drawn at once.
    mutable Bitmap picture_;
    mutable OwedDraw owed_;
    bool repaint_marked_ = false;
    std::function<void(View&)> refresh_hook_;
};

}  // namespace vlt
