#include "commands/texture_editor.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "base/errors.h"
#include "pictures/drawing.h"
#include "workspace/data_files.h"

namespace vlt {
namespace {

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

}  // namespace

TextureEditor::TextureEditor(WindowPort& port, UndoSteps steps)
    : port_(port), reports_(&port), steps_(steps) {
    for (View* view : {&pal, &pal_preview, &cliff, &bigf}) {
        view->set_refresh_hook([this](View& v) { port_.refresh_view(v); });
    }
    // Before anything is loaded, the buffers are measured against zeros.
    for (const DataPart part : {DataPart::palette, DataPart::bigf, DataPart::cliff}) {
        if (steps_ == UndoSteps::kept) {
            files_[static_cast<std::size_t>(part)].saved_bytes = file_bytes(workspace_, part);
        }
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
        if (steps_ == UndoSteps::kept && file_bytes(workspace_, part) != files_[static_cast<std::size_t>(part)].saved_bytes) {
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
    if (steps_ == UndoSteps::not_kept) {
        return;  // a batch run never asks what is unsaved
    }
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

std::optional<std::filesystem::path> TextureEditor::ask_for_file(const CommandSpec& spec) {
    FileRequest request;
    request.kind = spec.file_use == FileUse::save ? FileRequest::Kind::save : FileRequest::Kind::open;
    // A folder that vanished under us leaves the dialog to start where it likes.
    std::error_code ignored;
    request.initial_dir = std::filesystem::current_path(ignored);
    request.filter = spec.filter;
    request.default_ext = spec.default_ext;
    if (spec.proposes && data_file(*spec.proposes)) {
        request.proposed_name = *data_file(*spec.proposes);
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

CommandResult TextureEditor::run(Command command, std::optional<std::filesystem::path> file,
                                 const RunOptions& options) {
    const CommandSpec& spec = spec_of(command);
    reports_ = options.reports != nullptr ? options.reports : &port_;
    warned_ = false;
    CommandResult result;
    try {
        if (!file && spec.file_use != FileUse::none) {
            file = ask_for_file(spec);
            if (!file) {
                result.status = CommandResult::Status::cancelled;
            }
        }
        if (result.done()) {
            run_step(spec, file.value_or(std::filesystem::path()), options);
            result.file = std::move(file);
        }
    } catch (const std::exception& error) {
        report(error);
        result.status = CommandResult::Status::failed;
    } catch (...) {
        reports_->report_error({report_text("Unknown error"), {}});
        result.status = CommandResult::Status::failed;
    }
    result.warned = warned_;
    reports_ = &port_;
    return result;
}

void TextureEditor::run_step(const CommandSpec& spec, const std::filesystem::path& file,
                             const RunOptions& options) {
    std::string name = options.step_name.empty() ? std::string(spec.name) : options.step_name;
    run_as_step(std::move(name), [&] { (this->*spec.action)(file); });
}

void TextureEditor::report(const std::exception& error) {
    if (const auto* e = dynamic_cast<const Exception*>(&error)) {
        if (e->box() == ErrorBox::notice) {
            reports_->show_notice({e->what(), e->reason()});
        } else {
            reports_->report_error({report_text(e->what()), e->reason()});
        }
    } else if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        reports_->report_error({report_text("Out of system resources"), {}});
    } else {
        reports_->report_error({report_text(error.what()), {}});
    }
}

void TextureEditor::warn(const std::vector<std::string>& warnings) {
    if (!warnings.empty()) {
        warned_ = true;
        reports_->show_warnings(warnings);
    }
}

void TextureEditor::warn(const std::vector<std::string>& warnings,
                         const std::vector<std::string>& notes) {
    if (notes.empty()) {
        warn(warnings);
    } else {
        warned_ = warned_ || !warnings.empty();
        reports_->show_report(notes, warnings);
    }
}

}  // namespace vlt
