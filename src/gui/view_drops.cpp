#include "gui/view_drops.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "commands/file_drop.h"
#include "gui/picture_widget.h"

namespace vlt {

ViewDrops::ViewDrops(PictureWidget& widget, Runner run) : widget_(widget), run_(std::move(run)) {
    widget_.setAcceptDrops(true);
    widget_.installEventFilter(this);
}

std::optional<ViewDrops::Drop> ViewDrops::drop_for(const QMimeData* data) const {
    if (data == nullptr || data->urls().size() != 1 || !data->urls().constFirst().isLocalFile()) {
        return std::nullopt;
    }
    // Paths cross as UTF-16, which both sides convert to the system's own encoding.
    std::filesystem::path file(data->urls().constFirst().toLocalFile().toStdU16String());
    const auto command = command_for_dropped_file(widget_.view().name(), file);
    if (!command) {
        return std::nullopt;
    }
    return Drop{*command, std::move(file)};
}

bool ViewDrops::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &widget_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            drag->setAccepted(drop_for(drag->mimeData()).has_value());
            if (drag->isAccepted()) {
                drag->acceptProposedAction();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            auto wanted = drop_for(drop->mimeData());
            if (!wanted) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            // The command may open a box: run it once the drag has ended, so that the program
            // the file came from is not kept waiting for the answer.
            QTimer::singleShot(0, this, [this, wanted = std::move(*wanted)] {
                run_(wanted.command, wanted.file);
            });
            return true;
        }
        default:
            return false;
    }
}

}  // namespace vlt
