#pragma once

#include <QString>
#include <functional>
#include <span>

#include "commands/texture_editor.h"

class QAction;

namespace vlt {

class PictureWidget;

// Gives a picture view the context menu of its paint-program commands: palette files on the
// palette views, indexed exports on the texture views and the imports with nearest colours and
// reducing colours on the bigf view. The menu is a child of the view; choosing an entry runs its
// command, which asks for its file through the usual dialog. The window's own actions (undo and
// redo) follow below a separator, shared, so their names and greying stay the window's.
void add_view_menu(PictureWidget& widget, std::function<void(Command)> run,
                   std::span<QAction* const> shared = {});

// Adds an entry below a separator at the end of the view's context menu (making the menu if the
// view has none), for what is not a command, such as opening the inspector.
void add_view_menu_entry(PictureWidget& widget, const QString& text, std::function<void()> act);

}  // namespace vlt
