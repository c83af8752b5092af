#pragma once

#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// Entries 0 to 111 are the block a bigf picture rebuilds; the rest of the palette is kept.
inline constexpr int bigf_rebuilt_entries = 112;

// Turns the picture in the `bigf` view into `bigf_data`, rebuilding palette entries 0 to 111
// from the picture's own colours in scan order. Colours match exactly, first entry wins; a new
// colour that finds no free entry gets index 0 and its pixel is painted black in the view.
void bigf_from_picture(Workspace& workspace, View& bigf);

}  // namespace vlt
