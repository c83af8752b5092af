#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include "commands/texture_editor.h"

namespace vlt {

class PictureWidget;

// What a view's tooltip says: what the view shows, the file it came from once one was loaded,
// and over the palette views the entry under the pointer ("entry 137: 96, 72, 40").
QString view_tooltip(const TextureEditor& editor, const View& view, QPoint at);

// The palette entry shown at a point of a palette view, and the view's area showing it; nothing
// for the texture views.
struct EntryCell {
    int index;
    QRect area;
};
std::optional<EntryCell> palette_entry_at(const View& view, QPoint at);

// Answers tooltip requests over one picture view as they come, so that the text follows the
// pointer from entry to entry and names the file of the latest load.
class ViewToolTips : public QObject {
    Q_OBJECT
public:
    ViewToolTips(PictureWidget& widget, const TextureEditor& editor);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureWidget& widget_;
    const TextureEditor& editor_;
};

}  // namespace vlt
