// Changing one palette entry by hand, as the window's inspector and Edit menu do.
#include <string>

#include "base/errors.h"
#include "commands/texture_editor.h"
#include "pictures/drawing.h"

namespace vlt {

void TextureEditor::edit_palette_entry(int index, Color color) {
    if (index < 0 || index >= palette_size) {
        throw Exception("There is no palette entry " + std::to_string(index) + ".");
    }
    workspace_.pal_colors[static_cast<std::size_t>(index)] = color;
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    // The textures follow the palette; a view still without a picture stays without one. The
    // palette's unsaved mark follows its bytes.
    redraw_textures_for_palette();
}

}  // namespace vlt
