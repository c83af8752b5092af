#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "commands/texture_editor.h"

namespace vlt::cli {

// One command of the run, with the path its file dialog would have returned.
struct Step {
    Command command;
    std::string name;                           // as typed: the run's messages carry it
    std::optional<std::filesystem::path> path;  // none for build_cliff only
};

// Every option is a flag; the table in cli_args.cpp names them.
struct Options {
    bool help = false;
    bool keep_going = false;
    bool strict = false;   // a command that warns counts as failed
    bool nearest = false;  // import_bigf_from_bitmap runs as import_bigf_nearest
    bool reduce = false;   // ... as import_bigf_reduced
    bool dither = false;   // ... as import_bigf_reduced_dithered (with reduce only)
    std::vector<Step> steps;
};

// The parsed command line, or the reason it is not one (a usage error).
struct ParseResult {
    std::optional<Options> options;
    std::string error;
};

// Options come only before the first command, in any order; after it every word is a command or
// a path.
ParseResult parse_arguments(std::span<const std::string_view> args);

// Whether the command takes a path argument (every one but build_cliff).
bool takes_path(Command command);

std::string usage_text(std::string_view program);
std::string help_text(std::string_view program);

}  // namespace vlt::cli
