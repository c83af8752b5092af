#include "cli/cli_port.h"

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

void CliPort::show_notice(const std::string& text) {
    print(text);
}

void CliPort::report_error(const std::string& text) {
    print(text);
}

void CliPort::refresh_view(View&) {}

void CliPort::print(const std::string& text) {
    failed_ = true;
    errors_ << command_name_ << ": " << text << std::endl;
}

}  // namespace vlt::cli
