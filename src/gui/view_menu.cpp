#include "gui/view_menu.h"

#include <QMenu>
#include <vector>

#include "gui/picture_widget.h"

namespace vlt {
namespace {

struct MenuEntry {
    const char* text;
    Command command;
};

std::vector<MenuEntry> entries_for(const std::string& view) {
    if (view == "pal" || view == "pal_preview") {
        return {{"Import palette file...", Command::import_palette},
                {"Export palette file...", Command::export_palette}};
    }
    if (view == "bigf") {
        return {{"Export as indexed BMP...", Command::save_bigf_to_indexed_bitmap},
                {"Import BMP with nearest colours...", Command::import_bigf_nearest},
                {"Import BMP reducing colours...", Command::import_bigf_reduced},
                {"Import indexed picture...", Command::import_bigf_indices},
                {"Import indexed picture with its palette...",
                 Command::import_bigf_indices_taking_palette}};
    }
    if (view == "cliff") {
        return {{"Export as indexed BMP...", Command::save_cliff_to_indexed_bitmap},
                {"Import indexed picture...", Command::import_cliff_indices},
                {"Import indexed picture with its palette...",
                 Command::import_cliff_indices_taking_palette}};
    }
    return {};
}

}  // namespace

void add_view_menu(PictureWidget& widget, std::function<void(Command)> run,
                   std::span<QAction* const> shared) {
    const std::vector<MenuEntry> entries = entries_for(widget.view().name());
    if (entries.empty() && shared.empty()) {
        return;
    }
    auto* menu = new QMenu(&widget);  // the view owns it
    for (const MenuEntry& entry : entries) {
        QAction* action = menu->addAction(QString::fromUtf8(entry.text));
        QObject::connect(action, &QAction::triggered, &widget,
                         [run, command = entry.command] { run(command); });
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
