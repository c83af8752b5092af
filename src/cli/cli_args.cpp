#include "cli/cli_args.h"

#include <algorithm>
#include <array>
#include <sstream>

#include "base/path_text.h"

namespace vlt::cli {
namespace {

struct OptionInfo {
    std::string_view name;
    bool Options::*flag;
    std::string_view summary;
};

constexpr std::array<OptionInfo, 7> option_table{{
    {"--keep-going", &Options::keep_going,
     "after a failure, run the remaining commands; exit 1 at the end"},
    {"--strict", &Options::strict,
     "make any warning a failure: the command keeps its effect and prints\n"
     "its warnings, then counts as failed"},
    {"--nearest", &Options::nearest,
     "import_bigf_from_bitmap gives a colour that finds no room in palette\n"
     "entries 1 to 111 the nearest palette entry instead of black"},
    {"--reduce", &Options::reduce,
     "import_bigf_from_bitmap chooses entries 1 to 111 for the whole picture\n"
     "when its colours do not fit, keeping entries 0 and 112 to 255, and\n"
     "gives each pixel the nearest entry; notes the mean error"},
    {"--dither", &Options::dither, "with --reduce: spread each pixel's error over its neighbours"},
    {"--take-palette", &Options::take_palette,
     "import_bigf_indices and import_cliff_indices take the picture's colour\n"
     "table into the palette and keep every index, instead of mapping the\n"
     "indices to the palette's colours"},
    {"--help", &Options::help, "print this text and run nothing"},
}};

constexpr std::size_t name_column = 30;

ParseResult fail(std::string message) {
    return ParseResult{std::nullopt, std::move(message)};
}

// "  NAME      " padded to the column where the summary starts.
std::string padded(std::string_view name, std::size_t width) {
    std::string text = "  " + std::string(name);
    text.resize(std::max(text.size() + 1, width + 2), ' ');
    return text;
}

// A summary's later lines start under its first.
std::string indented(std::string_view summary, std::size_t column) {
    std::string text;
    for (const char c : summary) {
        text += c;
        if (c == '\n') {
            text += std::string(column, ' ');
        }
    }
    return text;
}

void list_command(std::ostringstream& out, std::string_view name, Command command,
                  std::string_view summary) {
    out << padded(name, name_column) << (takes_path(command) ? "PATH  " : "      ") << summary
        << "\n";
}

// What import_bigf_from_bitmap runs as under the options.
Command import_bigf_variant(const Options& options) {
    if (options.reduce) {
        return options.dither ? Command::import_bigf_reduced_dithered
                              : Command::import_bigf_reduced;
    }
    return options.nearest ? Command::import_bigf_nearest : Command::import_bigf_from_bitmap;
}

}  // namespace

bool takes_path(Command command) {
    return spec_of(command).file_use != FileUse::none;
}

ParseResult parse_arguments(std::span<const std::string_view> args) {
    Options options;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("-"); ++i) {
        const auto option = std::ranges::find(option_table, args[i], &OptionInfo::name);
        if (option == option_table.end()) {
            return fail("unknown option '" + std::string(args[i]) + "'");
        }
        options.*(option->flag) = true;
    }
    if (options.help) {
        return ParseResult{std::move(options), {}};
    }
    if (options.reduce && options.nearest) {
        return fail("--reduce and --nearest cannot be given together");
    }
    if (options.dither && !options.reduce) {
        return fail("--dither needs --reduce");
    }
    for (; i < args.size(); ++i) {
        const auto command = command_from_name(args[i]);
        if (!command) {
            return fail("unknown command '" + std::string(args[i]) + "'");
        }
        Step step{*command, std::string(args[i]), std::nullopt};
        if (step.command == Command::import_bigf_from_bitmap) {
            step.command = import_bigf_variant(options);
        }
        if (options.take_palette && step.command == Command::import_bigf_indices) {
            step.command = Command::import_bigf_indices_taking_palette;
        }
        if (options.take_palette && step.command == Command::import_cliff_indices) {
            step.command = Command::import_cliff_indices_taking_palette;
        }
        if (takes_path(*command)) {
            if (i + 1 == args.size()) {
                return fail("missing path after '" + std::string(args[i]) + "'");
            }
            step.path = path_from_utf8(args[++i]);
        }
        options.steps.push_back(std::move(step));
    }
    if (options.steps.empty()) {
        return fail("no command given");
    }
    return ParseResult{std::move(options), {}};
}

std::string usage_text(std::string_view program) {
    std::ostringstream out;
    out << "usage: " << program;
    for (const OptionInfo& option : option_table) {
        if (option.flag != &Options::help) {
            out << " [" << option.name << "]";
        }
    }
    out << " COMMAND [PATH] [COMMAND [PATH] ...]\n"
        << "       " << program << " --help\n";
    return out.str();
}

std::string help_text(std::string_view program) {
    std::ostringstream out;
    out << usage_text(program) << "\n"
        << "Runs the editor's buttons in order on one palette and two textures, starting from\n"
        << "all zeros. Every command but build_cliff takes the file it works on as PATH.\n"
        << "A failure prints 'COMMAND: TEXT' on standard error and stops the run (exit 1);\n"
        << "when the system refused a file, '(PATH: REASON)' follows the text.\n"
        << "A command that lost or filled in data prints 'COMMAND: warning: TEXT' on standard\n"
        << "error for each thing and the run goes on (exit 0). A note, 'COMMAND: note: TEXT',\n"
        << "reports what an option did as asked and is no warning.\n\n"
        << "Options, before the first command, in any order:\n";
    constexpr std::size_t option_column = 16;
    for (const OptionInfo& option : option_table) {
        out << padded(option.name, option_column) << indented(option.summary, option_column + 2)
            << "\n";
    }
    out << "\nCommands:\n";
    for (const CommandSpec& spec : command_table()) {
        if (spec.listing != Listing::button) {
            continue;
        }
        list_command(out, spec.name, spec.command, spec.summary);
        for (const CommandAlias& alias : command_aliases()) {
            if (alias.command == spec.command) {
                list_command(out, alias.name, alias.command,
                             "another name for " + std::string(spec.name));
            }
        }
    }
    out << "\nCommands for paint programs (not buttons; the window has them in the views'\n"
        << "context menus):\n";
    for (const CommandSpec& spec : command_table()) {
        if (spec.listing == Listing::paint_program) {
            list_command(out, spec.name, spec.command, spec.summary);
        }
    }
    return out.str();
}

}  // namespace vlt::cli
