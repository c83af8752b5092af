#pragma once

#include <algorithm>
#include <cstdint>

#include "pictures/bitmap.h"

namespace vlt {

// What a conversion read beyond a picture narrower or lower than the area it reads from the
// top-left corner: the picture's size, and how many pixels of that area it does not have (each
// read as CLR_INVALID).
struct OutsideRead {
    int picture_width = 0;
    int picture_height = 0;
    std::uint64_t pixels = 0;
};

inline OutsideRead outside_read(const Bitmap& picture, int read_width, int read_height) {
    const auto inside = static_cast<std::uint64_t>(std::min(picture.width(), read_width)) *
                        static_cast<std::uint64_t>(std::min(picture.height(), read_height));
    return {
        picture.width(), picture.height(),
        static_cast<std::uint64_t>(read_width) * static_cast<std::uint64_t>(read_height) - inside};
}

}  // namespace vlt
