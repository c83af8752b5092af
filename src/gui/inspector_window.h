#pragma once

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QToolBar>
#include <functional>
#include <optional>

#include "commands/texture_editor.h"
#include "gui/palette_swatches.h"
#include "gui/zoom_view.h"

namespace vlt {

// Asks for a palette entry's new colour, starting from its current one; nothing when the user
// cancels.
using ColourChooser = std::function<std::optional<Color>(int entry, Color current, QWidget*)>;
// The platform's colour dialog.
std::optional<Color> ask_entry_colour(int entry, Color current, QWidget* parent);
// Asks which palette entry to change; nothing when the user cancels.
using EntryChooser = std::function<std::optional<int>(QWidget*)>;
std::optional<int> ask_entry_number(QWidget* parent);

// The inspector: a window of its own beside the main window, with a tab for the palette as
// swatches and one for each texture close up. It shows what the views show, and changes only the
// palette, through the main window, which makes each change an undoable step.
class InspectorWindow : public QWidget {
    Q_OBJECT
public:
    enum class Tab { palette, bigf, cliff };

    // `edit` gives an entry its new colour.
    InspectorWindow(TextureEditor& editor, std::function<void(int, Color)> edit,
                    QWidget* parent = nullptr);
    ~InspectorWindow() override;

    // Brings the tab of the view to the front: the palette for both palette views.
    void show_tab_of(const View& view);
    void show_tab(Tab tab);
    Tab current_tab() const;
    void set_colour_chooser(ColourChooser chooser) { choose_colour_ = std::move(chooser); }

    // Takes in what the workspace and the views hold now; the main window calls it after every
    // change.
    void follow_workspace();

    // Outlines every pixel of the entry in the texture tabs; -1 outlines none.
    void outline_entry(int entry);
    int outlined_entry() const { return outlined_; }
    // Asks for the entry's colour and, unless cancelled, changes the entry.
    void edit_entry(int entry);

    ZoomView& zoom_view(Tab tab) { return tab == Tab::cliff ? cliff_ : bigf_; }
    PaletteSwatches& swatches() { return swatches_; }
    QString status_text() const { return status_.text(); }
    // The texture view a zoom view shows.
    const View& view_of(const ZoomView& zoom) const;

private:
    QWidget* build_palette_tab();
    void build_actions();
    void tab_changed();
    void show_texel(const ZoomView& zoom, QPoint texel);
    ZoomView* current_zoom();

    TextureEditor& editor_;
    std::function<void(int, Color)> edit_entry_;
    ColourChooser choose_colour_ = ask_entry_colour;
    QToolBar tools_;
    QTabWidget tabs_;
    PaletteSwatches swatches_;
    ZoomView bigf_;
    ZoomView cliff_;
    QLabel status_;
    QLabel zoom_label_;
    QAction* grid_action_ = nullptr;
    QAction* tile_action_ = nullptr;
    std::vector<QAction*> zoom_actions_;
    int outlined_ = -1;
};

}  // namespace vlt
