#include "gui/main_window.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QWindow>
#include <algorithm>
#include <exception>

#include "base/install_path.h"
#include "gui/close_prompt.h"
#include "gui/error_report.h"
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

const CommandInfo& info_of(Command command) {
    return all_commands()[static_cast<std::size_t>(command)];
}

// A button's caption, and its object name: the command's own name.
QString caption_of(Command command) {
    return text_of(info_of(command).name);
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

// Where the framed window stands when it is first shown: centred on the primary screen.
QPoint centred_position() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect rect = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    return {rect.x() + (rect.width() - MainWindow::design_width) / 2,
            rect.y() + (rect.height() - MainWindow::design_height) / 2};
}

}  // namespace

MainWindow::MainWindow(WindowSetup setup)
    : port_(*this, setup.title, std::move(setup.chooser)), editor_(port_) {
    setObjectName(QStringLiteral("VoskLandTextureTest"));
    setWindowTitle(QStringLiteral("VoskLandTextureTest"));
    setFrameShape(QFrame::NoFrame);
    setBackgroundRole(QPalette::Window);
    build_controls();
    setWidget(&content_);
    setWidgetResizable(false);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setSingleStep(scroll_step);
        bar->setTracking(false);  // the view follows the thumb when it is released
    }
    // Outer size; the frame is taken off once it is known (fit_outer_size).
    resize(design_width, design_height);
    move(centred_position());
    FormCreate(setup.executable);
    add_inspector_actions();
}

MainWindow::~MainWindow() {
    // The content area is a member: take it back before the scroll area would delete it.
    takeWidget();
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
            *views_[i], [this](Command command, const std::filesystem::path& file) {
                run_with_file(command, file);
            });
        tooltips_[i] = std::make_unique<ViewToolTips>(*views_[i], editor_);
        add_view_menu(*views_[i], [this](Command command) { run(dither_.applied_to(command)); });
        add_view_menu_entry(*views_[i], QStringLiteral("Inspector"),
                            [this, view = views[i]] { open_inspector(*view); });
        on_double_click(*views_[i], [this, view = views[i]] { open_inspector(*view); });
    }
    txtAbout_.setParent(&content_);
    txtAbout_.setObjectName(QStringLiteral("txtAbout"));
    txtAbout_.setText(QStringLiteral("vosk-land-texture " VLT_VERSION));
    txtAbout_.move(296, 1328);
    txtAbout_.adjustSize();
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
        buttons_[i]->setToolTip(text_of(info_of(place.command).summary));
        connect(buttons_[i].get(), &QPushButton::clicked, this,
                [this, command = place.command] { run(command); });
        if (previous != nullptr) {
            setTabOrder(previous, buttons_[i].get());
        }
        previous = buttons_[i].get();
    }
}

void MainWindow::run(Command command) {
    editor_.click(command);
    after_change();
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

void MainWindow::run_with_file(Command command, const std::filesystem::path& file) {
    port_.answer_next_request(file);
    run(command);
    port_.forget_next_answer();
}

// The creation handler: chooses the start-up folder. Its errors are reported here and the
// window opens all the same.
void MainWindow::FormCreate(const std::filesystem::path& executable) {
    try {
        choose_startup_folder(executable);
    } catch (const std::exception& error) {
        report_exception(port_.title(), error);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    fit_outer_size();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QScrollArea::moveEvent(event);
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
           design_height - frame.top() - frame.bottom());
    move(centred_position());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const std::string text = editor_.unsaved_changes().prompt_text();
    if (text.empty() ||
        confirm_close_without_saving(port_.title(), QString::fromStdString(text), this)) {
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool plain_or_ctrl = modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
    if (plain_or_ctrl && event->key() == Qt::Key_Home) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    } else if (plain_or_ctrl && event->key() == Qt::Key_End) {
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    } else {
        QScrollArea::keyPressEvent(event);
    }
}

}  // namespace vlt
