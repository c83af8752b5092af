#include "conversions/palette_from_picture.h"

namespace vlt {

OutsideRead palette_from_picture(Workspace& workspace, const Bitmap& picture) {
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            workspace.pal_colors[static_cast<std::size_t>(y * 16 + x)] = picture.get_pixel(x, y);
        }
    }
    return outside_read(picture, 16, 16);
}

}  // namespace vlt
