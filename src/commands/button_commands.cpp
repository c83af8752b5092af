// The thirteen buttons' commands: the game's data files, and BMP or PNG pictures of them.
#include "base/errors.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "commands/import_warnings.h"
#include "commands/texture_editor.h"
#include "conversions/bigf_from_picture.h"
#include "conversions/cliff_builder.h"
#include "conversions/cliff_from_picture.h"
#include "conversions/palette_from_picture.h"
#include "pictures/drawing.h"
#include "pictures/picture_files.h"
#include "workspace/data_files.h"

namespace vlt {
namespace {

constexpr std::string_view load_failed = "Failed!";
constexpr std::string_view save_failed = "failed!";

// A data file's load or save: when the system refuses, the notice names the file and says why.
template <typename Action>
void as_data_file_action(const std::filesystem::path& path, std::string_view failure_text,
                         Action action) {
    try {
        action();
    } catch (const FileError& e) {
        throw Exception(std::string(failure_text), FileReason{utf8_of(path), e.what()},
                        ErrorBox::notice);
    }
}

// An import converts only a picture that has pixels: a 0-byte file, an icon or a metafile is
// refused after the file's own checks, before any view or buffer changes.
Bitmap importable(LoadedPicture& loaded) {
    if (!loaded.has_pixels()) {
        throw Exception("The picture has no pixels.");
    }
    return std::move(loaded.bitmap);
}

// An export writes only a picture that has pixels. Checked before the picture is taken, which
// would give a view without one the empty picture.
void require_picture(const View& view) {
    const Bitmap* picture = view.bitmap();
    if (picture == nullptr || picture->empty()) {
        throw Exception("Nothing to export: the " + view.name() + " view holds no picture.");
    }
}

}  // namespace

void TextureEditor::import_from_pal(const std::filesystem::path& file) {
    std::uint64_t length = 0;
    as_data_file_action(file, load_failed, [&] { length = load_palette_file(workspace_, file); });
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    redraw_textures_for_palette();
    note_data_file(DataPart::palette, file, length);
    set_palette_source(file);
    warn(data_file_warnings(length, "a palette file", palette_file_size));
}

void TextureEditor::save_pal_to_bitmap(const std::filesystem::path& file) {
    require_picture(pal);
    save_picture(pal, file);
}

void TextureEditor::save_to_pal(const std::filesystem::path& file) {
    as_data_file_action(file, save_failed, [&] { save_palette_file(workspace_, file); });
    note_data_file(DataPart::palette, file, palette_file_size);
}

void TextureEditor::import_pal_from_bitmap(const std::filesystem::path& file) {
    LoadedPicture loaded = read_picture_by_extension(file);
    pal.take_picture(importable(loaded));
    pal.refresh();
    preview_redraw(pal, pal_preview);
    const OutsideRead outside = palette_from_picture(workspace_, pal.pixels_for_change());
    // The palette views go on showing the picture; the textures are drawn in its colours.
    redraw_textures_for_palette();
    set_palette_source(file);
    warn(with_transparency_note(palette_picture_warnings(outside, loaded.missing_pixel_bytes),
                                loaded.had_transparency));
}

void TextureEditor::import_from_ciff(const std::filesystem::path& file) {
    std::uint64_t length = 0;
    as_data_file_action(file, load_failed, [&] { length = load_cliff_file(workspace_, file); });
    cliff_redraw(workspace_, cliff);
    note_data_file(DataPart::cliff, file, length);
    set_source(cliff, file);
    warn(data_file_warnings(length, "a cliff file", workspace_.cliff_data.size()));
}

void TextureEditor::cliff_save_to_bitmap(const std::filesystem::path& file) {
    require_picture(cliff);
    save_bitmap(cliff, file);
}

void TextureEditor::import_from_bigf(const std::filesystem::path& file) {
    std::uint64_t length = 0;
    as_data_file_action(file, load_failed, [&] { length = load_bigf_file(workspace_, file); });
    bigf_redraw(workspace_, bigf);
    note_data_file(DataPart::bigf, file, length);
    set_source(bigf, file);
    warn(data_file_warnings(length, "a bigf file", workspace_.bigf_data.size()));
}

void TextureEditor::save_bigf_to_bitmap(const std::filesystem::path& file) {
    require_picture(bigf);
    save_bitmap(bigf, file);
}

void TextureEditor::save_to_bigf(const std::filesystem::path& file) {
    as_data_file_action(file, save_failed, [&] { save_bigf_file(workspace_, file); });
    note_data_file(DataPart::bigf, file, workspace_.bigf_data.size());
}

void TextureEditor::import_bigf_from_bitmap(const std::filesystem::path& file) {
    import_bigf(file, SurplusColours::black);
}

void TextureEditor::import_bigf_nearest(const std::filesystem::path& file) {
    import_bigf(file, SurplusColours::nearest);
}

void TextureEditor::import_bigf_reduced(const std::filesystem::path& file) {
    import_bigf(file, SurplusColours::reduced);
}

void TextureEditor::import_bigf_reduced_dithered(const std::filesystem::path& file) {
    import_bigf(file, SurplusColours::reduced_dithered);
}

void TextureEditor::import_bigf(const std::filesystem::path& file, SurplusColours surplus) {
    LoadedPicture loaded = read_bitmap_file(file);
    bigf.take_picture(importable(loaded));
    const BigfReport report = bigf_from_picture(workspace_, bigf.pixels_for_change(), surplus);
    // The view goes on showing the loaded picture, not the indices.
    bigf.refresh();
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    // The bigf view already shows what the import made of the picture.
    redraw_textures_for_palette(false);
    // Palette entries 0 to 111 now come from the picture; the palette views keep naming the
    // file the rest came from.
    set_source(bigf, file);
    warn(with_transparency_note(bigf_picture_warnings(report, loaded.missing_pixel_bytes),
                                loaded.had_transparency),
         bigf_picture_notes(report));
}

void TextureEditor::import_cliff_from_bitmap(const std::filesystem::path& file) {
    LoadedPicture loaded = read_bitmap_file(file);
    cliff.take_picture(importable(loaded));
    const CliffReport report = cliff_from_picture(workspace_, cliff.pixels_for_change());
    cliff_redraw(workspace_, cliff);
    set_source(cliff, file);
    warn(with_transparency_note(cliff_picture_warnings(report, loaded.missing_pixel_bytes),
                                loaded.had_transparency));
}

void TextureEditor::save_to_cliff(const std::filesystem::path& file) {
    as_data_file_action(file, save_failed, [&] { save_cliff_file(workspace_, file); });
    note_data_file(DataPart::cliff, file, workspace_.cliff_data.size());
}

void TextureEditor::build_cliff(const std::filesystem::path&) {
    vlt::build_cliff(workspace_);
    cliff_redraw(workspace_, cliff);
    set_source(cliff, std::nullopt);
}

}  // namespace vlt
