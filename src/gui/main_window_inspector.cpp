// The main window's side of the inspector: opening it, and changing a palette entry by hand.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <exception>
#include <string>

#include "gui/error_report.h"
#include "gui/main_window.h"
#include "gui/view_tooltips.h"

namespace vlt {
namespace {

// The index a texture stores at a pixel of its view; nothing outside the texture.
std::optional<int> index_at(const TextureEditor& editor, const View& view, QPoint pixel) {
    if (pixel.x() < 0 || pixel.y() < 0 || pixel.x() >= view.width() ||
        pixel.y() >= view.height()) {
        return std::nullopt;
    }
    const Workspace& ws = editor.workspace();
    const auto at = static_cast<std::size_t>(pixel.y() * view.width() + pixel.x());
    if (&view == &editor.bigf) {
        return ws.bigf_data[at];
    }
    if (&view == &editor.cliff) {
        return ws.cliff_data[at];
    }
    return std::nullopt;
}

// Beside the main window, where the screen has room for it: right, else left.
void place_beside(QWidget& window, const QWidget& main) {
    const QScreen* screen = main.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect beside = main.frameGeometry();
    constexpr int gap = 8;
    if (beside.right() + gap + window.width() <= room.right()) {
        window.move(beside.right() + gap, beside.top());
    } else if (beside.left() - gap - window.width() >= room.left()) {
        window.move(beside.left() - gap - window.width(), beside.top());
    }
}

}  // namespace

void MainWindow::add_inspector_actions() {
    inspector_action_ = new QAction(QStringLiteral("&Inspector"), this);
    inspector_action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    connect(inspector_action_, &QAction::triggered, this, [this] {
        // The tab last shown stays in front; at first, the bigf texture.
        if (inspector_ && inspector_->isVisible()) {
            inspector_->raise();
            inspector_->activateWindow();
        } else {
            open_inspector(editor_.bigf);
        }
    });
    edit_entry_action_ = new QAction(QStringLiteral("Edit palette &entry..."), this);
    // By key, the pointer can rest on the entry meant.
    edit_entry_action_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(edit_entry_action_, &QAction::triggered, this, [this] { edit_palette_entry_dialog(); });
    // The keys work from anywhere in the window, menus open or not.
    addAction(inspector_action_);
    addAction(edit_entry_action_);
    port_.set_after_refresh([this] { emit workspace_changed(); });
}

InspectorWindow& MainWindow::inspector() {
    if (!inspector_) {
        inspector_ = std::make_unique<InspectorWindow>(
            editor_, [this](int index, Color color) { edit_palette_entry(index, color); }, this);
        inspector_->set_colour_chooser([this](int entry, Color current, QWidget* parent) {
            return choose_colour_(entry, current, parent);
        });
        connect(this, &MainWindow::workspace_changed, inspector_.get(),
                &InspectorWindow::follow_workspace);
    }
    return *inspector_;
}

void MainWindow::open_inspector(const View& view) {
    const bool first = !inspector_;
    InspectorWindow& window = inspector();
    if (first) {
        place_beside(window, *this);
    }
    window.show_tab_of(view);
    window.show();
    window.raise();
    window.activateWindow();
}

void MainWindow::set_entry_dialogs(EntryChooser entry, ColourChooser colour) {
    choose_entry_ = std::move(entry);
    choose_colour_ = std::move(colour);
}

void MainWindow::edit_palette_entry(int index, Color color) {
    try {
        editor_.run_as_step("Edit palette entry " + std::to_string(index),
                            [&] { editor_.edit_palette_entry(index, color); });
    } catch (const std::exception& error) {
        report_exception(port_.title(), error, this);
    }
    after_change();
    update_files_status();
}

std::optional<int> MainWindow::entry_under_pointer() const {
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (under == nullptr) {
        return std::nullopt;
    }
    const QPoint at = under->mapFromGlobal(QCursor::pos());
    if (auto* picture = qobject_cast<PictureWidget*>(under)) {
        if (const auto cell = palette_entry_at(picture->view(), at)) {
            return cell->index;
        }
        return index_at(editor_, picture->view(), at);
    }
    if (qobject_cast<PaletteSwatches*>(under) != nullptr) {
        return PaletteSwatches::entry_at(at);
    }
    if (auto* zoom = qobject_cast<ZoomView*>(under->parentWidget())) {
        if (inspector_) {
            return index_at(editor_, inspector_->view_of(*zoom), zoom->texel_at(at));
        }
    }
    return std::nullopt;
}

void MainWindow::edit_palette_entry_dialog() {
    auto entry = entry_under_pointer();
    if (!entry || *entry < 0) {
        entry = choose_entry_(this);
    }
    if (!entry) {
        return;
    }
    const Color current = editor_.workspace().pal_colors[static_cast<std::size_t>(*entry)];
    const auto chosen = choose_colour_(*entry, current, this);
    if (chosen && *chosen != current) {
        edit_palette_entry(*entry, *chosen);
    }
}

}  // namespace vlt
