#include "cli/cli_port.h"

#include <algorithm>
#include <ostream>

namespace vlt::cli {

void CliPort::begin_command(std::string name, std::optional<std::filesystem::path> path) {
    command_name_ = std::move(name);
    path_ = std::move(path);
    failed_ = false;
    warned_ = false;
}

std::optional<std::filesystem::path> CliPort::pick_file(const FileRequest&) {
    // Paths are used as given: relative ones stay relative to where the run started.
    return path_;
}

void CliPort::show_notice(const Message& message) {
    print_failure(message);
}

void CliPort::report_error(const Message& message) {
    print_failure(message);
}

void CliPort::show_warnings(std::span<const std::string> warnings) {
    for (const std::string& warning : warnings) {
        warned_ = true;
        print_line("warning: ", warning);
    }
}

void CliPort::show_report(std::span<const std::string> notes,
                          std::span<const std::string> warnings) {
    for (const std::string& note : notes) {
        print_line("note: ", note);
    }
    show_warnings(warnings);
}

void CliPort::refresh_view(View&) {}

void CliPort::print_failure(const Message& message) {
    failed_ = true;
    std::string text = message.text;
    if (message.reason) {
        text += " (" + message.reason->path + ": " + message.reason->reason + ")";
    }
    print_line("", std::move(text));
}

// One line per message, so scripts can read the stream line by line.
void CliPort::print_line(std::string_view prefix, std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    errors_ << command_name_ << ": " << prefix << text << std::endl;
}

}  // namespace vlt::cli
