#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QString>
#include <array>
#include <filesystem>
#include <memory>
#include <vector>

#include "commands/texture_editor.h"
#include "gui/desktop_port.h"
#include "gui/dither_box.h"
#include "gui/file_chooser.h"
#include "gui/inspector_window.h"
#include "gui/picture_widget.h"
#include "gui/view_drops.h"
#include "gui/view_status.h"
#include "gui/view_tooltips.h"
#include "gui/window_settings.h"

class QAction;
class QMenu;

namespace vlt {

class MnemonicPicker;
class PaintLinks;

// What the program entry hands to its window.
struct WindowSetup {
    QString title;                         // the application title, caption of the boxes
    std::filesystem::path executable;      // its folder is the start-up folder's fallback
    std::unique_ptr<FileChooser> chooser;  // null: Qt's file dialogs
    QString settings_file = {};            // empty: where the system keeps the program's settings
};

// The main window: a menu bar, the scrolling area with the four picture views, the about label
// and the thirteen command buttons at fixed places, and a status bar.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // The outer size of the area's window: the menu bar and the status bar come on top of it.
    static constexpr int design_width = 484;
    static constexpr int design_height = 429;

    // Builds the window and chooses the start-up folder; an error there is reported and the
    // window still opens.
    explicit MainWindow(WindowSetup setup);
    ~MainWindow() override;

    TextureEditor& editor() { return editor_; }
    QScrollArea& scroll_area() { return scroll_; }
    WindowSettings& settings() { return settings_; }

    // A button click, a menu item, a drop: the command runs to its end on the file given, else
    // on the one its dialog asks for; then every view it marked is repainted.
    CommandResult run(Command command, std::optional<std::filesystem::path> file = {});
    // The same on a file given, run as the options say; the file joins no recent files.
    CommandResult run(Command command, const std::filesystem::path& file,
                      const RunOptions& options);
    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y; also in every view's context menu.
    QAction& undo_action() { return undo_action_; }
    QAction& redo_action() { return redo_action_; }
    // Saves every changed part over the data file it belongs to; a part without one asks for
    // its name through its save command's dialog.
    void save_all();
    // Opens each file as a drop on the matching view would; any other file is refused with a
    // notice naming it.
    void open_files(const std::vector<std::filesystem::path>& files);

    // The status bar's text while the pointer is over no view: each part's data file.
    QString files_status_text() const;

    // The inspector, made when first asked for, with the tab of the view in front.
    InspectorWindow& inspector();
    void open_inspector(const View& view);
    // One palette entry takes a new colour, as one step; the views and the inspector follow.
    void edit_palette_entry(int index, Color color);
    // Asks for the colour of the entry under the pointer (in any view or the inspector), or,
    // elsewhere, for an entry first.
    void edit_palette_entry_dialog();
    void set_entry_dialogs(EntryChooser entry, ColourChooser colour);
    // View > Inspector (Ctrl+I) and Edit > "Edit palette entry...".
    QAction& inspector_action() { return *inspector_action_; }
    QAction& edit_entry_action() { return *edit_entry_action_; }
    // The live links with the paint program (main_window_paint_links.cpp).
    PaintLinks& paint_links() { return *paint_links_; }

signals:
    // After every command and every refresh of a view: the workspace or a view may have changed.
    void workspace_changed();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Changes that are not saved are only lost when the user says so.
    void closeEvent(QCloseEvent* event) override;
    // Home and End, with or without Ctrl, go to the top and the bottom of the scrolling area.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Accepts the close event, or not, as the user answers about unsaved changes.
    void decide_closing(QCloseEvent* event);
    // "Edit in paint program" on the texture views, and View > Paint-program links.
    void add_paint_link_actions();
    void add_paint_link_entries(QMenu& menu, CommandGroup group, MnemonicPicker& picker);
    void add_paint_links_entry(QMenu& view_menu);
    void build_controls();
    // The menu bar (main_menus.cpp).
    void build_menus();
    void build_file_menu(QMenu& menu);
    void build_edit_menu(QMenu& menu);
    void build_help_menu(QMenu& menu);
    void fill_recent_menu();
    void show_keyboard_shortcuts();
    void show_command_line_help();
    void show_about();

    // Chooses the start-up folder; its errors are reported and the window opens all the same.
    void start_in_game_folder(const std::filesystem::path& executable);
    void fit_outer_size();
    void build_undo_actions();
    // The undo and redo actions name the steps they would take, greyed when there is none.
    void update_undo_actions();
    int bars_height() const;
    // After a command: the file it opened joins the recent files, the status bar follows.
    void after_command(Command command, const CommandResult& result);
    void update_files_status();
    // Repaints what the last change marked and tells the other windows.
    void after_change();
    void add_inspector_actions();
    std::optional<int> entry_under_pointer() const;

    WindowSettings settings_;
    DesktopPort port_;
    TextureEditor editor_;
    QAction undo_action_;
    QAction redo_action_;
    // Children are declared after their parent so that they leave it before it is destroyed.
    QScrollArea scroll_;
    QWidget content_;
    std::array<std::unique_ptr<PictureWidget>, 4> views_;
    std::array<std::unique_ptr<ViewDrops>, 4> drops_;
    std::array<std::unique_ptr<ViewToolTips>, 4> tooltips_;
    std::array<std::unique_ptr<ViewStatus>, 4> statuses_;
    QLabel about_label_;
    std::array<std::unique_ptr<QPushButton>, 13> buttons_;
    DitherBox dither_{&content_};
    QLabel files_status_;
    QMenu* recent_menu_ = nullptr;  // owned by the menu bar
    bool frame_fitted_ = false;
    EntryChooser choose_entry_ = ask_entry_number;
    ColourChooser choose_colour_ = ask_entry_colour;
    QAction* inspector_action_ = nullptr;
    QAction* edit_entry_action_ = nullptr;
    std::unique_ptr<InspectorWindow> inspector_;
    std::unique_ptr<PaintLinks> paint_links_;
};

}  // namespace vlt
