#include "gui/view_menu.h"

#include <QMenu>
#include <vector>

#include "gui/command_names.h"
#include "gui/picture_widget.h"

namespace vlt {

void add_view_menu(PictureWidget& widget, std::function<void(Command)> run,
                   std::span<QAction* const> shared) {
    const std::vector<Command> commands = view_menu_commands(widget.view().name());
    if (commands.empty() && shared.empty()) {
        return;
    }
    auto* menu = new QMenu(&widget);  // the view owns it
    for (const Command command : commands) {
        QAction* action = menu->addAction(qt_text(spec_of(command).view_menu_text));
        QObject::connect(action, &QAction::triggered, &widget, [run, command] { run(command); });
    }
    if (!shared.empty()) {
        menu->addSeparator();
        for (QAction* action : shared) {
            menu->addAction(action);
        }
    }
    widget.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&widget, &QWidget::customContextMenuRequested, menu,
                     [menu, &widget](const QPoint& at) { menu->exec(widget.mapToGlobal(at)); });
}

void add_view_menu_entry(PictureWidget& widget, const QString& text, std::function<void()> act) {
    auto* menu = widget.findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    if (menu == nullptr) {
        menu = new QMenu(&widget);
        widget.setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(&widget, &QWidget::customContextMenuRequested, menu,
                         [menu, &widget](const QPoint& at) { menu->exec(widget.mapToGlobal(at)); });
    } else if (!menu->isEmpty()) {
        menu->addSeparator();
    }
    QAction* action = menu->addAction(text);
    QObject::connect(action, &QAction::triggered, &widget, std::move(act));
}

}  // namespace vlt
