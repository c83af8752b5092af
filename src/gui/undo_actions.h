#pragma once

class QAction;

namespace vlt {

// Ties the Edit menu's Undo and Redo to the editor's history, naming the step each would take.
void connect_undo_actions(QAction& undo, QAction& redo);

}  // namespace vlt
