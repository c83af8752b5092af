#include "gui/paint_setup_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>

namespace vlt {
namespace {

QString native(const std::filesystem::path& file) {
    return QDir::toNativeSeparators(QString::fromStdU16String(file.u16string()));
}

std::filesystem::path path_of(const QString& text) {
    return std::filesystem::path(QDir::fromNativeSeparators(text).toStdU16String());
}

// A line with its field and a "Browse..." button beside it.
QWidget* with_browse(QLineEdit* field, QPushButton* browse) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field, 1);
    layout->addWidget(browse);
    return row;
}

}  // namespace

std::optional<PaintSetup> DialogPaintSetupChooser::choose(const QString& texture,
                                                          const PaintSetup& proposed,
                                                          QWidget* owner) {
    PaintSetupDialog dialog(texture, proposed, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.setup();
}

PaintSetupDialog::PaintSetupDialog(const QString& texture, const PaintSetup& proposed,
                                   QWidget* owner)
    : QDialog(owner),
      file_(new QLineEdit(native(proposed.file))),
      system_program_(new QRadioButton(QStringLiteral("The system's program for PNG files"))),
      chosen_program_(new QRadioButton(QStringLiteral("This program:"))),
      program_(new QLineEdit(QDir::toNativeSeparators(proposed.program))) {
    setObjectName(QStringLiteral("PaintSetup"));
    setWindowTitle(QStringLiteral("Edit %1 in paint program").arg(texture));
    file_->setObjectName(QStringLiteral("paint_file"));
    system_program_->setObjectName(QStringLiteral("system_program"));
    chosen_program_->setObjectName(QStringLiteral("chosen_program"));
    program_->setObjectName(QStringLiteral("program"));
    (proposed.program.isEmpty() ? system_program_ : chosen_program_)->setChecked(true);

    auto* browse_file = new QPushButton(QStringLiteral("Browse..."));
    connect(browse_file, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(
            this, windowTitle(), file_->text(), QStringLiteral("PNG pictures (*.png)"));
        if (!chosen.isEmpty()) {
            file_->setText(QDir::toNativeSeparators(chosen));
        }
    });
    auto* browse_program = new QPushButton(QStringLiteral("Browse..."));
    connect(browse_program, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getOpenFileName(this, windowTitle(), program_->text());
        if (!chosen.isEmpty()) {
            program_->setText(QDir::toNativeSeparators(chosen));
            chosen_program_->setChecked(true);
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QLineEdit* field : {file_, program_}) {
        connect(field, &QLineEdit::textChanged, this, &PaintSetupDialog::update_ok);
    }
    connect(chosen_program_, &QRadioButton::toggled, this, &PaintSetupDialog::update_ok);
    connect(program_, &QLineEdit::textEdited, chosen_program_, [this] {
        chosen_program_->setChecked(true);
    });
    // Room for a whole path.
    const int field_width = fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48;
    file_->setMinimumWidth(field_width);
    program_->setMinimumWidth(field_width);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("PNG &file:"), with_browse(file_, browse_file));
    form->addRow(QStringLiteral("Open it with:"), system_program_);
    form->addRow(QString(), chosen_program_);
    form->addRow(QString(), with_browse(program_, browse_program));
    auto* layout = new QVBoxLayout(this);
    auto* about = new QLabel(QStringLiteral(
        "The %1 texture is exported to this file and opened in the paint program; each time the "
        "program saves it, the texture follows.").arg(texture));
    about->setWordWrap(true);
    layout->addWidget(about);
    layout->addLayout(form);
    layout->addWidget(buttons);
    update_ok();
}

PaintSetup PaintSetupDialog::setup() const {
    PaintSetup setup{path_of(file_->text().trimmed()), {}};
    if (setup.file.extension() != ".png" && setup.file.extension() != ".PNG") {
        setup.file += ".png";
    }
    if (chosen_program_->isChecked()) {
        setup.program = QDir::fromNativeSeparators(program_->text().trimmed());
    }
    return setup;
}

void PaintSetupDialog::update_ok() {
    const bool program_ok = !chosen_program_->isChecked() || !program_->text().trimmed().isEmpty();
    ok_->setEnabled(!file_->text().trimmed().isEmpty() && program_ok);
}

bool open_in_paint_program(const QString& program, const std::filesystem::path& file) {
    const QString name = QString::fromStdU16String(file.u16string());
    if (program.isEmpty()) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(name));
    }
    return QProcess::startDetached(program, {QDir::toNativeSeparators(name)});
}

}  // namespace vlt
