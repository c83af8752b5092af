#include "gui/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QMenuBar>
#include <QScrollBar>
#include <QShowEvent>
#include <QStatusBar>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "base/install_path.h"
#include "commands/opened_file.h"
#include "gui/close_prompt.h"
#include "gui/error_report.h"
#include "gui/paint_links.h"
#include "gui/view_menu.h"

namespace vlt {
namespace {

constexpr int content_width = 425;    // the right edge of the buttons at x 296
constexpr int content_height = 1352;  // the lower edge of the bigf view
constexpr int scroll_step = 8;
constexpr int button_height = 25;

struct ButtonPlace {
    Command command;
    int left;
    int top;
    int width;
};

// In tab order, which is also the order of the Command enum.
constexpr std::array<ButtonPlace, 13> button_places{{
    {Command::import_from_pal, 144, 8, 129},
    {Command::save_pal_to_bitmap, 144, 72, 129},
    {Command::save_to_pal, 144, 104, 129},
    {Command::import_pal_from_bitmap, 144, 40, 129},
    {Command::import_from_ciff, 296, 88, 129},
    {Command::cliff_save_to_bitmap, 296, 152, 129},
    {Command::import_from_bigf, 272, 256, 129},
    {Command::save_bigf_to_bitmap, 272, 320, 129},
    {Command::save_to_bigf, 272, 352, 129},
    {Command::import_bigf_from_bitmap, 272, 288, 129},
    {Command::import_cliff_from_bitmap, 296, 120, 129},
    {Command::save_to_cliff, 296, 184, 129},
    {Command::build_cliff, 176, 152, 75},
}};

QString text_of(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A button's caption, and its object name: the command's own name.
QString caption_of(Command command) {
    return text_of(command_name(command));
}

// The design's font is 8 points at 96 pixels per inch: 11 pixels high. Captions must fit the
// fixed button widths, and fonts differ from system to system: where one does not fit, the font
// is narrowed until all do.
QFont fitting_font(QFont font) {
    constexpr int design_pixel_size = 11;
    constexpr int caption_padding = 6;
    font.setPixelSize(design_pixel_size);
    for (int stretch = QFont::Unstretched; stretch >= QFont::ExtraCondensed; stretch -= 4) {
        font.setStretch(stretch);
        const QFontMetrics metrics(font);
        const bool all_fit = std::all_of(
            button_places.begin(), button_places.end(), [&metrics](const ButtonPlace& place) {
                return metrics.horizontalAdvance(caption_of(place.command)) + caption_padding <=
                       place.width;
            });
        if (all_fit) {
            break;
        }
    }
    return font;
}

// Where a framed window of that outer size stands when it is first shown: centred on the
// primary screen.
QPoint centred_position(QSize outer) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect rect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    return {rect.x() + (rect.width() - outer.width()) / 2,
            rect.y() + (rect.height() - outer.height()) / 2};
}

// Small enough for a corner of the screen, large enough for the menus and a part of the area.
constexpr QSize minimum_size(240, 200);

// Enter and Return press the focused button, as Space does.
void press_on_enter(QPushButton& button) {
    button.setAutoDefault(true);
}

}  // namespace

MainWindow::MainWindow(WindowSetup setup)
    : settings_(setup.settings_file),
      port_(*this, setup.title, std::move(setup.chooser), settings_),
      editor_(port_) {
    setObjectName(QStringLiteral("VoskLandTextureTest"));
    build_undo_actions();
    add_inspector_actions();
    setWindowTitle(QStringLiteral("VoskLandTextureTest"));
    scroll_.setObjectName(QStringLiteral("area"));
    scroll_.setFrameShape(QFrame::NoFrame);
    scroll_.setBackgroundRole(QPalette::Window);
    build_controls();
    scroll_.setWidget(&content_);
    scroll_.setWidgetResizable(false);
    for (QScrollBar* bar : {scroll_.horizontalScrollBar(), scroll_.verticalScrollBar()}) {
        bar->setSingleStep(scroll_step);
    }
    setCentralWidget(&scroll_);
    build_menus();
    statusBar()->addWidget(&files_status_, 1);
    update_files_status();
    add_paint_link_actions();
    setMinimumSize(minimum_size);
    // Outer size; the frame is taken off once it is known (fit_outer_size).
    resize(design_width, design_height + bars_height());
    move(centred_position(size()));
    start_in_game_folder(setup.executable);
}

MainWindow::~MainWindow() {
    // The members are children: take them back before their parents would delete them.
    statusBar()->removeWidget(&files_status_);
    files_status_.setParent(nullptr);
    scroll_.takeWidget();
    takeCentralWidget();
}

int MainWindow::bars_height() const {
    return menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
}

void MainWindow::build_controls() {
    content_.setFixedSize(content_width, content_height);
    content_.setFont(fitting_font(font()));
    View* views[] = {&editor_.pal, &editor_.pal_preview, &editor_.cliff, &editor_.bigf};
    const QPoint places[] = {{8, 144}, {8, 8}, {296, 16}, {8, 200}};
    for (std::size_t i = 0; i < views_.size(); ++i) {
        views_[i] = std::make_unique<PictureWidget>(*views[i], &content_);
        views_[i]->move(places[i]);
        // The editor routes every refresh through the port, which paints this widget at once.
        port_.add_view_widget(*views_[i]);
        drops_[i] = std::make_unique<ViewDrops>(
            *views_[i],
            [this](Command command, const std::filesystem::path& file) { run(command, file); });
        tooltips_[i] = std::make_unique<ViewToolTips>(*views_[i], editor_);
        statuses_[i] = std::make_unique<ViewStatus>(*views_[i], editor_, *statusBar());
        QAction* const shared[] = {&undo_action_, &redo_action_};
        add_view_menu(
            *views_[i], [this](Command command) { run(dither_.applied_to(command)); }, shared);
        add_view_menu_entry(*views_[i], QStringLiteral("Inspector"),
                            [this, view = views[i]] { open_inspector(*view); });
        views_[i]->set_double_click_action([this, view = views[i]] { open_inspector(*view); });
    }
    about_label_.setParent(&content_);
    about_label_.setObjectName(QStringLiteral("txtAbout"));
    about_label_.setText(QStringLiteral("vosk-land-texture " VLT_VERSION));
    about_label_.move(296, 1328);
    about_label_.adjustSize();
    // Under the bigf buttons, beside the view whose menu it serves.
    dither_.move(272, 384);
    dither_.adjustSize();
    QWidget* previous = nullptr;
    for (std::size_t i = 0; i < button_places.size(); ++i) {
        const ButtonPlace& place = button_places[i];
        const QString name = caption_of(place.command);
        buttons_[i] = std::make_unique<QPushButton>(name, &content_);
        buttons_[i]->setObjectName(name);
        buttons_[i]->setGeometry(place.left, place.top, place.width, button_height);
        buttons_[i]->setToolTip(text_of(spec_of(place.command).summary));
        press_on_enter(*buttons_[i]);
        connect(buttons_[i].get(), &QPushButton::clicked, this,
                [this, command = place.command] { run(command); });
        if (previous != nullptr) {
            setTabOrder(previous, buttons_[i].get());
        }
        previous = buttons_[i].get();
    }
}

void MainWindow::build_undo_actions() {
    undo_action_.setObjectName(QStringLiteral("undo"));
    redo_action_.setObjectName(QStringLiteral("redo"));
    undo_action_.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    // Both bound on every platform: Qt's standard redo key differs between them.
    redo_action_.setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {&undo_action_, &redo_action_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    connect(&undo_action_, &QAction::triggered, this, [this] {
        editor_.undo();
        after_change();
        update_files_status();
    });
    connect(&redo_action_, &QAction::triggered, this, [this] {
        editor_.redo();
        after_change();
        update_files_status();
    });
    port_.set_history_listener([this] { update_undo_actions(); });
    update_undo_actions();
}

void MainWindow::update_undo_actions() {
    const UndoHistory& history = editor_.history();
    undo_action_.setText(QString::fromStdString(history.can_undo() ? "&Undo " + history.undo_name()
                                                                   : std::string("&Undo")));
    redo_action_.setText(QString::fromStdString(history.can_redo() ? "&Redo " + history.redo_name()
                                                                   : std::string("&Redo")));
    undo_action_.setEnabled(history.can_undo());
    redo_action_.setEnabled(history.can_redo());
}

CommandResult MainWindow::run(Command command, std::optional<std::filesystem::path> file) {
    if (file) {
        FileRequest request;
        request.filter = spec_of(command).filter;
        port_.note_given_file(request, *file);
    }
    CommandResult result = editor_.run(command, std::move(file));
    after_change();
    after_command(command, result);
    return result;
}

CommandResult MainWindow::run(Command command, const std::filesystem::path& file,
                              const RunOptions& options) {
    CommandResult result = editor_.run(command, file, options);
    after_change();
    update_files_status();
    return result;
}

void MainWindow::after_change() {
    for (const auto& widget : views_) {
        if (widget->view().repaint_marked()) {
            widget->update();
            widget->view().clear_repaint_mark();
        }
    }
    emit workspace_changed();
}

void MainWindow::after_command(Command command, const CommandResult& result) {
    if (result.done() && result.file && spec_of(command).file_use == FileUse::open) {
        settings_.add_recent_file({command, *result.file});
    }
    update_files_status();
}

void MainWindow::update_files_status() {
    files_status_.setText(files_status_text());
}

QString MainWindow::files_status_text() const {
    return files_status(editor_);
}

void MainWindow::save_all() {
    const struct {
        DataPart part;
        Command save;
    } parts[] = {{DataPart::palette, Command::save_to_pal},
                 {DataPart::bigf, Command::save_to_bigf},
                 {DataPart::cliff, Command::save_to_cliff}};
    for (const auto& p : parts) {
        if (!editor_.unsaved_changes().changed(p.part)) {
            continue;
        }
        run(p.save, editor_.data_file(p.part));
    }
}

void MainWindow::open_files(const std::vector<std::filesystem::path>& files) {
    for (const std::filesystem::path& file : files) {
        if (const auto command = command_for_opened_file(file)) {
            run(*command, file);
        } else {
            port_.show_notice({not_opened_text(QDir::toNativeSeparators(
                                                   QString::fromStdU16String(file.u16string()))
                                                   .toStdString()),
                               {}});
        }
    }
}

void MainWindow::start_in_game_folder(const std::filesystem::path& executable) {
    try {
        choose_startup_folder(executable);
    } catch (const std::exception& error) {
        report_exception(port_.title(), error);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    fit_outer_size();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    fit_outer_size();
}

// The design size is the outer size, frame included, but a window manager tells the frame only
// after it has framed the window. Once it is known, the client area is shrunk to match and the
// framed window centred; without a frame (or a window manager) nothing changes.
void MainWindow::fit_outer_size() {
    if (frame_fitted_ || windowHandle() == nullptr) {
        return;
    }
    const QMargins frame = windowHandle()->frameMargins();
    if (frame.isNull()) {
        return;
    }
    frame_fitted_ = true;
    resize(design_width - frame.left() - frame.right(),
           design_height + bars_height() - frame.top() - frame.bottom());
    move(centred_position(frameGeometry().size()));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    decide_closing(event);
    if (event->isAccepted()) {
        paint_links_->stop_all();
    }
}

void MainWindow::decide_closing(QCloseEvent* event) {
    const std::string text = editor_.unsaved_changes().prompt_text();
    if (text.empty()) {
        event->accept();
        return;
    }
    switch (ask_before_closing(port_.title(), QString::fromStdString(text), this)) {
        case CloseAnswer::close:
            event->accept();
            return;
        case CloseAnswer::save_all:
            save_all();
            // A save that failed or was cancelled keeps the window, and the work, open.
            event->setAccepted(!editor_.unsaved_changes().any());
            return;
        case CloseAnswer::cancel:
            event->ignore();
            return;
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain_or_ctrl = modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
    if (plain_or_ctrl && event->key() == Qt::Key_Home) {
        scroll_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (plain_or_ctrl && event->key() == Qt::Key_End) {
        scroll_.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        QMainWindow::keyPressEvent(event);
    }
}

}  // namespace vlt
