#include "commands/texture_editor.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "base/errors.h"
#include "base/file_io.h"
#include "base/path_text.h"
#include "commands/import_warnings.h"
#include "conversions/bigf_from_picture.h"
#include "conversions/cliff_builder.h"
#include "conversions/cliff_from_picture.h"
#include "conversions/palette_from_picture.h"
#include "pictures/drawing.h"
#include "pictures/picture_files.h"
#include "workspace/data_files.h"

namespace vlt {
namespace {

constexpr std::string_view pal_filter = "*pal*.dat|*pal*.dat";
constexpr std::string_view bigf_filter = "bigf*.dat|bigf*.dat";
constexpr std::string_view cliff_filter = "cliff*.dat|cliff*.dat";
constexpr std::string_view bmp_filter = "*.bmp|*.bmp|PNG picture (*.png)|*.png";
constexpr std::string_view bitmap_filter = "bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png";
constexpr std::string_view dat_ext = "*.dat";
constexpr std::string_view bmp_ext = "*.bmp";

constexpr std::string_view load_failed = "Failed!";
constexpr std::string_view save_failed = "failed!";

// A data file's load or save: when the system refuses, the notice names the file and says why.
template <typename Action>
bool run_file_action(WindowPort& port, const std::filesystem::path& path,
                     std::string_view failure_text, Action action) {
    try {
        action();
        return true;
    } catch (const FileError& e) {
        port.show_notice({std::string(failure_text), FileReason{utf8_of(path), e.what()}});
        return false;
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

bool holds_picture(const View& view) {
    const Bitmap* picture = view.bitmap();
    return picture != nullptr && !picture->empty();
}

// A part's buffer as its data file holds it.
std::vector<std::uint8_t> file_bytes(const Workspace& workspace, DataPart part) {
    switch (part) {
        case DataPart::palette: {
            std::vector<std::uint8_t> bytes;
            bytes.reserve(palette_file_size);
            for (const Color c : workspace.pal_colors) {
                for (int shift = 0; shift < 32; shift += 8) {
                    bytes.push_back(static_cast<std::uint8_t>(c >> shift));
                }
            }
            return bytes;
        }
        case DataPart::bigf:
            return {workspace.bigf_data.begin(), workspace.bigf_data.end()};
        case DataPart::cliff:
            break;
    }
    return {workspace.cliff_data.begin(), workspace.cliff_data.end()};
}

FileRequest make_request(FileRequest::Kind kind, std::string_view filter,
                         std::string_view default_ext) {
    FileRequest request;
    request.kind = kind;
    // A folder that vanished under us leaves the dialog to start where it likes.
    std::error_code ignored;
    request.initial_dir = std::filesystem::current_path(ignored);
    request.filter = filter;
    request.default_ext = default_ext;
    return request;
}

}  // namespace

TextureEditor::TextureEditor(WindowPort& port, UndoSteps steps) : port_(port), steps_(steps) {
    for (View* view : {&pal, &pal_preview, &cliff, &bigf}) {
        view->set_refresh_hook([this](View& v) { port_.refresh_view(v); });
    }
    // Before anything is loaded, the buffers are measured against zeros.
    for (const DataPart part : {DataPart::palette, DataPart::bigf, DataPart::cliff}) {
        files_[static_cast<std::size_t>(part)].saved_bytes = file_bytes(workspace_, part);
    }
    history_.set_listener([this] { port_.history_changed(); });
}

EditorParts TextureEditor::parts() {
    return {workspace_, {&pal, &pal_preview, &cliff, &bigf}, sources_, files_};
}

void TextureEditor::run_as_step(std::string name, const std::function<void()>& edit) {
    if (steps_ == UndoSteps::not_kept) {
        edit();
        return;
    }
    auto before = EditorState::capture(parts());
    try {
        edit();
    } catch (...) {
        // A failed edit leaves things as they were.
        StateChange(*before, parts()).flip();
        throw;
    }
    auto change = std::make_unique<StateChange>(*before, parts());
    // A save only moves a data file's record: nothing to undo. Were the record kept in no step,
    // an undo would still measure the buffer against the file it was saved to, as it should.
    if (!change->only_file_records()) {
        history_.record(std::move(name), std::move(change));
    }
}

void TextureEditor::undo() {
    history_.undo();
}

void TextureEditor::redo() {
    history_.redo();
}

UnsavedChanges TextureEditor::unsaved_changes() const {
    UnsavedChanges changes;
    for (const DataPart part : {DataPart::palette, DataPart::bigf, DataPart::cliff}) {
        if (file_bytes(workspace_, part) != files_[static_cast<std::size_t>(part)].saved_bytes) {
            changes.mark_changed(part);
        }
    }
    return changes;
}

const std::optional<std::filesystem::path>& TextureEditor::data_file(DataPart part) const {
    return files_[static_cast<std::size_t>(part)].file;
}

void TextureEditor::note_data_file(DataPart part, const std::filesystem::path& file,
                                   std::uint64_t length) {
    DataFileRecord& record = files_[static_cast<std::size_t>(part)];
    record.file = file;
    record.saved_bytes = file_bytes(workspace_, part);
    // A short file shares only its leading bytes with the buffer; a long one all of them.
    if (length < record.saved_bytes.size()) {
        record.saved_bytes.resize(static_cast<std::size_t>(length));
    }
}

void TextureEditor::redraw_textures_for_palette(bool bigf_too) {
    if (bigf_too && holds_picture(bigf)) {
        bigf_redraw(workspace_, bigf);
    }
    if (holds_picture(cliff)) {
        cliff_redraw(workspace_, cliff);
    }
}

std::optional<std::filesystem::path> TextureEditor::pick_open(std::string_view filter) {
    return port_.pick_file(make_request(FileRequest::Kind::open, filter, {}));
}

std::optional<std::filesystem::path> TextureEditor::pick_save(std::string_view filter,
                                                              std::string_view default_ext,
                                                              std::optional<DataPart> part) {
    FileRequest request = make_request(FileRequest::Kind::save, filter, default_ext);
    if (part && data_file(*part)) {
        request.proposed_name = *data_file(*part);
    }
    return port_.pick_file(request);
}

std::optional<std::size_t> TextureEditor::slot_of(const View& view) const {
    const std::array<const View*, 4> views{&pal, &pal_preview, &cliff, &bigf};
    const auto it = std::ranges::find(views, &view);
    if (it == views.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(it - views.begin());
}

const std::optional<std::filesystem::path>& TextureEditor::source_of(const View& view) const {
    static const std::optional<std::filesystem::path> none;
    const auto slot = slot_of(view);
    return slot ? sources_[*slot] : none;
}

void TextureEditor::set_source(const View& view, std::optional<std::filesystem::path> file) {
    if (const auto slot = slot_of(view)) {
        sources_[*slot] = std::move(file);
    }
}

void TextureEditor::set_palette_source(const std::filesystem::path& file) {
    set_source(pal, file);
    set_source(pal_preview, file);
}

void TextureEditor::click(Command command) {
    try {
        run_as_step(std::string(command_name(command)), [&] { run(command); });
    } catch (const EAbort&) {
        // The silent kind: the command just ends.
    } catch (const Exception& e) {
        port_.report_error({report_text(e.what()), e.reason()});
    } catch (const std::bad_alloc&) {
        port_.report_error({report_text("Out of system resources"), {}});
    } catch (const std::exception& e) {
        port_.report_error({report_text(e.what()), {}});
    } catch (...) {
        port_.report_error({report_text("Unknown error"), {}});
    }
}

void TextureEditor::warn(const std::vector<std::string>& warnings) {
    if (!warnings.empty()) {
        port_.show_warnings(warnings);
    }
}

void TextureEditor::warn(const std::vector<std::string>& warnings,
                         const std::vector<std::string>& notes) {
    if (notes.empty()) {
        warn(warnings);
    } else {
        port_.show_report(notes, warnings);
    }
}

void TextureEditor::run(Command command) {
    switch (command) {
        case Command::import_from_pal:
            return import_from_palClick();
        case Command::save_pal_to_bitmap:
            return save_pal_to_bitmapClick();
        case Command::save_to_pal:
            return save_to_palClick();
        case Command::import_pal_from_bitmap:
            return import_pal_from_bitmapClick();
        case Command::import_from_ciff:
            return import_from_ciffClick();
        case Command::cliff_save_to_bitmap:
            return cliff_save_to_bitmapClick();
        case Command::import_from_bigf:
            return import_from_bigfClick();
        case Command::save_bigf_to_bitmap:
            return save_bigf_to_bitmapClick();
        case Command::save_to_bigf:
            return save_to_bigfClick();
        case Command::import_bigf_from_bitmap:
            return import_bigf_from_bitmapClick();
        case Command::import_cliff_from_bitmap:
            return import_cliff_from_bitmapClick();
        case Command::save_to_cliff:
            return save_to_cliffClick();
        case Command::build_cliff:
            return build_cliffClick();
        case Command::import_palette:
            return import_palette();
        case Command::export_palette:
            return export_palette();
        case Command::save_bigf_to_indexed_bitmap:
            return save_bigf_to_indexed_bitmap();
        case Command::save_cliff_to_indexed_bitmap:
            return save_cliff_to_indexed_bitmap();
        case Command::import_bigf_nearest:
            return import_bigf_nearest();
        case Command::import_bigf_reduced:
            return import_bigf_reduced();
        case Command::import_bigf_reduced_dithered:
            return import_bigf_reduced_dithered();
        case Command::import_bigf_indices:
            return import_bigf_indices(false);
        case Command::import_cliff_indices:
            return import_cliff_indices(false);
        case Command::import_bigf_indices_taking_palette:
            return import_bigf_indices(true);
        case Command::import_cliff_indices_taking_palette:
            return import_cliff_indices(true);
    }
}

void TextureEditor::import_from_palClick() {
    const auto path = pick_open(pal_filter);
    if (!path) {
        return;
    }
    std::uint64_t length = 0;
    if (!run_file_action(port_, *path, load_failed,
                         [&] { length = load_palette_file(workspace_, *path); })) {
        return;
    }
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    redraw_textures_for_palette();
    note_data_file(DataPart::palette, *path, length);
    set_palette_source(*path);
    warn(data_file_warnings(length, "a palette file", palette_file_size));
}

void TextureEditor::save_pal_to_bitmapClick() {
    if (const auto path = pick_save(bitmap_filter, bmp_ext)) {
        require_picture(pal);
        save_picture(pal, *path);
    }
}

void TextureEditor::save_to_palClick() {
    const auto path = pick_save(pal_filter, dat_ext, DataPart::palette);
    if (!path) {
        return;
    }
    if (!run_file_action(port_, *path, save_failed,
                         [&] { save_palette_file(workspace_, *path); })) {
        return;
    }
    note_data_file(DataPart::palette, *path, palette_file_size);
}

void TextureEditor::import_pal_from_bitmapClick() {
    const auto path = pick_open(bmp_filter);
    if (!path) {
        return;
    }
    LoadedPicture loaded = read_picture_by_extension(*path);
    pal.take_picture(PictureKind::bitmap, importable(loaded));
    pal.refresh();
    preview_redraw(pal, pal_preview);
    const OutsideRead outside = palette_from_picture(workspace_, pal);
    // The palette views go on showing the picture; the textures are drawn in its colours.
    redraw_textures_for_palette();
    set_palette_source(*path);
    warn(with_transparency_note(palette_picture_warnings(outside, loaded.missing_pixel_bytes),
                                loaded.had_transparency));
}

void TextureEditor::import_from_ciffClick() {
    const auto path = pick_open(cliff_filter);
    if (!path) {
        return;
    }
    std::uint64_t length = 0;
    if (!run_file_action(port_, *path, load_failed,
                         [&] { length = load_cliff_file(workspace_, *path); })) {
        return;
    }
    cliff_redraw(workspace_, cliff);
    note_data_file(DataPart::cliff, *path, length);
    set_source(cliff, *path);
    warn(data_file_warnings(length, "a cliff file", workspace_.cliff_data.size()));
}

void TextureEditor::cliff_save_to_bitmapClick() {
    if (const auto path = pick_save(bitmap_filter, bmp_ext)) {
        require_picture(cliff);
        save_bitmap(cliff, *path);
    }
}

void TextureEditor::import_from_bigfClick() {
    const auto path = pick_open(bigf_filter);
    if (!path) {
        return;
    }
    std::uint64_t length = 0;
    if (!run_file_action(port_, *path, load_failed,
                         [&] { length = load_bigf_file(workspace_, *path); })) {
        return;
    }
    bigf_redraw(workspace_, bigf);
    note_data_file(DataPart::bigf, *path, length);
    set_source(bigf, *path);
    warn(data_file_warnings(length, "a bigf file", workspace_.bigf_data.size()));
}

void TextureEditor::save_bigf_to_bitmapClick() {
    if (const auto path = pick_save(bmp_filter, bmp_ext)) {
        require_picture(bigf);
        save_bitmap(bigf, *path);
    }
}

void TextureEditor::save_to_bigfClick() {
    const auto path = pick_save(bigf_filter, dat_ext, DataPart::bigf);
    if (!path) {
        return;
    }
    if (!run_file_action(port_, *path, save_failed, [&] { save_bigf_file(workspace_, *path); })) {
        return;
    }
    note_data_file(DataPart::bigf, *path, workspace_.bigf_data.size());
}

void TextureEditor::import_bigf_from_bitmapClick() {
    import_bigf(SurplusColors::black);
}

void TextureEditor::import_bigf_nearest() {
    import_bigf(SurplusColors::nearest);
}

void TextureEditor::import_bigf_reduced() {
    import_bigf(SurplusColors::reduced);
}

void TextureEditor::import_bigf_reduced_dithered() {
    import_bigf(SurplusColors::reduced_dithered);
}

void TextureEditor::import_bigf(SurplusColors surplus) {
    const auto path = pick_open(bmp_filter);
    if (!path) {
        return;
    }
    LoadedPicture loaded = read_bitmap_file(*path);
    bigf.take_picture(PictureKind::bitmap, importable(loaded));
    const BigfReport report = bigf_from_picture(workspace_, bigf, surplus);
    // The view goes on showing the loaded picture, not the indices.
    bigf.refresh();
    palette_redraw(workspace_, pal);
    preview_redraw(pal, pal_preview);
    // The bigf view already shows what the import made of the picture.
    redraw_textures_for_palette(false);
    // Palette entries 0 to 111 now come from the picture; the palette views keep naming the
    // file the rest came from.
    set_source(bigf, *path);
    warn(with_transparency_note(bigf_picture_warnings(report, loaded.missing_pixel_bytes),
                                loaded.had_transparency),
         bigf_picture_notes(report));
}

void TextureEditor::import_cliff_from_bitmapClick() {
    const auto path = pick_open(bmp_filter);
    if (!path) {
        return;
    }
    LoadedPicture loaded = read_bitmap_file(*path);
    cliff.take_picture(PictureKind::bitmap, importable(loaded));
    const CliffReport report = cliff_from_picture(workspace_, cliff);
    cliff_redraw(workspace_, cliff);
    set_source(cliff, *path);
    warn(with_transparency_note(cliff_picture_warnings(report, loaded.missing_pixel_bytes),
                                loaded.had_transparency));
}

void TextureEditor::save_to_cliffClick() {
    const auto path = pick_save(cliff_filter, dat_ext, DataPart::cliff);
    if (!path) {
        return;
    }
    if (!run_file_action(port_, *path, save_failed, [&] { save_cliff_file(workspace_, *path); })) {
        return;
    }
    note_data_file(DataPart::cliff, *path, workspace_.cliff_data.size());
}

void TextureEditor::build_cliffClick() {
    build_cliff(workspace_);
    cliff_redraw(workspace_, cliff);
    set_source(cliff, std::nullopt);
}

}  // namespace vlt
