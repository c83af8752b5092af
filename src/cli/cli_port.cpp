#include "cli/cli_port.h"

#include <algorithm>
#include <ostream>

namespace vlt::cli {

void CliReports::show_notice(const Message& message) {
    print_failure(message);
}

void CliReports::report_error(const Message& message) {
    print_failure(message);
}

void CliReports::show_warnings(std::span<const std::string> warnings) {
    for (const std::string& warning : warnings) {
        print_line("warning: ", warning);
    }
}

void CliReports::show_report(std::span<const std::string> notes,
                             std::span<const std::string> warnings) {
    for (const std::string& note : notes) {
        print_line("note: ", note);
    }
    show_warnings(warnings);
}

void CliReports::print_failure(const Message& message) {
    std::string text = message.text;
    if (message.reason) {
        text += " (" + message.reason->path + ": " + message.reason->reason + ")";
    }
    print_line("", std::move(text));
}

// One line per message, so scripts can read the stream line by line.
void CliReports::print_line(std::string_view prefix, std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    errors_ << command_name_ << ": " << prefix << text << std::endl;
}

}  // namespace vlt::cli
