#include "gui/inspector_window.h"

#include <QColorDialog>
#include <QInputDialog>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include "gui/picture_image.h"
#include "pictures/entry_uses.h"

namespace vlt {
namespace {

QString tab_name(InspectorWindow::Tab tab) {
    switch (tab) {
        case InspectorWindow::Tab::palette:
            return QStringLiteral("palette");
        case InspectorWindow::Tab::bigf:
            return QStringLiteral("bigf");
        case InspectorWindow::Tab::cliff:
            return QStringLiteral("cliff");
    }
    return {};
}

// What a texture view shows, as an image of the texture's size: the view's picture from its
// top-left corner over the window's background; null when the view shows no picture.
QImage view_image(const View& view, QColor background) {
    const Bitmap* picture = view.bitmap();
    if (picture == nullptr || picture->empty()) {
        return {};
    }
    QImage image(view.width(), view.height(), QImage::Format_RGB32);
    image.fill(background);
    const QImage shown = picture_image(*picture, image.rect());
    if (!shown.isNull()) {
        QPainter(&image).drawImage(0, 0, shown);
    }
    return image;
}

std::vector<bool> texel_flags(std::span<const std::uint8_t> data, int width, int entry) {
    if (entry < 0) {
        return {};
    }
    std::vector<bool> flags(data.size());
    for (const PixelPlace place : pixels_of_entry(data, width, static_cast<std::uint8_t>(entry))) {
        flags[static_cast<std::size_t>(place.y * width + place.x)] = true;
    }
    return flags;
}

// "bigf x 37, y 902: entry 14 (96, 72, 40)": the index stored there and the colour shown.
QString texel_text(const View& view, std::span<const std::uint8_t> data, QPoint texel) {
    const auto index = data[static_cast<std::size_t>(texel.y() * view.width() + texel.x())];
    const Color color = view.bitmap()->get_pixel(texel.x(), texel.y());
    const QString shown = color == CLR_INVALID ? QStringLiteral("no pixel shown")
                                               : QStringLiteral("%1, %2, %3")
                                                     .arg(red_of(color))
                                                     .arg(green_of(color))
                                                     .arg(blue_of(color));
    return QStringLiteral("%1 x %2, y %3: entry %4 (%5)")
        .arg(QString::fromStdString(view.name()))
        .arg(texel.x())
        .arg(texel.y())
        .arg(index)
        .arg(shown);
}

}  // namespace

std::optional<Color> ask_entry_colour(int entry, Color current, QWidget* parent) {
    const QColor chosen =
        QColorDialog::getColor(QColor(red_of(current), green_of(current), blue_of(current)),
                               parent, QStringLiteral("Edit palette entry %1").arg(entry));
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return make_color(static_cast<std::uint8_t>(chosen.red()),
                      static_cast<std::uint8_t>(chosen.green()),
                      static_cast<std::uint8_t>(chosen.blue()));
}

std::optional<int> ask_entry_number(QWidget* parent) {
    bool ok = false;
    const int entry = QInputDialog::getInt(parent, QStringLiteral("Edit palette entry"),
                                           QStringLiteral("Entry (0 to 255):"), 0, 0,
                                           palette_size - 1, 1, &ok);
    return ok ? std::optional<int>(entry) : std::nullopt;
}

InspectorWindow::InspectorWindow(TextureEditor& editor, std::function<void(int, Color)> edit,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), editor_(editor), edit_entry_(std::move(edit)) {
    setObjectName(QStringLiteral("Inspector"));
    bigf_.setObjectName(QStringLiteral("inspector_bigf"));
    cliff_.setObjectName(QStringLiteral("inspector_cliff"));
    status_.setObjectName(QStringLiteral("inspector_status"));
    tabs_.addTab(build_palette_tab(), tab_name(Tab::palette));
    tabs_.addTab(&bigf_, tab_name(Tab::bigf));
    tabs_.addTab(&cliff_, tab_name(Tab::cliff));
    build_actions();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(&tools_);
    layout->addWidget(&tabs_, 1);
    layout->addWidget(&status_);
    status_.setTextInteractionFlags(Qt::TextSelectableByMouse);

    for (ZoomView* zoom : {&bigf_, &cliff_}) {
        connect(zoom, &ZoomView::hovered, this,
                [this, zoom](QPoint texel) { show_texel(*zoom, texel); });
        connect(zoom, &ZoomView::zoom_changed, this, [this] { tab_changed(); });
    }
    connect(&swatches_, &PaletteSwatches::entry_hovered, this, [this](int entry) {
        if (entry >= 0) {
            outline_entry(entry);
            status_.setText(swatches_.entry_text(entry));
        }
    });
    connect(&swatches_, &PaletteSwatches::entry_activated, this,
            [this](int entry) { edit_entry(entry); });
    connect(&tabs_, &QTabWidget::currentChanged, this, [this] { tab_changed(); });
    resize(640, 720);
    follow_workspace();
    show_tab(Tab::bigf);
    tab_changed();
}

InspectorWindow::~InspectorWindow() {
    // The pages are members and leave the tabs one by one: the tools need not follow.
    disconnect(&tabs_, nullptr, this, nullptr);
}

QWidget* InspectorWindow::build_palette_tab() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* scroll = new QScrollArea;
    scroll->setWidget(&swatches_);
    scroll->setAlignment(Qt::AlignCenter);
    layout->addWidget(scroll, 1);
    auto* legend = new QLabel(
        QStringLiteral("Marked top right: used by bigf; bottom right: used by cliff. Pointing "
                       "at an entry outlines its pixels in the bigf and cliff tabs (Esc clears). "
                       "Double-click an entry to change its colour."));
    legend->setWordWrap(true);
    layout->addWidget(legend);
    return page;
}

void InspectorWindow::build_actions() {
    auto add = [this](const QString& text, QList<QKeySequence> keys, auto slot) {
        QAction* action = tools_.addAction(text);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    const auto on_zoom = [this](auto change) {
        return [this, change] {
            if (ZoomView* zoom = current_zoom()) {
                change(*zoom);
            }
        };
    };
    // Ctrl+= as well as Ctrl++: on most keyboards "+" needs Shift.
    zoom_actions_ = {
        add(QStringLiteral("Zoom in"),
            {QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus)},
            on_zoom([](ZoomView& z) { z.zoom_in(); })),
        add(QStringLiteral("Zoom out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)},
            on_zoom([](ZoomView& z) { z.zoom_out(); })),
        add(QStringLiteral("1x"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
            on_zoom([](ZoomView& z) { z.set_zoom(1); })),
        add(QStringLiteral("Fit"), {}, on_zoom([](ZoomView& z) { z.fit(); })),
    };
    tools_.addWidget(&zoom_label_);
    tools_.addSeparator();
    grid_action_ = add(QStringLiteral("Grid"), {QKeySequence(Qt::CTRL | Qt::Key_G)},
                       on_zoom([this](ZoomView& z) { z.set_grid(grid_action_->isChecked()); }));
    tile_action_ = add(QStringLiteral("Tile 2 x 2"), {QKeySequence(Qt::CTRL | Qt::Key_T)},
                       on_zoom([this](ZoomView& z) { z.set_tiled(tile_action_->isChecked()); }));
    for (QAction* toggle : {grid_action_, tile_action_}) {
        toggle->setCheckable(true);
    }
    add(QStringLiteral("Clear outline"), {QKeySequence(Qt::Key_Escape)},
        [this] { outline_entry(-1); });
}

ZoomView* InspectorWindow::current_zoom() {
    return qobject_cast<ZoomView*>(tabs_.currentWidget());
}

InspectorWindow::Tab InspectorWindow::current_tab() const {
    return static_cast<Tab>(tabs_.currentIndex());
}

void InspectorWindow::show_tab(Tab tab) {
    tabs_.setCurrentIndex(static_cast<int>(tab));
}

void InspectorWindow::show_tab_of(const View& view) {
    if (&view == &editor_.bigf) {
        show_tab(Tab::bigf);
    } else if (&view == &editor_.cliff) {
        show_tab(Tab::cliff);
    } else {
        show_tab(Tab::palette);
    }
}

const View& InspectorWindow::view_of(const ZoomView& zoom) const {
    return &zoom == &cliff_ ? editor_.cliff : editor_.bigf;
}

// The tools follow the tab in front: each texture keeps its own zoom, grid and tiling, and the
// palette has none of them.
void InspectorWindow::tab_changed() {
    setWindowTitle(QStringLiteral("Inspector - ") + tab_name(current_tab()));
    const ZoomView* zoom = current_zoom();
    for (QAction* action : zoom_actions_) {
        action->setEnabled(zoom != nullptr);
    }
    grid_action_->setEnabled(zoom != nullptr);
    tile_action_->setEnabled(zoom != nullptr);
    grid_action_->setChecked(zoom != nullptr && zoom->grid());
    tile_action_->setChecked(zoom != nullptr && zoom->tiled());
    zoom_label_.setText(zoom ? QStringLiteral(" %1x ").arg(zoom->zoom()) : QString());
}

void InspectorWindow::follow_workspace() {
    const Workspace& ws = editor_.workspace();
    swatches_.set_palette(ws.pal_colors, entry_use_counts(ws.bigf_data),
                          entry_use_counts(ws.cliff_data));
    const QColor background = palette().color(QPalette::Window);
    bigf_.set_image(view_image(editor_.bigf, background));
    cliff_.set_image(view_image(editor_.cliff, background));
    outline_entry(outlined_);
    if (current_tab() == Tab::palette && swatches_.hovered_entry() >= 0) {
        status_.setText(swatches_.entry_text(swatches_.hovered_entry()));
    }
}

void InspectorWindow::outline_entry(int entry) {
    outlined_ = entry;
    const Workspace& ws = editor_.workspace();
    bigf_.set_outlined(texel_flags(ws.bigf_data, bigf_width, entry));
    cliff_.set_outlined(texel_flags(ws.cliff_data, cliff_width, entry));
}

void InspectorWindow::edit_entry(int entry) {
    const Color current = editor_.workspace().pal_colors[static_cast<std::size_t>(entry)];
    const auto chosen = choose_colour_(entry, current, this);
    if (chosen && *chosen != current) {
        edit_entry_(entry, *chosen);
    }
}

void InspectorWindow::show_texel(const ZoomView& zoom, QPoint texel) {
    if (texel.x() < 0) {
        status_.clear();
        return;
    }
    const View& view = view_of(zoom);
    const Workspace& ws = editor_.workspace();
    const std::span<const std::uint8_t> data =
        &view == &editor_.cliff ? std::span<const std::uint8_t>(ws.cliff_data)
                                : std::span<const std::uint8_t>(ws.bigf_data);
    status_.setText(texel_text(view, data, texel));
}

}  // namespace vlt
