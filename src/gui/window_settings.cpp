#include "gui/window_settings.h"

#include <algorithm>

#include "gui/command_names.h"

namespace vlt {
namespace {

QString text_of(const std::filesystem::path& path) {
    return QString::fromStdU16String(path.u16string());
}

std::filesystem::path path_of(const QString& text) {
    return std::filesystem::path(text.toStdU16String());
}

}  // namespace

WindowSettings::WindowSettings(const QString& file)
    : settings_(file.isEmpty()
                    ? std::make_unique<QSettings>(QStringLiteral("vosk-land-texture"),
                                                  QStringLiteral("vosk-land-texture"))
                    : std::make_unique<QSettings>(file, QSettings::IniFormat)) {}

std::optional<std::filesystem::path> WindowSettings::folder(const QString& kind) const {
    const QString text = settings_->value(QStringLiteral("folders/") + kind).toString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return path_of(text);
}

void WindowSettings::set_folder(const QString& kind, const std::filesystem::path& folder) {
    settings_->setValue(QStringLiteral("folders/") + kind, text_of(folder));
}

std::vector<RecentFile> WindowSettings::recent_files() const {
    std::vector<RecentFile> files;
    const int count = settings_->beginReadArray(QStringLiteral("recent"));
    for (int i = 0; i < count && i < recent_limit; ++i) {
        settings_->setArrayIndex(i);
        const auto command =
            command_from_name(settings_->value(QStringLiteral("command")).toString().toStdString());
        const QString file = settings_->value(QStringLiteral("file")).toString();
        // Entries of another version's commands are passed over.
        if (command && !file.isEmpty()) {
            files.push_back({*command, path_of(file)});
        }
    }
    settings_->endArray();
    return files;
}

void WindowSettings::add_recent_file(const RecentFile& recent) {
    if (own_name(recent.command).isEmpty()) {
        return;  // it could not be read back
    }
    std::vector<RecentFile> files = recent_files();
    std::erase(files, recent);
    files.insert(files.begin(), recent);
    files.resize(std::min<std::size_t>(files.size(), recent_limit));
    settings_->remove(QStringLiteral("recent"));
    settings_->beginWriteArray(QStringLiteral("recent"), static_cast<int>(files.size()));
    for (std::size_t i = 0; i < files.size(); ++i) {
        settings_->setArrayIndex(static_cast<int>(i));
        settings_->setValue(QStringLiteral("command"), own_name(files[i].command));
        settings_->setValue(QStringLiteral("file"), text_of(files[i].file));
    }
    settings_->endArray();
}

std::optional<std::filesystem::path> WindowSettings::paint_file(const QString& texture) const {
    const QString text = settings_->value(QStringLiteral("paint_link/") + texture).toString();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return path_of(text);
}

void WindowSettings::set_paint_file(const QString& texture, const std::filesystem::path& file) {
    settings_->setValue(QStringLiteral("paint_link/") + texture, text_of(file));
}

QString WindowSettings::paint_program() const {
    return settings_->value(QStringLiteral("paint_link/program")).toString();
}

void WindowSettings::set_paint_program(const QString& program) {
    settings_->setValue(QStringLiteral("paint_link/program"), program);
}

QString folder_kind(const FileRequest& request) {
    const std::string& filter = request.filter;
    const std::string pattern = filter.substr(filter.find('|') + 1);
    if (pattern.starts_with("*pal*.dat")) {
        return QStringLiteral("palette");
    }
    if (pattern.starts_with("bigf")) {
        return QStringLiteral("bigf");
    }
    if (pattern.starts_with("cliff")) {
        return QStringLiteral("cliff");
    }
    if (filter.find("*.gpl") != std::string::npos) {
        return QStringLiteral("palette files");
    }
    return QStringLiteral("pictures");
}

}  // namespace vlt
