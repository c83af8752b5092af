// Indexed pictures imported with their indices kept: what a paint program saved in indexed mode
// with the game's palette comes back byte for byte.
#include <string>

#include "base/count_text.h"
#include "commands/import_warnings.h"
#include "commands/texture_editor.h"
#include "conversions/indices_from_picture.h"
#include "pictures/drawing.h"
#include "pictures/picture_files.h"

namespace vlt {
namespace {

Warnings indices_warnings(const IndicesReport& report, const LoadedPicture& loaded) {
    Warnings warnings;
    if (report.other_colour_pixels > 0) {
        warnings.push_back(counted(report.other_colour_pixels, "pixel has", "pixels have") +
                           " a colour that is not in the palette: they kept their index and "
                           "show the palette's colour there.");
    }
    if (loaded.missing_pixel_bytes > 0) {
        warnings.push_back("The pixel data is " +
                           counted(loaded.missing_pixel_bytes, "byte", "bytes") +
                           " short: the missing pixels were read as index 0.");
    }
    return with_transparency_note(std::move(warnings), loaded.had_transparency);
}

IndexTarget bigf_target(Workspace& workspace) {
    return {workspace.bigf_data, bigf_width, bigf_height, "import_bigf_indices",
            "import_bigf_from_bitmap"};
}

IndexTarget cliff_target(Workspace& workspace) {
    return {workspace.cliff_data, cliff_width, cliff_height, "import_cliff_indices",
            "import_cliff_from_bitmap"};
}

}  // namespace

void TextureEditor::import_bigf_indices(const std::filesystem::path& file) {
    import_indices(file, bigf, bigf_target(workspace_), false);
}

void TextureEditor::import_cliff_indices(const std::filesystem::path& file) {
    import_indices(file, cliff, cliff_target(workspace_), false);
}

void TextureEditor::import_bigf_indices_taking_palette(const std::filesystem::path& file) {
    import_indices(file, bigf, bigf_target(workspace_), true);
}

void TextureEditor::import_cliff_indices_taking_palette(const std::filesystem::path& file) {
    import_indices(file, cliff, cliff_target(workspace_), true);
}

void TextureEditor::import_indices(const std::filesystem::path& file, View& view,
                                   const IndexTarget& target, bool take_palette) {
    const LoadedPicture loaded = read_bitmap_file(file);
    const IndicesReport report = indices_from_picture(
        loaded.bitmap, target, workspace_.pal_colors,
        take_palette ? PictureTable::take_into_palette : PictureTable::map_to_palette);
    if (take_palette) {
        palette_redraw(workspace_, pal);
        preview_redraw(pal, pal_preview);
    }
    // The imported view shows its texture; with a new palette the other one follows it, if it
    // shows anything.
    for (View* texture : {&bigf, &cliff}) {
        if (texture == &view || (take_palette && texture->picture_kind() != PictureKind::none)) {
            if (texture == &bigf) {
                bigf_redraw(workspace_, bigf);
            } else {
                cliff_redraw(workspace_, cliff);
            }
        }
    }
    set_source(view, file);
    if (take_palette) {
        set_palette_source(file);
    }
    warn(indices_warnings(report, loaded));
}

}  // namespace vlt
