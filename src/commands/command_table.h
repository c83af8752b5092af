#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "commands/command.h"
#include "commands/unsaved_changes.h"

namespace vlt {

class TextureEditor;

// How the command line lists a command: a button, a command for paint programs, or a variant
// of another command that an option or a menu item chooses (it shares that command's name).
enum class Listing { button, paint_program, variant };

// What a command does with a file: none, or one it opens or saves, asked for by a dialog unless
// the caller gives it.
enum class FileUse { none, open, save };

// The part a command works on: its File submenu, and the views whose context menu offer it.
enum class CommandGroup { palette, bigf, cliff };

struct CommandSpec {
    Command command;
    // The command line's name, the button's name and caption, and the undo step's name.
    std::string_view name;
    std::string_view summary;  // the help line, the button's tooltip, the menu's status tip
    Listing listing;
    CommandGroup group;
    FileUse file_use;
    std::string_view filter;       // the dialog's "description|pattern" pairs
    std::string_view default_ext;  // a save dialog's, "*.dat"
    // A save dialog proposes the part's data file.
    std::optional<DataPart> proposes;
    // The File menu's text when it is not the name; "-" keeps the command out of the menus.
    std::string_view menu_text;
    // The text of the entry in the group's views' context menus; empty: none there.
    std::string_view view_menu_text;
    // The command itself, on the file it was given or chosen (empty when it uses none).
    void (TextureEditor::*action)(const std::filesystem::path& file);
};

// Every command, in the order of Command.
std::span<const CommandSpec> command_table();
const CommandSpec& spec_of(Command command);

// The command line's other names for commands; the button keeps its own.
struct CommandAlias {
    std::string_view name;
    Command command;
};
std::span<const CommandAlias> command_aliases();

// The button or paint-program command of that name or alias, letter case as listed; a variant
// is reached only through its options.
std::optional<Command> command_from_name(std::string_view name);
// The name a command goes by, on the command line and in its undo step.
std::string_view command_name(Command command);
// Whether the name leads back to the command itself, not to the command it is a variant of.
bool has_own_name(Command command);
// The text a menu shows for the command ("import_bigf_from_bitmap with nearest colours").
std::string_view menu_text(Command command);

// The commands a File submenu offers: loads and imports, then what needs no file, then saves,
// data files first.
std::vector<Command> file_menu_commands(CommandGroup group);
// The commands a view's context menu offers, by the view's name; the palette grid and its
// preview share theirs.
std::vector<Command> view_menu_commands(std::string_view view_name);

}  // namespace vlt
