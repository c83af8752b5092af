#include "gui/view_tooltips.h"

#include <QDir>
#include <QHelpEvent>
#include <QToolTip>

#include "gui/picture_widget.h"

namespace vlt {
namespace {

QString what_it_shows(const View& view) {
    if (view.name() == "pal") {
        return QStringLiteral("The palette, one pixel per entry, 16 entries to a row");
    }
    if (view.name() == "pal_preview") {
        return QStringLiteral("The palette enlarged, 8 x 8 pixels per entry");
    }
    return QStringLiteral("The %1 texture, %2 x %3")
        .arg(QString::fromStdString(view.name()))
        .arg(view.width())
        .arg(view.height());
}

}  // namespace

std::optional<EntryCell> palette_entry_at(const View& view, QPoint at) {
    constexpr int entries_per_row = 16;
    if (view.name() != "pal" && view.name() != "pal_preview") {
        return std::nullopt;
    }
    const int cell = view.width() / entries_per_row;
    const int column = std::clamp(at.x() / cell, 0, entries_per_row - 1);
    const int row = std::clamp(at.y() / cell, 0, entries_per_row - 1);
    return EntryCell{row * entries_per_row + column, QRect(column * cell, row * cell, cell, cell)};
}

QString view_tooltip(const TextureEditor& editor, const View& view, QPoint at) {
    QString text = what_it_shows(view);
    if (const auto& file = editor.source_of(view)) {
        text += QStringLiteral("\nfrom ") +
                QDir::toNativeSeparators(QString::fromStdU16String(file->u16string()));
    }
    if (const auto entry = palette_entry_at(view, at)) {
        const Color color = editor.workspace().pal_colors[static_cast<std::size_t>(entry->index)];
        text += QStringLiteral("\nentry %1: %2, %3, %4")
                    .arg(entry->index)
                    .arg(red_of(color))
                    .arg(green_of(color))
                    .arg(blue_of(color));
    }
    return text;
}

ViewToolTips::ViewToolTips(PictureWidget& widget, const TextureEditor& editor)
    : widget_(widget), editor_(editor) {
    widget_.installEventFilter(this);
}

bool ViewToolTips::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &widget_ || event->type() != QEvent::ToolTip) {
        return false;
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const View& view = widget_.view();
    // Over a palette entry the tip stays while the pointer stays on that entry.
    const auto entry = palette_entry_at(view, help->pos());
    QToolTip::showText(help->globalPos(), view_tooltip(editor_, view, help->pos()), &widget_,
                       entry ? entry->area : widget_.rect());
    return true;
}

}  // namespace vlt
