#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/big_blocks.h"
#include "commands/command.h"
#include "commands/command_table.h"
#include "commands/editor_state.h"
#include "commands/undo_history.h"
#include "commands/unsaved_changes.h"
#include "commands/window_port.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

enum class SurplusColours;
struct IndexTarget;

// How a command ended, and the file it worked on.
struct CommandResult {
    enum class Status { done, cancelled, failed };
    Status status = Status::done;
    bool warned = false;  // it showed warnings
    std::optional<std::filesystem::path> file;

    bool done() const { return status == Status::done; }
};

// How a command is run when the caller wants other than a button's way.
struct RunOptions {
    std::string step_name;              // the undo step's name; empty: the command's
    CommandReports* reports = nullptr;  // where its outcome goes; null: the port
};

// The main window's logic without a window: the workspace, the four views, and the commands,
// each taking its file (given, or from its dialog), then doing its work, then its drawing,
// against the port.
class TextureEditor {
public:
    // A batch run never undoes and never asks what is unsaved: it keeps no steps and no saved
    // bytes, and spends nothing on noting what changed.
    enum class UndoSteps { kept, not_kept };

    explicit TextureEditor(WindowPort& port, UndoSteps steps = UndoSteps::kept);
    // Undo steps refer to the editor's own parts.
    TextureEditor(const TextureEditor&) = delete;
    TextureEditor& operator=(const TextureEditor&) = delete;
    // The workspace makes the editor a few hundred kilobytes: one big block when allocated.
    static void* operator new(std::size_t bytes) { return allocate_big(bytes); }
    static void operator delete(void* block, std::size_t bytes) noexcept { free_big(block, bytes); }

    // Runs one command to its end: on `file` when given, else on the file its dialog asks the
    // port for (a command that uses no file asks nothing). Buttons, menus, drops, the command
    // line and watched files all come here. Errors stop here, at the one place where they are
    // caught, and go to the reports in the box they ask for. A command that completes is one
    // undo step, if it changed anything but data files' records.
    CommandResult run(Command command, std::optional<std::filesystem::path> file = {},
                      const RunOptions& options = {});

    // Runs an edit that is not a command as one undo step of that name ("Edit palette entry
    // 7"). An edit that raises changes nothing and makes no step; the error goes on to the
    // caller. An editor that keeps no steps just runs the edit.
    void run_as_step(std::string name, const std::function<void()>& edit);

    // Undo and redo put back the buffers, every view's picture, and each data part's file
    // and saved bytes as they were; views that change are refreshed. Each does nothing when
    // there is nothing to take.
    void undo();
    void redo();
    const UndoHistory& history() const { return history_; }

    // The commands, named as the table names them; each works on the file it is given (none
    // for build_cliff) and may raise an Exception, which run() catches.
    void import_from_pal(const std::filesystem::path& file);
    void save_pal_to_bitmap(const std::filesystem::path& file);
    void save_to_pal(const std::filesystem::path& file);
    void import_pal_from_bitmap(const std::filesystem::path& file);
    void import_from_ciff(const std::filesystem::path& file);
    void cliff_save_to_bitmap(const std::filesystem::path& file);
    void import_from_bigf(const std::filesystem::path& file);
    void save_bigf_to_bitmap(const std::filesystem::path& file);
    void save_to_bigf(const std::filesystem::path& file);
    void import_bigf_from_bitmap(const std::filesystem::path& file);
    void import_cliff_from_bitmap(const std::filesystem::path& file);
    void save_to_cliff(const std::filesystem::path& file);
    void build_cliff(const std::filesystem::path& none);
    // The paint-program commands: palette files, indexed exports that read the buffers (so
    // they work at any time and draw nothing), and the bigf import's other ways with colours.
    void import_palette(const std::filesystem::path& file);
    void export_palette(const std::filesystem::path& file);
    void save_bigf_to_indexed_bitmap(const std::filesystem::path& file);
    void save_cliff_to_indexed_bitmap(const std::filesystem::path& file);
    void import_bigf_nearest(const std::filesystem::path& file);
    void import_bigf_reduced(const std::filesystem::path& file);
    void import_bigf_reduced_dithered(const std::filesystem::path& file);
    void import_bigf_indices(const std::filesystem::path& file);
    void import_cliff_indices(const std::filesystem::path& file);
    void import_bigf_indices_taking_palette(const std::filesystem::path& file);
    void import_cliff_indices_taking_palette(const std::filesystem::path& file);

    // One palette entry takes a new colour: the palette views are redrawn, then each texture
    // view that holds a picture, and the palette is marked changed. Entries outside 0 to 255
    // raise an error.
    void edit_palette_entry(int index, Color color);

    Workspace& workspace() { return workspace_; }
    const Workspace& workspace() const { return workspace_; }

    // Which parts differ from the bytes last loaded from or saved to their data file (all zero
    // before any). An editor that keeps no undo steps tracks none: nothing is marked.
    UnsavedChanges unsaved_changes() const;
    // The data file a part belongs to: last loaded from or saved to (a save proposes it);
    // nothing before either.
    const std::optional<std::filesystem::path>& data_file(DataPart part) const;

    // After a change to the palette, the texture views that hold a picture are drawn again
    // from their data, the bigf view only when asked: a view still empty stays empty.
    void redraw_textures_for_palette(bool bigf_too = true);
    // The file the view's picture was last loaded or imported from; nothing before any was, and
    // after build_cliff for the cliff view.
    const std::optional<std::filesystem::path>& source_of(const View& view) const;

    View pal{"pal", 16, 16};
    View pal_preview{"pal_preview", 128, 128};
    View cliff{"cliff", cliff_width, cliff_height};
    View bigf{"bigf", bigf_width, bigf_height};

private:
    // The file dialog of a command that uses a file: the request starts in the current
    // directory, and a save proposes the part's data file.
    std::optional<std::filesystem::path> ask_for_file(const CommandSpec& spec);
    // The command's action as one undo step; raises what the action raises.
    void run_step(const CommandSpec& spec, const std::filesystem::path& file,
                  const RunOptions& options);
    void report(const std::exception& error);
    std::optional<std::size_t> slot_of(const View& view) const;
    // Bookkeeping at the end of a command that completed.
    void set_palette_source(const std::filesystem::path& file);
    // The part now belongs to the file, which holds `length` bytes; those it shares with the
    // buffer are what the unsaved mark compares with.
    void note_data_file(DataPart part, const std::filesystem::path& file, std::uint64_t length);
    EditorParts parts();
    void set_source(const View& view, std::optional<std::filesystem::path> file);
    // Hands what a command that succeeded lost or filled in to the port, if anything.
    void warn(const std::vector<std::string>& warnings);
    void warn(const std::vector<std::string>& warnings, const std::vector<std::string>& notes);
    void import_bigf(const std::filesystem::path& file, SurplusColours surplus);
    // Stores an indexed picture's indices in the target's texture, shown by `view`.
    void import_indices(const std::filesystem::path& file, View& view, const IndexTarget& target,
                        bool take_palette);

    WindowPort& port_;
    // Where the running command's outcome goes, and whether it warned.
    CommandReports* reports_;
    bool warned_ = false;
    Workspace workspace_;
    // In the order pal, pal_preview, cliff, bigf.
    std::array<std::optional<std::filesystem::path>, 4> sources_;
    // In the order of DataPart.
    std::array<DataFileRecord, 3> files_;
    UndoHistory history_;
    UndoSteps steps_;
};

}  // namespace vlt
