#pragma once

#include "conversions/outside_read.h"
#include "pictures/bitmap.h"
#include "workspace/workspace.h"

namespace vlt {

// Takes the 256 palette entries from the top-left 16 x 16 pixels of the palette view's picture,
// row by row. Pixels the picture does not have read as CLR_INVALID and are kept as such; the
// result says how many there were.
OutsideRead palette_from_picture(Workspace& workspace, const Bitmap& picture);

}  // namespace vlt
