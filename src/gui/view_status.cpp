#include "gui/view_status.h"

#include <QMouseEvent>
#include <QStatusBar>
#include <algorithm>
#include <span>

#include "base/count_text.h"
#include "gui/command_names.h"
#include "gui/picture_widget.h"
#include "gui/view_tooltips.h"

namespace vlt {
namespace {

QString colour_text(Color color) {
    return QStringLiteral("(%1, %2, %3)").arg(red_of(color)).arg(green_of(color)).arg(blue_of(color));
}

std::span<const std::uint8_t> indices_of(const TextureEditor& editor, const View& view) {
    if (&view == &editor.bigf) {
        return editor.workspace().bigf_data;
    }
    if (&view == &editor.cliff) {
        return editor.workspace().cliff_data;
    }
    return {};
}

QString entry_status(const TextureEditor& editor, const View& view, int entry) {
    const Workspace& ws = editor.workspace();
    const auto uses = [entry](std::span<const std::uint8_t> indices) {
        return static_cast<std::uint64_t>(std::ranges::count(indices, entry));
    };
    return QStringLiteral("%1 entry %2 %3: %4 bigf and %5 cliff pixels")
        .arg(qt_text(view.name()))
        .arg(entry)
        .arg(colour_text(ws.pal_colors[static_cast<std::size_t>(entry)]))
        .arg(qt_text(with_commas(uses(ws.bigf_data))))
        .arg(qt_text(with_commas(uses(ws.cliff_data))));
}

}  // namespace

QString pointer_status(const TextureEditor& editor, const View& view, QPoint at) {
    if (at.x() < 0 || at.y() < 0 || at.x() >= view.width() || at.y() >= view.height()) {
        return {};
    }
    if (const auto entry = palette_entry_at(view, at)) {
        return entry_status(editor, view, entry->index);
    }
    const std::span<const std::uint8_t> indices = indices_of(editor, view);
    if (indices.empty()) {
        return {};
    }
    const int index = indices[static_cast<std::size_t>(at.y() * view.width() + at.x())];
    Color color = editor.workspace().pal_colors[static_cast<std::size_t>(index)];
    // What the view shows there: a drawing of the indices or a loaded picture.
    if (const Bitmap* shown = view.bitmap();
        shown != nullptr && at.x() < shown->width() && at.y() < shown->height()) {
        color = shown->get_pixel(at.x(), at.y());
    }
    return QStringLiteral("%1 x %2, y %3: entry %4 %5")
        .arg(qt_text(view.name()))
        .arg(at.x())
        .arg(at.y())
        .arg(index)
        .arg(colour_text(color));
}

QString files_status(const TextureEditor& editor) {
    const struct {
        const char* label;
        DataPart part;
    } parts[] = {{"palette", DataPart::palette}, {"bigf", DataPart::bigf}, {"cliff", DataPart::cliff}};
    QStringList texts;
    for (const auto& p : parts) {
        const auto& file = editor.data_file(p.part);
        QString text = QString::fromLatin1(p.label) + QStringLiteral(": ") +
                       (file ? QString::fromStdU16String(file->filename().u16string())
                             : QStringLiteral("no file"));
        if (editor.unsaved_changes().changed(p.part)) {
            text += QLatin1Char('*');
        }
        texts.append(text);
    }
    return texts.join(QStringLiteral("   "));
}

ViewStatus::ViewStatus(PictureWidget& widget, const TextureEditor& editor, QStatusBar& bar)
    : widget_(widget), editor_(editor), bar_(bar) {
    widget_.setMouseTracking(true);
    widget_.installEventFilter(this);
}

bool ViewStatus::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &widget_) {
        return false;
    }
    if (event->type() == QEvent::MouseMove) {
        const QString text =
            pointer_status(editor_, widget_.view(), static_cast<QMouseEvent*>(event)->position().toPoint());
        if (text.isEmpty()) {
            bar_.clearMessage();
        } else {
            bar_.showMessage(text);
        }
    } else if (event->type() == QEvent::Leave) {
        bar_.clearMessage();
    }
    return false;
}

}  // namespace vlt
