#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "base/errors.h"

namespace vlt {

class View;

// What a command asks of its file dialog.
struct FileRequest {
    enum class Kind { open, save };
    Kind kind = Kind::open;
    std::filesystem::path initial_dir;  // the current directory when the command started
    std::string filter;                 // "description|pattern", or several such apart by "|"
    std::string default_ext;            // "*.dat", "*.bmp", or empty for open dialogs
    // A save dialog's proposal: the data file the buffer belongs to; empty when it has none.
    std::filesystem::path proposed_name = {};
};

// What a notice box or an error report shows: the text, and for a failed system call on a file,
// the path and the system's reason, which front ends show beside the text.
struct Message {
    std::string text;
    std::optional<FileReason> reason;
};

// Where a command's outcome is shown: the window's boxes, the command line's error stream, a
// status bar.
class CommandReports {
public:
    virtual ~CommandReports() = default;
    // A short text in the notice box ("Failed!", "failed!").
    virtual void show_notice(const Message& message) = 0;
    // An error that ended a command, its text already as the report shows it.
    virtual void report_error(const Message& message) = 0;
    // What a command that succeeded lost or filled in, one text per warning, all shown together.
    // Called only with at least one warning.
    virtual void show_warnings(std::span<const std::string> warnings) = 0;
    // The same with notes: what a command did as the user asked and may want to know (how far a
    // colour reduction strayed), which is no loss. Shown with the warnings, notes first; called
    // with at least one of either. A port that has no place for notes shows the warnings alone.
    virtual void show_report(std::span<const std::string> notes,
                             std::span<const std::string> warnings) {
        (void)notes;
        if (!warnings.empty()) {
            show_warnings(warnings);
        }
    }
};

// What a window supplies to the commands: file dialogs, the painting of views, and by default
// the place their outcome is shown. The desktop window and the batch command line each
// implement it.
class WindowPort : public CommandReports {
public:
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> pick_file(const FileRequest& request) = 0;
    // Paints the view at once.
    virtual void refresh_view(View& view) = 0;
    // What can be undone or redone changed (for menus that name the steps).
    virtual void history_changed() {}
};

}  // namespace vlt
