// The commands for working with paint programs: palette files and indexed exports.
#include <string>

#include "base/count_text.h"
#include "base/file_messages.h"
#include "commands/texture_editor.h"
#include "pictures/drawing.h"
#include "pictures/indexed_bmp.h"
#include "pictures/png_writer.h"
#include "workspace/palette_files.h"

namespace vlt {
namespace {

// BMP, or PNG when the path ends in .png.
std::vector<std::uint8_t> encode_indexed(const std::filesystem::path& path,
                                         std::span<const std::uint8_t> indices, int width,
                                         int height, const Palette& palette) {
    return is_png_path(path) ? encode_indexed_png(indices, width, height, palette)
                             : encode_indexed_bmp(indices, width, height, palette);
}

}  // namespace

void TextureEditor::import_palette(const std::filesystem::path& file) {
    const int count = import_palette_file(workspace_, file);
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    redraw_textures_for_palette();
    // A paint program's file is not the game's: the palette's data file stays as it was.
    set_palette_source(file);
    if (count < palette_size) {
        warn({"The file holds " + counted(count, "colour", "colours") + "; entries from " +
              with_commas(count) + " on kept their old values."});
    }
}

void TextureEditor::export_palette(const std::filesystem::path& file) {
    export_palette_file(workspace_, file);
}

void TextureEditor::save_bigf_to_indexed_bitmap(const std::filesystem::path& file) {
    replace_file_or_raise(file, encode_indexed(file, workspace_.bigf_data, bigf_width,
                                               bigf_height, workspace_.pal_colors));
}

void TextureEditor::save_cliff_to_indexed_bitmap(const std::filesystem::path& file) {
    replace_file_or_raise(file, encode_indexed(file, workspace_.cliff_data, cliff_width,
                                               cliff_height, workspace_.pal_colors));
}

}  // namespace vlt
