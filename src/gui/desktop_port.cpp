#include "gui/desktop_port.h"

#include <QStringList>
#include <system_error>
#include <utility>

#include "gui/error_report.h"
#include "gui/notice_box.h"
#include "gui/picture_widget.h"

namespace vlt {

DesktopPort::DesktopPort(QWidget& owner, QString title, std::unique_ptr<FileChooser> chooser)
    : owner_(owner),
      title_(std::move(title)),
      chooser_(chooser ? std::move(chooser) : std::make_unique<DialogFileChooser>()) {}

PictureWidget* DesktopPort::widget_for(const View& view) const {
    for (PictureWidget* widget : widgets_) {
        if (&widget->view() == &view) {
            return widget;
        }
    }
    return nullptr;
}

std::optional<std::filesystem::path> DesktopPort::pick_file(const FileRequest& request) {
    auto chosen = next_answer_ ? std::exchange(next_answer_, std::nullopt)
                               : chooser_->choose(request, &owner_);
    if (chosen) {
        std::error_code ignored;
        std::filesystem::current_path(chosen->parent_path(), ignored);
    }
    return chosen;
}

namespace {

// The message's text, and below it, for a failed system call on a file, the file and why.
QString box_text(const Message& message) {
    QString text = QString::fromStdString(message.text);
    if (message.reason) {
        text += QStringLiteral("\n") + QString::fromStdString(message.reason->path) +
                QStringLiteral(": ") + QString::fromStdString(message.reason->reason);
    }
    return text;
}

}  // namespace

void DesktopPort::show_notice(const Message& message) {
    NoticeBox::show_notice(title_, box_text(message), &owner_);
}

void DesktopPort::report_error(const Message& message) {
    show_error_report(title_, box_text(message), &owner_);
}

void DesktopPort::show_warnings(std::span<const std::string> warnings) {
    QStringList texts;
    for (const std::string& warning : warnings) {
        texts.append(QString::fromStdString(warning));
    }
    NoticeBox::show_notice(title_, texts.join(QStringLiteral("\n\n")), &owner_);
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
