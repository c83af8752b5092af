#include "gui/paint_links.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>

#include "gui/command_names.h"
#include "gui/main_window.h"

namespace vlt {
namespace {

struct TextureCommands {
    Command export_indexed;
    Command import_indices;
    Command import_picture;  // for a save in true colour
    DataPart part;
};

TextureCommands commands_of(PaintTexture texture) {
    if (texture == PaintTexture::bigf) {
        return {Command::save_bigf_to_indexed_bitmap, Command::import_bigf_indices,
                Command::import_bigf_from_bitmap, DataPart::bigf};
    }
    return {Command::save_cliff_to_indexed_bitmap, Command::import_cliff_indices,
            Command::import_cliff_from_bitmap, DataPart::cliff};
}

std::size_t slot(PaintTexture texture) {
    return static_cast<std::size_t>(texture);
}

constexpr int retry_ms = 250;

QString file_name(const std::filesystem::path& file) {
    return QString::fromStdU16String(file.filename().u16string());
}

QString native(const std::filesystem::path& file) {
    return QDir::toNativeSeparators(QString::fromStdU16String(file.u16string()));
}

// A message on one line: its text, and for a failed system call, the file and why.
QString one_line(const Message& message) {
    QString text = QString::fromStdString(message.text);
    if (message.reason) {
        text += QStringLiteral(" (%1: %2)")
                    .arg(QDir::toNativeSeparators(QString::fromStdString(message.reason->path)),
                         QString::fromStdString(message.reason->reason));
    }
    return text;
}

// Takes an update's outcome for the status bar instead of the window's boxes.
class StatusReports : public CommandReports {
public:
    QStringList errors;
    QStringList reports;  // notes first, then warnings

    void show_notice(const Message& message) override { errors.append(one_line(message)); }
    void report_error(const Message& message) override { errors.append(one_line(message)); }
    void show_warnings(std::span<const std::string> warnings) override { add(warnings); }
    void show_report(std::span<const std::string> notes,
                     std::span<const std::string> warnings) override {
        add(notes);
        add(warnings);
    }

private:
    void add(std::span<const std::string> texts) {
        for (const std::string& text : texts) {
            reports.append(QString::fromStdString(text));
        }
    }
};

}  // namespace

QString texture_name(PaintTexture texture) {
    return texture == PaintTexture::bigf ? QStringLiteral("bigf") : QStringLiteral("cliff");
}

PaintLinks::PaintLinks(MainWindow& window)
    : window_(window), status_(new QLabel), chooser_(std::make_unique<DialogPaintSetupChooser>()) {
    status_->setObjectName(QStringLiteral("paint_links_status"));
    window_.statusBar()->addPermanentWidget(status_);
    update_status();
}

PaintLinks::~PaintLinks() = default;

void PaintLinks::set_setup_chooser(std::unique_ptr<PaintSetupChooser> chooser) {
    chooser_ = std::move(chooser);
}

void PaintLinks::edit(PaintTexture texture, bool ask) {
    const std::optional<PaintSetup> setup = setup_for(texture, ask);
    if (!setup) {
        return;
    }
    stop(texture);
    // The export is the user's own command: its failure is shown as any command's.
    if (!window_.run(commands_of(texture).export_indexed, setup->file).done()) {
        return;
    }
    // The link starts from the bytes just written, so that it does not take them for a save.
    auto& link = links_[slot(texture)];
    link = std::make_unique<PaintLink>(setup->file, inspect_saved_picture, timing_);
    connect(link.get(), &PaintLink::saved, this,
            [this, texture](bool true_colour) { update_from(texture, true_colour); });
    const QString name = file_name(setup->file);
    if (launcher_(setup->program, setup->file)) {
        show_message(QStringLiteral("%1 opened in the paint program.").arg(name));
    } else {
        show_message(QStringLiteral("The paint program did not start; %1 is watched all the same.")
                         .arg(native(setup->file)));
    }
    update_status();
    emit links_changed();
}

std::optional<PaintSetup> PaintLinks::setup_for(PaintTexture texture, bool ask) {
    WindowSettings& settings = window_.settings();
    const QString name = texture_name(texture);
    const std::optional<std::filesystem::path> remembered = settings.paint_file(name);
    if (remembered && !ask) {
        return PaintSetup{*remembered, settings.paint_program()};
    }
    const PaintSetup proposed =
        remembered ? PaintSetup{*remembered, settings.paint_program()} : proposed_setup(texture);
    std::optional<PaintSetup> chosen = chooser_->choose(name, proposed, &window_);
    if (chosen) {
        settings.set_paint_file(name, chosen->file);
        settings.set_paint_program(chosen->program);
    }
    return chosen;
}

// Beside the texture's data file, named after it; else in the pictures' folder.
PaintSetup PaintLinks::proposed_setup(PaintTexture texture) const {
    const QString name = texture_name(texture);
    PaintSetup setup{{}, window_.settings().paint_program()};
    if (const auto& data = window_.editor().data_file(commands_of(texture).part)) {
        std::filesystem::path file = *data;
        setup.file = file.replace_filename(data->stem().u16string() + u"-paint.png");
        return setup;
    }
    std::error_code ignored;
    const std::filesystem::path folder =
        window_.settings().folder(QStringLiteral("pictures"))
            .value_or(std::filesystem::current_path(ignored));
    setup.file = folder / (name + QStringLiteral("-paint.png")).toStdU16String();
    return setup;
}

void PaintLinks::update_from(PaintTexture texture, bool true_colour) {
    PaintLink& link = *links_[slot(texture)];
    // A dialog may belong to a command that is still running: the update waits until it is
    // closed, so that it never runs inside another command. Saves meanwhile make one update.
    if (QApplication::activeModalWidget() != nullptr) {
        // The latest save decides which import the update takes.
        waiting_true_colour_[slot(texture)] = true_colour;
        if (!waiting_[slot(texture)]) {
            waiting_[slot(texture)] = true;
            QTimer::singleShot(retry_ms, &link, [this, texture] {
                waiting_[slot(texture)] = false;
                update_from(texture, waiting_true_colour_[slot(texture)]);
            });
        }
        return;
    }
    const std::filesystem::path file = link.file();
    const QString name = file_name(file);
    const TextureCommands commands = commands_of(texture);
    // A program that saved in true colour gets the texture's picture import, which maps
    // colours to entries, rather than the indices import's refusal.
    const Command command = true_colour ? commands.import_picture : commands.import_indices;
    StatusReports reports;
    const RunOptions options{"Update from " + name.toStdString(), &reports};
    const CommandResult result = window_.run(command, file, options);
    QStringList texts;
    if (result.done()) {
        texts.append(QStringLiteral("Updated %1 from %2").arg(texture_name(texture), name) +
                     (true_colour ? QStringLiteral(", a true-colour picture, as %1 does.")
                                        .arg(qt_text(command_name(command)))
                                  : QStringLiteral(".")));
    } else {
        texts.append(QStringLiteral("%1 was not updated from %2:").arg(texture_name(texture), name));
        texts.append(reports.errors);
    }
    texts.append(reports.reports);
    show_message(texts.join(QLatin1Char(' ')));
}

void PaintLinks::stop(PaintTexture texture) {
    if (links_[slot(texture)] == nullptr) {
        return;
    }
    links_[slot(texture)].reset();
    waiting_[slot(texture)] = false;
    update_status();
    emit links_changed();
}

void PaintLinks::stop_all() {
    for (const PaintTexture texture : {PaintTexture::bigf, PaintTexture::cliff}) {
        stop(texture);
    }
}

std::vector<PaintLinks::Link> PaintLinks::links() const {
    std::vector<Link> links;
    for (const PaintTexture texture : {PaintTexture::bigf, PaintTexture::cliff}) {
        if (const auto& link = links_[slot(texture)]) {
            links.push_back({texture, link->file()});
        }
    }
    return links;
}

void PaintLinks::show_message(const QString& text) {
    window_.statusBar()->showMessage(text);
}

void PaintLinks::update_status() {
    QStringList names;
    QStringList paths;
    for (const Link& link : links()) {
        names.append(texture_name(link.texture));
        paths.append(texture_name(link.texture) + QStringLiteral(": ") + native(link.file));
    }
    status_->setText((names.size() == 1 ? QStringLiteral("Paint link: ")
                                        : QStringLiteral("Paint links: ")) +
                     names.join(QStringLiteral(", ")));
    status_->setToolTip(paths.join(QLatin1Char('\n')));
    status_->setVisible(!names.isEmpty());
}

}  // namespace vlt
