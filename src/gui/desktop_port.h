#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "commands/window_port.h"
#include "gui/file_chooser.h"
#include "gui/window_settings.h"

class QWidget;

namespace vlt {

class PictureWidget;

// What the desktop window supplies to the commands: its file dialogs, notice box, error report
// and the painting of its picture views. Dialogs open in the folder last used for their kind of
// file, remembered across runs, else where the command asks.
class DesktopPort : public WindowPort {
public:
    DesktopPort(QWidget& owner, QString title, std::unique_ptr<FileChooser> chooser,
                WindowSettings& settings);

    // The widget that shows a view, so that a refresh can paint it.
    void add_view_widget(PictureWidget& widget) { widgets_.push_back(&widget); }
    PictureWidget* widget_for(const View& view) const;
    const QString& title() const { return title_; }

    // A completed choice makes the chosen file's folder the current directory, where the next
    // dialog opens.
    std::optional<std::filesystem::path> pick_file(const FileRequest& request) override;
    // A file given to a command without a dialog (a drop, a recent file) counts as chosen in
    // the dialog of that filter.
    void note_given_file(const FileRequest& request, const std::filesystem::path& file);
    // Failed file commands: the warning icon.
    void show_notice(const Message& message) override;
    void report_error(const Message& message) override;
    // All of them in one notice box with the information icon, a blank line between two.
    void show_warnings(std::span<const std::string> warnings) override;
    // Notes and warnings in that one box, notes first.
    void show_report(std::span<const std::string> notes,
                     std::span<const std::string> warnings) override;
    void refresh_view(View& view) override;
    void history_changed() override {
        if (on_history_changed_) {
            on_history_changed_();
        }
    }
    void set_history_listener(std::function<void()> listener) {
        on_history_changed_ = std::move(listener);
    }
    // Called after each refresh, so that other windows showing the views follow at once.
    void set_after_refresh(std::function<void()> hook) { after_refresh_ = std::move(hook); }

private:
    QWidget& owner_;
    QString title_;
    std::unique_ptr<FileChooser> chooser_;
    WindowSettings& settings_;
    std::vector<PictureWidget*> widgets_;  // children of the window, which outlive the port's use
    std::function<void()> on_history_changed_;
    std::function<void()> after_refresh_;
};

}  // namespace vlt
