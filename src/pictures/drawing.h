#pragma once

#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

// The four drawing steps that put the workspace on screen. Each writes pixel by pixel through
// the view and ends with a refresh; a palette entry is handed to the view unchanged. The pixels
// are written when the view's picture is next read, as they would have been now.

// Entry i to pixel (i mod 16, i div 16) of `pal`.
void palette_redraw(const Workspace& workspace, View& pal);
// The whole picture of `pal`, whatever its size, stretched onto the whole preview.
void preview_redraw(View& pal, View& preview);
void bigf_redraw(const Workspace& workspace, View& bigf);
void cliff_redraw(const Workspace& workspace, View& cliff);

}  // namespace vlt
