#include "commands/command_table.h"

#include <algorithm>
#include <array>

#include "commands/texture_editor.h"

namespace vlt {
namespace {

constexpr std::string_view pal_filter = "*pal*.dat|*pal*.dat";
constexpr std::string_view bigf_filter = "bigf*.dat|bigf*.dat";
constexpr std::string_view cliff_filter = "cliff*.dat|cliff*.dat";
constexpr std::string_view bmp_filter = "*.bmp|*.bmp|PNG picture (*.png)|*.png";
constexpr std::string_view bitmap_filter = "bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png";
// Every palette format as a filter entry of its own; opening offers them all at once first.
constexpr std::string_view palette_formats =
    "GIMP palette (*.gpl)|*.gpl|JASC palette (*.pal)|*.pal|Adobe Color Table (*.act)|*.act|"
    "Hex colour list (*.hex)|*.hex";
constexpr std::string_view any_palette =
    "Palette files (*.gpl;*.pal;*.act;*.hex)|*.gpl;*.pal;*.act;*.hex|"
    "GIMP palette (*.gpl)|*.gpl|JASC palette (*.pal)|*.pal|Adobe Color Table (*.act)|*.act|"
    "Hex colour list (*.hex)|*.hex";
constexpr std::string_view indexed_bitmap_filter =
    "indexed bitmap (*.bmp)|*.bmp|indexed PNG picture (*.png)|*.png";
constexpr std::string_view indexed_filter =
    "indexed picture (*.bmp;*.png)|*.bmp;*.png|bitmap (*.bmp)|*.bmp|PNG picture (*.png)|*.png";

constexpr auto none = FileUse::none;
constexpr auto open = FileUse::open;
constexpr auto save = FileUse::save;
constexpr auto button = Listing::button;
constexpr auto paint = Listing::paint_program;
constexpr auto variant = Listing::variant;
constexpr auto palette = CommandGroup::palette;
constexpr auto bigf = CommandGroup::bigf;
constexpr auto cliff = CommandGroup::cliff;
constexpr std::optional<DataPart> no_part;

using E = TextureEditor;

constexpr std::array<CommandSpec, command_count> table{{
    {Command::import_from_pal, "import_from_pal",
     "load a palette file (1,024 bytes) and redraw the palette", button, palette, open,
     pal_filter, {}, no_part, {}, {}, &E::import_from_pal},
    {Command::save_pal_to_bitmap, "save_pal_to_bitmap", "export the palette picture as a BMP",
     button, palette, save, bitmap_filter, "*.bmp", no_part, {}, {}, &E::save_pal_to_bitmap},
    {Command::save_to_pal, "save_to_pal", "save the palette file", button, palette, save,
     pal_filter, "*.dat", DataPart::palette, {}, {}, &E::save_to_pal},
    {Command::import_pal_from_bitmap, "import_pal_from_bitmap",
     "take the palette from the top-left 16 x 16 pixels of a picture", button, palette, open,
     bmp_filter, {}, no_part, {}, {}, &E::import_pal_from_bitmap},
    {Command::import_from_ciff, "import_from_ciff",
     "load a cliff texture file (8,192 bytes) and redraw it", button, cliff, open, cliff_filter,
     {}, no_part, {}, {}, &E::import_from_ciff},
    {Command::cliff_save_to_bitmap, "cliff_save_to_bitmap", "export the cliff picture as a BMP",
     button, cliff, save, bitmap_filter, "*.bmp", no_part, {}, {}, &E::cliff_save_to_bitmap},
    {Command::import_from_bigf, "import_from_bigf",
     "load a bigf texture file (294,912 bytes) and redraw it", button, bigf, open, bigf_filter,
     {}, no_part, {}, {}, &E::import_from_bigf},
    {Command::save_bigf_to_bitmap, "save_bigf_to_bitmap", "export the bigf picture as a BMP",
     button, bigf, save, bmp_filter, "*.bmp", no_part, {}, {}, &E::save_bigf_to_bitmap},
    {Command::save_to_bigf, "save_to_bigf", "save the bigf texture file", button, bigf, save,
     bigf_filter, "*.dat", DataPart::bigf, {}, {}, &E::save_to_bigf},
    {Command::import_bigf_from_bitmap, "import_bigf_from_bitmap",
     "turn a BMP into the bigf texture, rebuilding palette entries 0 to 111", button, bigf, open,
     bmp_filter, {}, no_part, {}, {}, &E::import_bigf_from_bitmap},
    {Command::import_cliff_from_bitmap, "import_cliff_from_bitmap",
     "turn a BMP into the cliff texture: each pixel takes the first palette entry within 9 on "
     "each channel, else entry 0",
     button, cliff, open, bmp_filter, {}, no_part, {}, {}, &E::import_cliff_from_bitmap},
    {Command::save_to_cliff, "save_to_cliff", "save the cliff texture file", button, cliff, save,
     cliff_filter, "*.dat", DataPart::cliff, {}, {}, &E::save_to_cliff},
    {Command::build_cliff, "build_cliff", "generate the cliff texture from the palette (no file)",
     button, cliff, none, {}, {}, no_part, {}, {}, &E::build_cliff},
    {Command::import_palette, "import_palette",
     "load a palette file of a paint program (.gpl, .pal, .act, .hex)", paint, palette, open,
     any_palette, {}, no_part, {}, "Import palette file...", &E::import_palette},
    {Command::export_palette, "export_palette",
     "save the palette for a paint program (.gpl, .pal, .act, .hex)", paint, palette, save,
     palette_formats, "*.gpl", no_part, {}, "Export palette file...", &E::export_palette},
    {Command::save_bigf_to_indexed_bitmap, "save_bigf_to_indexed_bitmap",
     "export the bigf texture as an 8-bit BMP (or PNG): its indices, the palette's colours",
     paint, bigf, save, indexed_bitmap_filter, "*.bmp", no_part, {}, "Export as indexed BMP...",
     &E::save_bigf_to_indexed_bitmap},
    {Command::save_cliff_to_indexed_bitmap, "save_cliff_to_indexed_bitmap",
     "export the cliff texture as an 8-bit BMP (or PNG): its indices, the palette's colours",
     paint, cliff, save, indexed_bitmap_filter, "*.bmp", no_part, {}, "Export as indexed BMP...",
     &E::save_cliff_to_indexed_bitmap},
    {Command::import_bigf_nearest, "import_bigf_from_bitmap",
     "import_bigf_from_bitmap giving a colour without room the nearest palette entry", variant,
     bigf, open, bmp_filter, {}, no_part, "import_bigf_from_bitmap with nearest colours",
     "Import BMP with nearest colours...", &E::import_bigf_nearest},
    {Command::import_bigf_reduced, "import_bigf_from_bitmap",
     "import_bigf_from_bitmap choosing entries 1 to 111 for the whole picture", variant, bigf,
     open, bmp_filter, {}, no_part, "import_bigf_from_bitmap reducing colours",
     "Import BMP reducing colours...", &E::import_bigf_reduced},
    {Command::import_bigf_reduced_dithered, "import_bigf_from_bitmap",
     "import_bigf_from_bitmap choosing entries 1 to 111, dithered", variant, bigf, open,
     bmp_filter, {}, no_part, "-", {}, &E::import_bigf_reduced_dithered},
    {Command::import_bigf_indices, "import_bigf_indices",
     "store the indices of an indexed BMP or PNG of 256 x 1152 as the bigf texture", paint, bigf,
     open, indexed_filter, {}, no_part, {}, "Import indexed picture...",
     &E::import_bigf_indices},
    {Command::import_cliff_indices, "import_cliff_indices",
     "store the indices of an indexed BMP or PNG of 128 x 64 as the cliff texture", paint, cliff,
     open, indexed_filter, {}, no_part, {}, "Import indexed picture...",
     &E::import_cliff_indices},
    {Command::import_bigf_indices_taking_palette, "import_bigf_indices",
     "import_bigf_indices taking the picture's colour table into the palette", variant, bigf,
     open, indexed_filter, {}, no_part, "import_bigf_indices with its palette",
     "Import indexed picture with its palette...", &E::import_bigf_indices_taking_palette},
    {Command::import_cliff_indices_taking_palette, "import_cliff_indices",
     "import_cliff_indices taking the picture's colour table into the palette", variant, cliff,
     open, indexed_filter, {}, no_part, "import_cliff_indices with its palette",
     "Import indexed picture with its palette...", &E::import_cliff_indices_taking_palette},
}};

constexpr bool in_command_order() {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (static_cast<std::size_t>(table[i].command) != i) {
            return false;
        }
    }
    return true;
}
static_assert(in_command_order(), "the table lists every command once, in the order of Command");

// The cliff texture's file command, spelt as the texture is.
constexpr std::array<CommandAlias, 1> aliases{{
    {"import_from_cliff", Command::import_from_ciff},
}};

// Where a command comes in its File submenu.
int menu_rank(const CommandSpec& spec) {
    switch (spec.file_use) {
        case FileUse::open:
            return 0;
        case FileUse::none:
            return 1;
        case FileUse::save:
            break;
    }
    return spec.proposes ? 2 : 3;
}

}  // namespace

std::span<const CommandSpec> command_table() {
    return table;
}

const CommandSpec& spec_of(Command command) {
    return table[static_cast<std::size_t>(command)];
}

std::span<const CommandAlias> command_aliases() {
    return aliases;
}

std::optional<Command> command_from_name(std::string_view name) {
    for (const CommandSpec& spec : table) {
        if (spec.listing != Listing::variant && spec.name == name) {
            return spec.command;
        }
    }
    if (const auto it = std::ranges::find(aliases, name, &CommandAlias::name);
        it != aliases.end()) {
        return it->command;
    }
    return std::nullopt;
}

std::string_view command_name(Command command) {
    return spec_of(command).name;
}

bool has_own_name(Command command) {
    return spec_of(command).listing != Listing::variant;
}

std::string_view menu_text(Command command) {
    const CommandSpec& spec = spec_of(command);
    return spec.menu_text.empty() ? spec.name : spec.menu_text;
}

std::vector<Command> file_menu_commands(CommandGroup group) {
    std::vector<const CommandSpec*> specs;
    for (const CommandSpec& spec : table) {
        if (spec.group == group && spec.menu_text != "-") {
            specs.push_back(&spec);
        }
    }
    std::ranges::stable_sort(specs, {}, [](const CommandSpec* s) { return menu_rank(*s); });
    std::vector<Command> commands;
    for (const CommandSpec* spec : specs) {
        commands.push_back(spec->command);
    }
    return commands;
}

std::vector<Command> view_menu_commands(std::string_view view_name) {
    const CommandGroup group = view_name == "bigf"    ? CommandGroup::bigf
                               : view_name == "cliff" ? CommandGroup::cliff
                                                      : CommandGroup::palette;
    if (group == CommandGroup::palette && view_name != "pal" && view_name != "pal_preview") {
        return {};
    }
    std::vector<Command> commands;
    for (const CommandSpec& spec : table) {
        if (spec.group == group && !spec.view_menu_text.empty()) {
            commands.push_back(spec.command);
        }
    }
    return commands;
}

}  // namespace vlt
