// The main window's side of the paint-program links: where they are offered.
#include <QMenu>

#include "gui/main_window.h"
#include "gui/menu_texts.h"
#include "gui/paint_links.h"
#include "gui/paint_links_dialog.h"
#include "gui/view_menu.h"

namespace vlt {

void MainWindow::add_paint_link_actions() {
    paint_links_ = std::make_unique<PaintLinks>(*this);
    for (const auto& widget : views_) {
        const View& view = widget->view();
        if (&view == &editor_.bigf || &view == &editor_.cliff) {
            const PaintTexture texture =
                &view == &editor_.bigf ? PaintTexture::bigf : PaintTexture::cliff;
            add_view_menu_entry(*widget, QStringLiteral("Edit in paint program"),
                                [this, texture] { paint_links_->edit(texture); });
        }
    }
}

void MainWindow::add_paint_link_entries(QMenu& menu, CommandGroup group,
                                        MnemonicPicker& picker) {
    if (group == CommandGroup::palette) {
        return;
    }
    const PaintTexture texture =
        group == CommandGroup::bigf ? PaintTexture::bigf : PaintTexture::cliff;
    menu.addSeparator();
    QAction* edit = menu.addAction(picker.pick(QStringLiteral("Edit in paint program")));
    edit->setStatusTip(QStringLiteral("export the texture as an indexed PNG, open it in the "
                                      "paint program and take back each save there"));
    connect(edit, &QAction::triggered, this, [this, texture] { paint_links_->edit(texture); });
    QAction* edit_as = menu.addAction(picker.pick(QStringLiteral("Edit in paint program as...")));
    edit_as->setStatusTip(QStringLiteral("choose another file or program for the paint program"));
    connect(edit_as, &QAction::triggered, this,
            [this, texture] { paint_links_->edit(texture, true); });
}

void MainWindow::add_paint_links_entry(QMenu& view_menu) {
    QAction* action = view_menu.addAction(QStringLiteral("Paint-program &links..."));
    action->setObjectName(QStringLiteral("paint_links"));
    connect(action, &QAction::triggered, this, [this] {
        PaintLinksDialog dialog(*paint_links_, this);
        dialog.exec();
    });
}

}  // namespace vlt
