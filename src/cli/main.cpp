#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/big_blocks.h"
#include "cli/cli_args.h"
#include "cli/cli_port.h"
#include "cli/console.h"
#include "commands/texture_editor.h"

namespace {

constexpr std::string_view program = "vosk-land-texture-cli";

int run(const vlt::cli::Options& options) {
    vlt::cli::CliPort port(std::cerr, std::string(program));
    // The workspace is a few hundred kilobytes: keep it off the stack.
    auto editor =
        std::make_unique<vlt::TextureEditor>(port, vlt::TextureEditor::UndoSteps::not_kept);
    bool any_failed = false;
    for (const vlt::cli::Step& step : options.steps) {
        vlt::cli::CliReports reports(std::cerr, step.name);
        const vlt::CommandResult result =
            editor->run(step.command, step.path, {.step_name = {}, .reports = &reports});
        if (!result.done() || (options.strict && result.warned)) {
            any_failed = true;
            if (!options.keep_going) {
                break;
            }
        }
    }
    return any_failed ? 1 : 0;
}

int run_arguments(const std::vector<std::string>& words) {
    try {
        const std::vector<std::string_view> args(words.begin(), words.end());
        const auto parsed = vlt::cli::parse_arguments(args);
        if (!parsed.options) {
            std::cerr << program << ": " << parsed.error << "\n" << vlt::cli::usage_text(program);
            return 2;
        }
        if (parsed.options->help) {
            std::cout << vlt::cli::help_text(program);
            return 0;
        }
        return run(*parsed.options);
    } catch (const std::exception& e) {
        // Only setting up can fail here; the commands catch their own errors.
        std::cerr << program << ": " << e.what() << "\n";
        return 1;
    }
}

// Started from Explorer, the program's console would close before its text could be read.
int explain_and_wait(const vlt::cli::Console& console) {
    std::cout << vlt::cli::help_text(program)
              << "\nThis is a command-line program: open a console (Command Prompt or PowerShell)\n"
                 "in this folder and run it there with the commands you want.\n\n"
                 "Press Enter to close this window.\n";
    console.wait_for_enter();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // A run lives for milliseconds and holds a few big blocks: large pages spare it the page
    // faults that would otherwise cost more than its work.
    vlt::use_large_pages();
    const vlt::cli::Console console;
    const auto arguments = console.arguments(argc, argv);
    if (arguments.empty() && console.started_alone()) {
        return explain_and_wait(console);
    }
    const int status = run_arguments(arguments);
    // Output that never arrived (a full disk, a closed stream) is a failure too.
    std::cout.flush();
    std::cerr.flush();
    return status == 0 && (std::cout.fail() || std::cerr.fail()) ? 1 : status;
}
