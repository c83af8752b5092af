#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "commands/window_port.h"

namespace vlt::cli {

// The window a batch run stands in for: the file dialog returns the path given on the command
// line, notices and error reports become one line "COMMAND: TEXT" on the error stream, warnings
// one line "COMMAND: warning: TEXT" each, and nothing is painted.
class CliPort : public WindowPort {
public:
    explicit CliPort(std::ostream& errors) : errors_(errors) {}

    // Sets what the next command's dialog returns, and the name its messages carry (the
    // command's name as it was typed).
    void begin_command(std::string name, std::optional<std::filesystem::path> path);
    // Whether the current command showed a notice or reported an error.
    bool command_failed() const { return failed_; }
    // Whether the current command showed warnings.
    bool command_warned() const { return warned_; }

    std::optional<std::filesystem::path> pick_file(const FileRequest& request) override;
    void show_notice(const Message& message) override;
    void report_error(const Message& message) override;
    void show_warnings(std::span<const std::string> warnings) override;
    // Notes print as 'COMMAND: note: TEXT' and do not count as warnings.
    void show_report(std::span<const std::string> notes,
                     std::span<const std::string> warnings) override;
    void refresh_view(View& view) override;

private:
    void print_line(std::string_view prefix, std::string text);
    void print_failure(const Message& message);

    std::ostream& errors_;
    std::string command_name_;
    std::optional<std::filesystem::path> path_;
    bool failed_ = false;
    bool warned_ = false;
};

}  // namespace vlt::cli
