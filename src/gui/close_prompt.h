#pragma once

#include <QString>

class QWidget;

namespace vlt {

// Asks before the window closes with changes that are not saved: "Close without saving" or
// "Cancel", Cancel being both the default and the Escape button. True when the user chose to
// close.
bool confirm_close_without_saving(const QString& title, const QString& text, QWidget* owner);

}  // namespace vlt
