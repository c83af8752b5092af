#include "gui/desktop_port.h"

#include <QDir>
#include <QStringList>
#include <system_error>
#include <utility>

#include "gui/error_report.h"
#include "gui/notice_box.h"
#include "gui/picture_widget.h"

namespace vlt {

DesktopPort::DesktopPort(QWidget& owner, QString title, std::unique_ptr<FileChooser> chooser,
                         WindowSettings& settings)
    : owner_(owner),
      title_(std::move(title)),
      chooser_(chooser ? std::move(chooser) : std::make_unique<DialogFileChooser>()),
      settings_(settings) {}

PictureWidget* DesktopPort::widget_for(const View& view) const {
    for (PictureWidget* widget : widgets_) {
        if (&widget->view() == &view) {
            return widget;
        }
    }
    return nullptr;
}

std::optional<std::filesystem::path> DesktopPort::pick_file(const FileRequest& request) {
    const QString kind = folder_kind(request);
    FileRequest asked = request;
    std::error_code ignored;
    // A remembered folder that has gone leaves the dialog where the command asked.
    if (const auto folder = settings_.folder(kind);
        folder && std::filesystem::is_directory(*folder, ignored)) {
        asked.initial_dir = *folder;
    }
    std::optional<std::filesystem::path> chosen = chooser_->choose(asked, &owner_);
    if (chosen) {
        note_given_file(request, *chosen);
    }
    return chosen;
}

void DesktopPort::note_given_file(const FileRequest& request, const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::current_path(file.parent_path(), ignored);
    settings_.set_folder(folder_kind(request), file.parent_path());
}

namespace {

// The message's text, and below it, for a failed system call on a file, the file and why. The
// file is named once, as the system spells paths: a text that names it already gets only the
// reason below.
QString box_text(const Message& message) {
    QString text = QString::fromStdString(message.text);
    if (!message.reason) {
        return text;
    }
    const QString path = QString::fromStdString(message.reason->path);
    const QString native = QDir::toNativeSeparators(path);
    const QString reason = QString::fromStdString(message.reason->reason);
    if (!path.isEmpty() && text.contains(path)) {
        return text.replace(path, native) + QStringLiteral("\n") + reason;
    }
    return text + QStringLiteral("\n") + native + QStringLiteral(": ") + reason;
}

}  // namespace

void DesktopPort::show_notice(const Message& message) {
    NoticeBox::show_notice(title_, box_text(message), &owner_, NoticeIcon::warning);
}

void DesktopPort::report_error(const Message& message) {
    show_error_report(title_, box_text(message), &owner_);
}

void DesktopPort::show_warnings(std::span<const std::string> warnings) {
    QStringList texts;
    for (const std::string& warning : warnings) {
        texts.append(QString::fromStdString(warning));
    }
    NoticeBox::show_notice(title_, texts.join(QStringLiteral("\n\n")), &owner_,
                           NoticeIcon::information);
}

void DesktopPort::show_report(std::span<const std::string> notes,
                              std::span<const std::string> warnings) {
    std::vector<std::string> texts(notes.begin(), notes.end());
    texts.insert(texts.end(), warnings.begin(), warnings.end());
    show_warnings(texts);
}

void DesktopPort::refresh_view(View& view) {
    if (PictureWidget* widget = widget_for(view)) {
        widget->repaint();
    }
    view.clear_repaint_mark();
    if (after_refresh_) {
        after_refresh_();
    }
}

}  // namespace vlt
