#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace vlt {

// Where a texture goes for the paint program, and which program opens it.
struct PaintSetup {
    std::filesystem::path file;  // a PNG picture
    QString program;             // empty: the system's program for PNG files
};

// Asks for a texture's paint file and program. The window uses the dialog below; tests put in
// a scripted one.
class PaintSetupChooser {
public:
    virtual ~PaintSetupChooser() = default;
    // `texture` is "bigf" or "cliff"; `proposed` fills the fields. Nothing when cancelled.
    virtual std::optional<PaintSetup> choose(const QString& texture, const PaintSetup& proposed,
                                             QWidget* owner) = 0;
};

class DialogPaintSetupChooser : public PaintSetupChooser {
public:
    std::optional<PaintSetup> choose(const QString& texture, const PaintSetup& proposed,
                                     QWidget* owner) override;
};

// The picture file, with a button to pick it, and the program: the system's or one picked.
// The file always ends in .png: the export writes PNG by that extension.
class PaintSetupDialog : public QDialog {
    Q_OBJECT
public:
    PaintSetupDialog(const QString& texture, const PaintSetup& proposed, QWidget* owner);

    PaintSetup setup() const;

private:
    void update_ok();

    QLineEdit* file_;
    QRadioButton* system_program_;
    QRadioButton* chosen_program_;
    QLineEdit* program_;
    QWidget* ok_;
};

// Opens the file with the program (empty: the system's program for PNG files), not waiting for
// it; false when it could not be started.
bool open_in_paint_program(const QString& program, const std::filesystem::path& file);

}  // namespace vlt
