#include <algorithm>
#include <array>

#include "commands/texture_editor.h"

namespace vlt {
namespace {

constexpr std::array<CommandInfo, 13> catalog{{
    {Command::import_from_pal, "import_from_pal",
     "load a palette file (1,024 bytes) and redraw the palette"},
    {Command::save_pal_to_bitmap, "save_pal_to_bitmap", "export the palette picture as a BMP"},
    {Command::save_to_pal, "save_to_pal", "save the palette file"},
    {Command::import_pal_from_bitmap, "import_pal_from_bitmap",
     "take the palette from the top-left 16 x 16 pixels of a picture"},
    {Command::import_from_ciff, "import_from_ciff",
     "load a cliff texture file (8,192 bytes) and redraw it"},
    {Command::cliff_save_to_bitmap, "cliff_save_to_bitmap", "export the cliff picture as a BMP"},
    {Command::import_from_bigf, "import_from_bigf",
     "load a bigf texture file (294,912 bytes) and redraw it"},
    {Command::save_bigf_to_bitmap, "save_bigf_to_bitmap", "export the bigf picture as a BMP"},
    {Command::save_to_bigf, "save_to_bigf", "save the bigf texture file"},
    {Command::import_bigf_from_bitmap, "import_bigf_from_bitmap",
     "turn a BMP into the bigf texture, rebuilding palette entries 0 to 111"},
    {Command::import_cliff_from_bitmap, "import_cliff_from_bitmap",
     "turn a BMP into the cliff texture: each pixel takes the first palette entry within 9 on "
     "each channel, else entry 0"},
    {Command::save_to_cliff, "save_to_cliff", "save the cliff texture file"},
    {Command::build_cliff, "build_cliff", "generate the cliff texture from the palette (no file)"},
}};

constexpr std::array<CommandInfo, 6> paint_catalog{{
    {Command::import_palette, "import_palette",
     "load a palette file of a paint program (.gpl, .pal, .act, .hex)"},
    {Command::export_palette, "export_palette",
     "save the palette for a paint program (.gpl, .pal, .act, .hex)"},
    {Command::save_bigf_to_indexed_bitmap, "save_bigf_to_indexed_bitmap",
     "export the bigf texture as an 8-bit BMP (or PNG): its indices, the palette's colours"},
    {Command::save_cliff_to_indexed_bitmap, "save_cliff_to_indexed_bitmap",
     "export the cliff texture as an 8-bit BMP (or PNG): its indices, the palette's colours"},
    {Command::import_bigf_indices, "import_bigf_indices",
     "store the indices of an indexed BMP or PNG of 256 x 1152 as the bigf texture"},
    {Command::import_cliff_indices, "import_cliff_indices",
     "store the indices of an indexed BMP or PNG of 128 x 64 as the cliff texture"},
}};

// The cliff texture's file command, spelt as the texture is.
constexpr std::array<CommandAlias, 1> aliases{{
    {"import_from_cliff", Command::import_from_ciff},
}};

}  // namespace

std::span<const CommandInfo> all_commands() {
    return catalog;
}

std::span<const CommandInfo> paint_commands() {
    return paint_catalog;
}

std::span<const CommandAlias> command_aliases() {
    return aliases;
}

std::string_view command_name(Command command) {
    for (const auto& table : {all_commands(), paint_commands()}) {
        if (const auto it = std::ranges::find(table, command, &CommandInfo::command);
            it != table.end()) {
            return it->name;
        }
    }
    // The bigf import with nearest colours is that import, colours chosen otherwise.
    return command == Command::import_bigf_nearest ? "import_bigf_from_bitmap" : "command";
}

std::optional<Command> command_from_name(std::string_view name) {
    if (const auto it = std::ranges::find(catalog, name, &CommandInfo::name); it != catalog.end()) {
        return it->command;
    }
    if (const auto it = std::ranges::find(paint_catalog, name, &CommandInfo::name);
        it != paint_catalog.end()) {
        return it->command;
    }
    if (const auto it = std::ranges::find(aliases, name, &CommandAlias::name);
        it != aliases.end()) {
        return it->command;
    }
    return std::nullopt;
}

}  // namespace vlt
