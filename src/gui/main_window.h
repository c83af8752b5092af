#pragma once

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
#include "gui/inspector_window.h"
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
    void build_controls();
    void FormCreate(const std::filesystem::path& executable);
    void fit_outer_size();
    // Repaints what the last change marked and tells the other windows.
    void after_change();
    void add_inspector_actions();
    std::optional<int> entry_under_pointer() const;

    DesktopPort port_;
    TextureEditor editor_;
    // Children are declared after their parent so that they leave it before it is destroyed.
    QWidget content_;
    std::array<std::unique_ptr<PictureWidget>, 4> views_;
    std::array<std::unique_ptr<ViewDrops>, 4> drops_;
    std::array<std::unique_ptr<ViewToolTips>, 4> tooltips_;
    QLabel txtAbout_;
    std::array<std::unique_ptr<QPushButton>, 13> buttons_;
    DitherBox dither_{&content_};
    bool frame_fitted_ = false;
    EntryChooser choose_entry_ = ask_entry_number;
    ColourChooser choose_colour_ = ask_entry_colour;
    QAction* inspector_action_ = nullptr;
    QAction* edit_entry_action_ = nullptr;
    std::unique_ptr<InspectorWindow> inspector_;
};

}  // namespace vlt
