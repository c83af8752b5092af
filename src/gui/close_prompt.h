#pragma once

#include <QString>

class QWidget;

namespace vlt {

enum class CloseAnswer { save_all, close, cancel };

// Asks before the window closes with changes that are not saved: "Save all", "Close without
// saving" or "Cancel", Cancel being both the default and the Escape button, and the answer
// when the box is closed.
CloseAnswer ask_before_closing(const QString& title, const QString& text, QWidget* owner);

}  // namespace vlt
