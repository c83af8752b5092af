#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/editor_state.h"
#include "commands/undo_history.h"
#include "commands/unsaved_changes.h"
#include "commands/window_port.h"
#include "pictures/view.h"
#include "workspace/workspace.h"

namespace vlt {

enum class SurplusColors;
struct IndexTarget;

// The thirteen buttons, in tab order, then the commands for working with paint programs, which
// the window offers in its views' context menus.
enum class Command {
    import_from_pal,
    save_pal_to_bitmap,
    save_to_pal,
    import_pal_from_bitmap,
    import_from_ciff,
    cliff_save_to_bitmap,
    import_from_bigf,
    save_bigf_to_bitmap,
    save_to_bigf,
    import_bigf_from_bitmap,
    import_cliff_from_bitmap,
    save_to_cliff,
    build_cliff,
    import_palette,
    export_palette,
    save_bigf_to_indexed_bitmap,
    save_cliff_to_indexed_bitmap,
    // import_bigf_from_bitmap giving surplus colours the nearest entry (the command line's
    // --nearest, the bigf view's menu).
    import_bigf_nearest,
    // import_bigf_from_bitmap choosing entries 1 to 111 for the whole picture when its colours
    // do not fit (the command line's --reduce, the bigf view's menu), and the same dithered.
    import_bigf_reduced,
    import_bigf_reduced_dithered,
    // An indexed picture's indices stored unchanged (the palette stays; the command line's
    // import_bigf_indices and import_cliff_indices), and the same taking the picture's colour
    // table into the palette (--take-palette).
    import_bigf_indices,
    import_cliff_indices,
    import_bigf_indices_taking_palette,
    import_cliff_indices_taking_palette,
};

struct CommandInfo {
    Command command;
    std::string_view name;     // the button's name and caption
    std::string_view summary;  // one line on what it does
};

// Another name a command is known by on the command line; the button keeps its own.
struct CommandAlias {
    std::string_view name;
    Command command;
};

// The thirteen buttons.
std::span<const CommandInfo> all_commands();
// The paint-program commands that have a name of their own on the command line.
std::span<const CommandInfo> paint_commands();
std::span<const CommandAlias> command_aliases();
// The command of that name or alias, letter case as listed.
std::optional<Command> command_from_name(std::string_view name);
// The name a command's undo step goes by: its button's or command-line name.
std::string_view command_name(Command command);

// The main window's logic without a window: the workspace, the four views, and the thirteen
// commands, each running its dialog, then its action, then its drawing, against the port.
class TextureEditor {
public:
    // A batch run never undoes: it keeps no steps, and spends nothing on noting what changed.
    enum class UndoSteps { kept, not_kept };

    explicit TextureEditor(WindowPort& port, UndoSteps steps = UndoSteps::kept);
    // Undo steps refer to the editor's own parts.
    TextureEditor(const TextureEditor&) = delete;
    TextureEditor& operator=(const TextureEditor&) = delete;

    // Runs one command to its end, as a button click does: errors stop here, at the one place
    // where they are caught, and go to the port's error report (the silent kind shows nothing).
    // A command that completes is one undo step, if it changed anything but data files' records.
    void click(Command command);

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

    // The handlers; each may raise an Exception, which click() catches.
    void import_from_palClick();
    void save_pal_to_bitmapClick();
    void save_to_palClick();
    void import_pal_from_bitmapClick();
    void import_from_ciffClick();
    void cliff_save_to_bitmapClick();
    void import_from_bigfClick();
    void save_bigf_to_bitmapClick();
    void save_to_bigfClick();
    void import_bigf_from_bitmapClick();
    void import_cliff_from_bitmapClick();
    void save_to_cliffClick();
    void build_cliffClick();

    // The paint-program commands: palette files, indexed exports that read the buffers (so
    // they work at any time and draw nothing), and the bigf import with nearest colours.
    void import_palette();
    void export_palette();
    void save_bigf_to_indexed_bitmap();
    void save_cliff_to_indexed_bitmap();
    void import_bigf_nearest();
    void import_bigf_reduced();
    void import_bigf_reduced_dithered();
    void import_bigf_indices(bool take_palette);
    void import_cliff_indices(bool take_palette);

    // One palette entry takes a new colour: the palette views are redrawn, then each texture
    // view that holds a picture, and the palette is marked changed. Entries outside 0 to 255
    // raise an error.
    void edit_palette_entry(int index, Color color);

    Workspace& workspace() { return workspace_; }
    const Workspace& workspace() const { return workspace_; }

    // Which parts differ from the bytes last loaded from or saved to their data file (all zero
    // before any).
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
    // The dialog step of every file command: the request starts in the current directory.
    std::optional<std::filesystem::path> pick_open(std::string_view filter);
    std::optional<std::filesystem::path> pick_save(std::string_view filter,
                                                   std::string_view default_ext,
                                                   std::optional<DataPart> part = {});
    void run(Command command);
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
    void import_bigf(SurplusColors surplus);
    // Stores an indexed picture's indices in the target's texture, shown by `view`.
    void import_indices(View& view, const IndexTarget& target, bool take_palette);

    WindowPort& port_;
    Workspace workspace_;
    // In the order pal, pal_preview, cliff, bigf.
    std::array<std::optional<std::filesystem::path>, 4> sources_;
    // In the order of DataPart.
    std::array<DataFileRecord, 3> files_;
    UndoHistory history_;
    UndoSteps steps_;
};

}  // namespace vlt
