#include "cli/cli_port.h"

#include <algorithm>
#include <ostream>

namespace vlt::cli {

void CliPort::begin_command(std::string name, std::optional<std::filesystem::path> path) {
    command_name_ = std::move(name);
    path_ = std::move(path);
    failed_ = false;
}

std::optional<std::filesystem::path> CliPort::pick_file(const FileRequest&) {
    // Paths are used as given: relative ones stay relative to where the run started.
    return path_;
}

void CliPort::show_notice(const Message& message) {
    print(message);
}

void CliPort::report_error(const Message& message) {
    print(message);
}

void CliPort::refresh_view(View&) {}

void CliPort::print(const Message& message) {
    failed_ = true;
    // One line per message, so scripts can read the stream line by line.
    std::string line = message.text;
    if (message.reason) {
        line += " (" + message.reason->path + ": " + message.reason->reason + ")";
    }
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    errors_ << command_name_ << ": " << line << std::endl;
}

}  // namespace vlt::cli
