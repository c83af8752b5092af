#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <string>

#include "commands/window_port.h"

class QWidget;

namespace vlt {

// Picks the file a command reads or writes. The window uses the real dialog; tests put in a
// scripted one.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen file's full path, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> choose(const FileRequest& request,
                                                        QWidget* owner) = 0;
};

// The entry every file dialog offers after the command's own.
extern const QString all_files_entry;

// Qt's file dialog, modal and owned by the given window: the request's filter entries and "All
// files (*)", opening in the request's folder, a save dialog proposing the request's name; a save dialog confirms replacing a file and completes a name typed without
// extension; an open dialog also returns a name of a file that does not exist.
class DialogFileChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> choose(const FileRequest& request,
                                                QWidget* owner) override;
};

// "description|pattern" as one entry of Qt's filter list: "description (pattern)", or the
// description alone when it already shows the pattern in parentheses.
QString filter_entry(const std::string& filter);

// A filter of several entries, "description|pattern|description|pattern", as Qt's filter list;
// patterns apart by ";" within an entry become apart by spaces.
QStringList filter_entries(const std::string& filter);

// The suffix Qt's dialog appends to a typed name without extension: "*.dat" gives "dat".
QString default_suffix(const std::string& default_ext);

}  // namespace vlt
