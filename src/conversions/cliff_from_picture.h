#pragma once

#include <cstdint>

#include "conversions/outside_read.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// A pixel is close to an entry when each of red, green and blue differs by at most 9; the top
// byte plays no part.
bool is_close_color(Color pixel, Color entry);

// The first entry close to the colour in index order, or 0 when none is.
std::uint8_t first_close_entry(const Palette& palette, Color color);

// What a cliff conversion could not match.
struct CliffReport {
    std::uint64_t unmatched_pixels = 0;  // texels close to no entry, given index 0
    OutsideRead outside;
};

// Turns the cliff view's picture into `cliff_data` against the current palette, which it never
// changes. Pixels the picture does not have read as CLR_INVALID.
CliffReport cliff_from_picture(Workspace& workspace, const Bitmap& picture);

}  // namespace vlt
