#include "gui/undo_actions.h"

#include <QAction>
#include <QKeySequence>

namespace vlt {

// The editor keeps no history of its steps yet: both stay disabled until it does.
void connect_undo_actions(QAction& undo, QAction& redo) {
    undo.setEnabled(false);
    redo.setEnabled(false);
}

}  // namespace vlt
