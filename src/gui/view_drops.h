#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <optional>

#include "commands/texture_editor.h"

class QMimeData;

namespace vlt {

class PictureWidget;

// Lets one file be dropped on a picture view: the view's import for the file's kind then runs
// with that file. Several files, or a kind the view takes no import for, are refused while
// dragging, so the pointer says so before anything is dropped.
class ViewDrops : public QObject {
    Q_OBJECT
public:
    using Runner = std::function<void(Command, const std::filesystem::path&)>;

    ViewDrops(PictureWidget& widget, Runner run);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Drop {
        Command command;
        std::filesystem::path file;
    };
    std::optional<Drop> drop_for(const QMimeData* data) const;

    PictureWidget& widget_;
    Runner run_;
};

}  // namespace vlt
