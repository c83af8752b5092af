#include "commands/file_drop.h"

#include <array>
#include <string>

namespace vlt {
namespace {

struct DropRule {
    std::string_view view_name;
    std::string_view extension;  // lower case, with its dot
    Command command;
};

// The palette grid and the preview both show the palette, so both take its imports.
constexpr std::array<DropRule, 26> drop_rules{{
    {"pal", ".dat", Command::import_from_pal},
    {"pal", ".bmp", Command::import_pal_from_bitmap},
    {"pal", ".png", Command::import_pal_from_bitmap},
    {"pal", ".ico", Command::import_pal_from_bitmap},
    {"pal", ".emf", Command::import_pal_from_bitmap},
    {"pal", ".wmf", Command::import_pal_from_bitmap},
    {"pal_preview", ".dat", Command::import_from_pal},
    {"pal_preview", ".bmp", Command::import_pal_from_bitmap},
    {"pal_preview", ".png", Command::import_pal_from_bitmap},
    {"pal_preview", ".ico", Command::import_pal_from_bitmap},
    {"pal_preview", ".emf", Command::import_pal_from_bitmap},
    {"pal_preview", ".wmf", Command::import_pal_from_bitmap},
    // Palette files of paint programs.
    {"pal", ".gpl", Command::import_palette},
    {"pal", ".pal", Command::import_palette},
    {"pal", ".act", Command::import_palette},
    {"pal", ".hex", Command::import_palette},
    {"pal_preview", ".gpl", Command::import_palette},
    {"pal_preview", ".pal", Command::import_palette},
    {"pal_preview", ".act", Command::import_palette},
    {"pal_preview", ".hex", Command::import_palette},
    {"cliff", ".dat", Command::import_from_ciff},
    {"cliff", ".bmp", Command::import_cliff_from_bitmap},
    {"cliff", ".png", Command::import_cliff_from_bitmap},
    {"bigf", ".dat", Command::import_from_bigf},
    {"bigf", ".bmp", Command::import_bigf_from_bitmap},
    {"bigf", ".png", Command::import_bigf_from_bitmap},
}};

std::string lower_extension(const std::filesystem::path& file) {
    std::string extension;
    for (const char8_t c : file.extension().u8string()) {
        extension +=
            c >= u8'A' && c <= u8'Z' ? static_cast<char>(c - u8'A' + u8'a') : static_cast<char>(c);
    }
    return extension;
}

}  // namespace

std::optional<Command> command_for_dropped_file(std::string_view view_name,
                                                const std::filesystem::path& file) {
    const std::string extension = lower_extension(file);
    for (const DropRule& rule : drop_rules) {
        if (rule.view_name == view_name && rule.extension == extension) {
            return rule.command;
        }
    }
    return std::nullopt;
}

}  // namespace vlt
