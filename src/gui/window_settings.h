#pragma once

#include <QSettings>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "commands/texture_editor.h"

namespace vlt {

// A file that a command opened, which the File menu offers again.
struct RecentFile {
    Command command;
    std::filesystem::path file;

    bool operator==(const RecentFile&) const = default;
};

// What the window remembers across runs: the folder of each kind of file and the files opened
// last. Kept where the system keeps a program's settings, or in the given file.
class WindowSettings {
public:
    static constexpr int recent_limit = 10;

    // An empty file name: the system's place for this program's settings.
    explicit WindowSettings(const QString& file = {});

    std::optional<std::filesystem::path> folder(const QString& kind) const;
    void set_folder(const QString& kind, const std::filesystem::path& folder);

    // Newest first.
    std::vector<RecentFile> recent_files() const;
    // Puts the file first; an earlier entry for it goes, and the oldest beyond ten.
    void add_recent_file(const RecentFile& recent);

    // The picture a texture ("bigf", "cliff") is edited through in a paint program.
    std::optional<std::filesystem::path> paint_file(const QString& texture) const;
    void set_paint_file(const QString& texture, const std::filesystem::path& file);
    // The paint program chosen for those pictures; empty: the system's program for PNG files.
    QString paint_program() const;
    void set_paint_program(const QString& program);

private:
    std::unique_ptr<QSettings> settings_;
};

// The kind of file a dialog asks for, which its folder is remembered by: "palette", "bigf",
// "cliff", "palette files" or "pictures".
QString folder_kind(const FileRequest& request);

}  // namespace vlt
