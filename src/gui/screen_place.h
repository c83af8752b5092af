#pragma once

#include <QRect>

class QWidget;

namespace vlt {

// The whole rectangle (not the work area) of the screen that holds the owner window, or of the
// primary screen when there is no owner. Dialogs and boxes are placed within it.
QRect screen_rect_of(const QWidget* owner);

}  // namespace vlt
