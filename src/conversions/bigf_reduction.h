#pragma once

#include "conversions/bigf_from_picture.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// The bigf import for pictures with more colours than entries 1 to 111 can hold. A picture
// whose colours fit is imported exactly as bigf_from_picture imports it. Otherwise entries 1 to
// 111 are chosen for the whole picture, with entry 0 and entries 112 to 255 kept as they stand
// and counted as colours the picture may use; then every texel takes the first entry that holds
// its colour, or failing that the nearest entry (squared RGB distance, ties to the lowest
// index), or with `dither` the entry error diffusion gives it. The picture's pixels are painted in
// their entries' colours. The report counts the colours reduced and the mean error; it has no
// surplus.
BigfReport bigf_reduced_from_picture(Workspace& workspace, Bitmap& picture, bool dither);

}  // namespace vlt
