#pragma once

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QString>
#include <array>
#include <filesystem>
#include <memory>

#include "commands/texture_editor.h"
#include "gui/desktop_port.h"
#include "gui/dither_box.h"
#include "gui/file_chooser.h"
#include "gui/picture_widget.h"
#include "gui/view_drops.h"
#include "gui/view_tooltips.h"

namespace vlt {

// What the program entry hands to its window.
struct WindowSetup {
    QString title;                         // the application title, caption of the boxes
    std::filesystem::path executable;      // its folder is the start-up folder's fallback
    std::unique_ptr<FileChooser> chooser;  // null: Qt's file dialogs
};

// The main window: the four picture views, the about label and the thirteen command buttons at
// fixed places on a content area that the window scrolls over.
class MainWindow : public QScrollArea {
    Q_OBJECT
public:
    static constexpr int design_width = 484;
    static constexpr int design_height = 429;

    // Builds the window and chooses the start-up folder; an error there is reported and the
    // window still opens.
    explicit MainWindow(WindowSetup setup);
    ~MainWindow() override;

    TextureEditor& editor() { return editor_; }

    // One button click: the command runs to its end, then every view it marked is repainted.
    void run(Command command);
    // The same with the command's file given, as a drop gives it: no dialog is shown.
    void run_with_file(Command command, const std::filesystem::path& file);
    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y; also in every view's context menu.
    QAction& undo_action() { return undo_action_; }
    QAction& redo_action() { return redo_action_; }

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // Changes that are not saved are only lost when the user says so.
    void closeEvent(QCloseEvent* event) override;
    // Home and End, with or without Ctrl, go to the top and the bottom of the scrolling area.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void build_controls();
    void FormCreate(const std::filesystem::path& executable);
    void fit_outer_size();
    void build_undo_actions();
    // The undo and redo actions name the steps they would take, greyed when there is none.
    void update_undo_actions();
    void repaint_marked_views();

    DesktopPort port_;
    TextureEditor editor_;
    QAction undo_action_;
    QAction redo_action_;
    // Children are declared after their parent so that they leave it before it is destroyed.
    QWidget content_;
    std::array<std::unique_ptr<PictureWidget>, 4> views_;
    std::array<std::unique_ptr<ViewDrops>, 4> drops_;
    std::array<std::unique_ptr<ViewToolTips>, 4> tooltips_;
    QLabel txtAbout_;
    std::array<std::unique_ptr<QPushButton>, 13> buttons_;
    DitherBox dither_{&content_};
    bool frame_fitted_ = false;
};

}  // namespace vlt
