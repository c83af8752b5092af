#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "commands/texture_editor.h"

namespace vlt {

// The command that a file dropped on a view runs, as if that command's dialog had chosen it:
// the view's import for the file's kind, told by its extension in any case. Nothing for a kind
// of file the view takes no import for.
std::optional<Command> command_for_dropped_file(std::string_view view_name,
                                                const std::filesystem::path& file);

}  // namespace vlt
