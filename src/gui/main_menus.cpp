// The main window's menu bar: File, Edit and Help.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDatabase>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <vector>

#include "commands/opened_file.h"
#include "gui/command_names.h"
#include "gui/main_window.h"
#include "gui/menu_texts.h"

namespace vlt {
namespace {

struct MenuGroup {
    const char* title;
    CommandGroup group;
};

constexpr MenuGroup file_menu_groups[] = {{"&Palette", CommandGroup::palette},
                                          {"&bigf", CommandGroup::bigf},
                                          {"&cliff", CommandGroup::cliff}};

// Commands that ask for a file say so with "...".
QString item_text(Command command) {
    const QString text = qt_text(menu_text(command));
    return spec_of(command).file_use == FileUse::none ? text : text + QStringLiteral("...");
}

QString native(const std::filesystem::path& file) {
    return QDir::toNativeSeparators(QString::fromStdU16String(file.u16string()));
}

}  // namespace

void MainWindow::build_menus() {
    QMenuBar& bar = *menuBar();
    build_file_menu(*bar.addMenu(QStringLiteral("&File")));
    build_edit_menu(*bar.addMenu(QStringLiteral("&Edit")));
    QMenu* view = bar.addMenu(QStringLiteral("&View"));
    view->addAction(inspector_action_);
    add_paint_links_entry(*view);
    build_help_menu(*bar.addMenu(QStringLiteral("&Help")));
}

void MainWindow::build_file_menu(QMenu& menu) {
    for (const MenuGroup& group : file_menu_groups) {
        QMenu* sub = menu.addMenu(QString::fromUtf8(group.title));
        MnemonicPicker picker;
        for (const Command command : file_menu_commands(group.group)) {
            QAction* action = sub->addAction(picker.pick(item_text(command)));
            action->setStatusTip(qt_text(spec_of(command).summary));
            connect(action, &QAction::triggered, this,
                    [this, command] { run(dither_.applied_to(command)); });
        }
        add_paint_link_entries(*sub, group.group, picker);
    }
    menu.addSeparator();
    QAction* save_all_action = menu.addAction(QStringLiteral("Save &all"));
    save_all_action->setObjectName(QStringLiteral("save_all"));
    save_all_action->setShortcut(QKeySequence::Save);
    save_all_action->setStatusTip(
        QStringLiteral("save every changed part over its data file"));
    connect(save_all_action, &QAction::triggered, this, [this] { save_all(); });
    recent_menu_ = menu.addMenu(QStringLiteral("&Recent files"));
    recent_menu_->setObjectName(QStringLiteral("recent_files"));
    connect(recent_menu_, &QMenu::aboutToShow, this, [this] { fill_recent_menu(); });
    fill_recent_menu();
    menu.addSeparator();
    QAction* quit = menu.addAction(QStringLiteral("&Quit"));
    quit->setObjectName(QStringLiteral("quit"));
    // Qt's standard sequence for quitting is missing on Windows.
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::fill_recent_menu() {
    recent_menu_->clear();
    const std::vector<RecentFile> files = settings_.recent_files();
    if (files.empty()) {
        recent_menu_->addAction(QStringLiteral("(none)"))->setEnabled(false);
        return;
    }
    int number = 0;
    for (const RecentFile& recent : files) {
        // A picture import says which import opened it; a file that opens by itself needs not.
        QString text = QStringLiteral("&%1 ").arg(++number % 10) +
                       QString::fromStdU16String(recent.file.filename().u16string()).replace(
                           QLatin1Char('&'), QStringLiteral("&&"));
        if (command_for_opened_file(recent.file) != recent.command) {
            text += QStringLiteral(" (") + own_name(recent.command) + QLatin1Char(')');
        }
        QAction* action = recent_menu_->addAction(text);
        action->setStatusTip(native(recent.file));
        connect(action, &QAction::triggered, this,
                [this, recent] { run(recent.command, recent.file); });
    }
}

void MainWindow::build_edit_menu(QMenu& menu) {
    // The same actions as the views' context menus: they name the step they would take.
    menu.addAction(&undo_action_);
    menu.addAction(&redo_action_);
    menu.addSeparator();
    menu.addAction(edit_entry_action_);
}

void MainWindow::build_help_menu(QMenu& menu) {
    QAction* keys = menu.addAction(QStringLiteral("&Keyboard shortcuts"));
    keys->setShortcut(QKeySequence::HelpContents);
    connect(keys, &QAction::triggered, this, [this] { show_keyboard_shortcuts(); });
    connect(menu.addAction(QStringLiteral("The &command line")), &QAction::triggered, this,
            [this] { show_command_line_help(); });
    menu.addSeparator();
    connect(menu.addAction(QStringLiteral("&About")), &QAction::triggered, this,
            [this] { show_about(); });
}

void MainWindow::show_keyboard_shortcuts() {
    QMessageBox box(QMessageBox::Information, port_.title(), keyboard_shortcuts_text(*menuBar()),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("KeyboardShortcuts"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MainWindow::show_command_line_help() {
    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("CommandLineHelp"));
    dialog.setWindowTitle(port_.title() + QStringLiteral(": the command line"));
    auto* text = new QPlainTextEdit(command_line_help_text(), &dialog);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    const QFontMetrics metrics(text->font());
    dialog.resize(metrics.horizontalAdvance(QLatin1Char('x')) * 92, metrics.height() * 36);
    dialog.exec();
}

void MainWindow::show_about() {
    QMessageBox::about(this, QStringLiteral("About ") + port_.title(), about_text());
}

}  // namespace vlt
