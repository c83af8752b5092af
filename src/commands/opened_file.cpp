#include "commands/opened_file.h"

#include <array>
#include <string_view>

#include "base/path_text.h"

namespace vlt {
namespace {

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The texture prefixes come first: "bigf_pal.dat" is a bigf file.
std::optional<Command> data_file_command(const std::string& name) {
    if (name.starts_with("bigf")) {
        return Command::import_from_bigf;
    }
    if (name.starts_with("cliff")) {
        return Command::import_from_ciff;
    }
    if (name.find("pal") != std::string::npos) {
        return Command::import_from_pal;
    }
    return std::nullopt;
}

}  // namespace

std::optional<Command> command_for_opened_file(const std::filesystem::path& file) {
    const std::string name = lower(utf8_of(file.filename()));
    const std::string extension = lower(extension_of(file.filename()));
    if (extension == "dat") {
        return data_file_command(name);
    }
    constexpr std::array<std::string_view, 4> palette_files{"gpl", "pal", "act", "hex"};
    for (const std::string_view kind : palette_files) {
        if (extension == kind) {
            return Command::import_palette;
        }
    }
    return std::nullopt;
}

std::string not_opened_text(const std::string& shown_name) {
    return shown_name +
           " was not opened: it is neither a data file (*pal*.dat, bigf*.dat, cliff*.dat) nor "
           "a palette file (.gpl, .pal, .act, .hex).";
}

}  // namespace vlt
