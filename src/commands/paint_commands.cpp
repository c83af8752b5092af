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

// Every format as a filter entry of its own; the dialog that opens a file offers them all at
// once first.
constexpr std::string_view palette_formats =
    "GIMP palette (*.gpl)|*.gpl|JASC palette (*.pal)|*.pal|Adobe Color Table (*.act)|*.act|"
    "Hex colour list (*.hex)|*.hex";
constexpr std::string_view any_palette =
    "Palette files (*.gpl;*.pal;*.act;*.hex)|*.gpl;*.pal;*.act;*.hex|";
constexpr std::string_view indexed_bitmap_filter =
    "indexed bitmap (*.bmp)|*.bmp|indexed PNG picture (*.png)|*.png";

// BMP, or PNG when the path ends in .png.
std::vector<std::uint8_t> encode_indexed(const std::filesystem::path& path,
                                         std::span<const std::uint8_t> indices, int width,
                                         int height, const Palette& palette) {
    return is_png_path(path) ? encode_indexed_png(indices, width, height, palette)
                             : encode_indexed_bmp(indices, width, height, palette);
}

}  // namespace

void TextureEditor::import_palette() {
    const auto path = pick_open(std::string(any_palette) + std::string(palette_formats));
    if (!path) {
        return;
    }
    const int count = import_palette_file(workspace_, *path);
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    redraw_textures_for_palette();
    // A paint program's file is not the game's: the palette's data file stays as it was.
    set_palette_source(*path);
    if (count < palette_size) {
        warn({"The file holds " + counted(count, "colour", "colours") + "; entries from " +
              with_commas(count) + " on kept their old values."});
    }
}

void TextureEditor::export_palette() {
    if (const auto path = pick_save(palette_formats, "*.gpl")) {
        export_palette_file(workspace_, *path);
    }
}

void TextureEditor::save_bigf_to_indexed_bitmap() {
    if (const auto path = pick_save(indexed_bitmap_filter, "*.bmp")) {
        replace_file_or_raise(*path, encode_indexed(*path, workspace_.bigf_data, bigf_width,
                                                    bigf_height, workspace_.pal_colors));
    }
}

void TextureEditor::save_cliff_to_indexed_bitmap() {
    if (const auto path = pick_save(indexed_bitmap_filter, "*.bmp")) {
        replace_file_or_raise(*path, encode_indexed(*path, workspace_.cliff_data, cliff_width,
                                                    cliff_height, workspace_.pal_colors));
    }
}

}  // namespace vlt
