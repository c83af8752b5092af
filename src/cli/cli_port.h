#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "commands/window_port.h"

namespace vlt::cli {

// Where one command of a batch run reports: notices and error reports become one line
// "COMMAND: TEXT" on the error stream, warnings one line "COMMAND: warning: TEXT" each, notes
// "COMMAND: note: TEXT", COMMAND being the command's name as it was typed.
class CliReports : public CommandReports {
public:
    CliReports(std::ostream& errors, std::string command_name)
        : errors_(errors), command_name_(std::move(command_name)) {}

    void show_notice(const Message& message) override;
    void report_error(const Message& message) override;
    void show_warnings(std::span<const std::string> warnings) override;
    void show_report(std::span<const std::string> notes,
                     std::span<const std::string> warnings) override;

private:
    void print_line(std::string_view prefix, std::string text);
    void print_failure(const Message& message);

    std::ostream& errors_;
    std::string command_name_;
};

// The window a batch run stands in for: every file comes with its command, so no dialog is
// ever shown, and nothing is painted. What it is told outside a command carries the program's
// name.
class CliPort : public WindowPort {
public:
    CliPort(std::ostream& errors, std::string program) : reports_(errors, std::move(program)) {}

    std::optional<std::filesystem::path> pick_file(const FileRequest&) override {
        return std::nullopt;
    }
    void refresh_view(View&) override {}
    void show_notice(const Message& message) override { reports_.show_notice(message); }
    void report_error(const Message& message) override { reports_.report_error(message); }
    void show_warnings(std::span<const std::string> warnings) override {
        reports_.show_warnings(warnings);
    }
    void show_report(std::span<const std::string> notes,
                     std::span<const std::string> warnings) override {
        reports_.show_report(notes, warnings);
    }

private:
    CliReports reports_;
};

}  // namespace vlt::cli
