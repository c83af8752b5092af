#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "gui/paint_link.h"
#include "gui/paint_setup_dialog.h"

class QLabel;

namespace vlt {

class MainWindow;

// The textures that can be edited in a paint program.
enum class PaintTexture { bigf, cliff };

// The window's live links with the paint program, at most one per texture. "Edit in paint
// program" exports the texture as an indexed PNG to the file remembered for it (asked the first
// time), opens it in the paint program and watches it; each save there comes back as one undo
// step, "Update from FILE", told in the status bar, never in a box.
class PaintLinks : public QObject {
    Q_OBJECT
public:
    using Launcher = std::function<bool(const QString& program, const std::filesystem::path&)>;

    struct Link {
        PaintTexture texture;
        std::filesystem::path file;
    };

    // Shows the live links in the window's status bar.
    explicit PaintLinks(MainWindow& window);
    ~PaintLinks() override;

    // Asks for the file and program when none is remembered for the texture, or when `ask`; an
    // earlier link of the texture is replaced.
    void edit(PaintTexture texture, bool ask = false);
    void stop(PaintTexture texture);
    void stop_all();
    std::vector<Link> links() const;

    // For tests: a scripted setup dialog, a program that is not started, shorter waits.
    void set_setup_chooser(std::unique_ptr<PaintSetupChooser> chooser);
    void set_launcher(Launcher launcher) { launcher_ = std::move(launcher); }
    void set_timing(PaintLink::Timing timing) { timing_ = timing; }

signals:
    void links_changed();

private:
    std::optional<PaintSetup> setup_for(PaintTexture texture, bool ask);
    PaintSetup proposed_setup(PaintTexture texture) const;
    // A save of the texture's file came: its import, as one step.
    void update_from(PaintTexture texture, bool true_colour);
    void show_message(const QString& text);
    void update_status();

    MainWindow& window_;
    QLabel* status_;  // owned by the status bar
    std::unique_ptr<PaintSetupChooser> chooser_;
    Launcher launcher_ = open_in_paint_program;
    PaintLink::Timing timing_;
    std::array<std::unique_ptr<PaintLink>, 2> links_;
    std::array<bool, 2> waiting_{};  // an update waits for a dialog to close
    std::array<bool, 2> waiting_true_colour_{};  // what the latest save meanwhile holds
};

// "bigf", "cliff".
QString texture_name(PaintTexture texture);

}  // namespace vlt
