#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "commands/texture_editor.h"

namespace vlt {

// The command that opens a file given by name alone (on the window's command line, from the
// recent files), as a drop on the matching view would: a ".dat" by its name, "bigf*", "cliff*"
// or "*pal*", and a paint program's palette file by its extension, letter case aside. Nothing
// for any other file.
std::optional<Command> command_for_opened_file(const std::filesystem::path& file);

// Why a file is not opened, naming it as given.
std::string not_opened_text(const std::string& shown_name);

}  // namespace vlt
