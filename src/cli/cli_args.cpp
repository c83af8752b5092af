#include "cli/cli_args.h"

#include "base/path_text.h"

#include <sstream>

namespace vlt::cli {
namespace {

ParseResult fail(std::string message) {
    return ParseResult{std::nullopt, std::move(message)};
}

}  // namespace

bool takes_path(Command command) {
    return command != Command::build_cliff;
}

ParseResult parse_arguments(std::span<const std::string_view> args) {
    Options options;
    std::size_t i = 0;
    for (; i < args.size() && args[i].starts_with("-"); ++i) {
        if (args[i] == "--help") {
            options.help = true;
        } else if (args[i] == "--keep-going") {
            options.keep_going = true;
        } else {
            return fail("unknown option '" + std::string(args[i]) + "'");
        }
    }
    if (options.help) {
        return ParseResult{std::move(options), {}};
    }
    for (; i < args.size(); ++i) {
        const auto command = command_from_name(args[i]);
        if (!command) {
            return fail("unknown command '" + std::string(args[i]) + "'");
        }
        Step step{*command, std::nullopt};
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
    out << "usage: " << program << " [--keep-going] COMMAND [PATH] [COMMAND [PATH] ...]\n"
        << "       " << program << " --help\n";
    return out.str();
}

std::string help_text(std::string_view program) {
    std::ostringstream out;
    out << usage_text(program) << "\n"
        << "Runs the editor's buttons in order on one palette and two textures, starting from\n"
        << "all zeros. Every command but build_cliff takes the file it works on as PATH.\n"
        << "A failure prints 'COMMAND: TEXT' on standard error and stops the run (exit 1);\n"
        << "--keep-going runs the remaining commands and exits 1 at the end.\n\n"
        << "Commands:\n";
    for (const CommandInfo& info : all_commands()) {
        const std::string name(info.name);
        out << "  " << name << std::string(26 - name.size(), ' ')
            << (takes_path(info.command) ? "PATH  " : "      ") << info.summary << "\n";
    }
    return out.str();
}

}  // namespace vlt::cli
