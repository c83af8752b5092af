#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include "commands/texture_editor.h"

class QStatusBar;

namespace vlt {

class PictureWidget;

// What the status bar says while the pointer is over a view. Over a texture view: the pixel,
// the index stored there and its colour, "bigf x 37, y 902: entry 14 (96, 72, 40)"; where the
// view shows a loaded picture, the colour is the picture's. Over a palette view: the entry and
// how many pixels of each texture use it. Empty outside the view's area.
QString pointer_status(const TextureEditor& editor, const View& view, QPoint at);

// The status bar's text while the pointer is over no view: the data file each part belongs
// to, its name only, "*" after it when the part has changed since.
QString files_status(const TextureEditor& editor);

// Follows the pointer over one view and keeps the status bar's message up to date; the message
// goes when the pointer leaves.
class ViewStatus : public QObject {
    Q_OBJECT
public:
    ViewStatus(PictureWidget& widget, const TextureEditor& editor, QStatusBar& bar);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureWidget& widget_;
    const TextureEditor& editor_;
    QStatusBar& bar_;
};

}  // namespace vlt
