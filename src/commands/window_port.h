#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vlt {

class View;

// What a command asks of its file dialog.
struct FileRequest {
    enum class Kind { open, save };
    Kind kind = Kind::open;
    std::filesystem::path initial_dir;  // the current directory when the command started
    std::string filter;                 // one entry: "description|pattern"
    std::string default_ext;            // "*.dat", "*.bmp", or empty for open dialogs
};

// What a window supplies to the commands. The desktop window and the batch command line each
// implement it.
class WindowPort {
public:
    virtual ~WindowPort() = default;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> pick_file(const FileRequest& request) = 0;
    // A short text in the notice box ("Failed!", "failed!").
    virtual void show_notice(const std::string& text) = 0;
    // An error that ended a command, its text already as the report shows it.
    virtual void report_error(const std::string& text) = 0;
    // Paints the view at once.
    virtual void refresh_view(View& view) = 0;
};

}  // namespace vlt
