#include "gui/file_chooser.h"

#include <QEvent>
#include <QFileDialog>
#include <algorithm>

#include "gui/screen_place.h"

namespace vlt {
namespace {

// Puts the dialog, once its size is final, centred across the owner's screen and at a third of
// its free height; a native dialog places itself.
class PlaceOnShow : public QObject {
public:
    PlaceOnShow(QWidget& dialog, const QWidget* owner) : owner_(owner) {
        dialog.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* dialog = static_cast<QWidget*>(watched);
            const QRect screen = screen_rect_of(owner_);
            const QSize outer = dialog->frameGeometry().size();
            dialog->move(screen.x() + (screen.width() - outer.width()) / 2,
                         screen.y() + (screen.height() - outer.height()) / 3);
        }
        return false;
    }

private:
    const QWidget* owner_;
};

}  // namespace

const QString all_files_entry = QStringLiteral("All files (*)");

QString filter_entry(const std::string& filter) {
    const auto bar = filter.find('|');
    const QString description = QString::fromStdString(filter.substr(0, bar));
    if (bar == std::string::npos) {
        return description;
    }
    const QString pattern = QString::fromStdString(filter.substr(bar + 1));
    if (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))) {
        return description;
    }
    return description + QStringLiteral(" (") + pattern + QLatin1Char(')');
}

QStringList filter_entries(const std::string& filter) {
    QStringList entries;
    std::size_t start = 0;
    while (start < filter.size()) {
        // Each entry is a description and a pattern, and the bars between entries are bars too.
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string::npos ? bar : filter.find('|', bar + 1);
        std::string entry = filter.substr(start, end == std::string::npos ? end : end - start);
        // Several patterns in one entry are apart by ";" in a filter, by spaces in Qt's.
        std::replace(entry.begin(), entry.end(), ';', ' ');
        entries.append(filter_entry(entry));
        start = end == std::string::npos ? filter.size() : end + 1;
    }
    return entries;
}

QString default_suffix(const std::string& default_ext) {
    QString suffix = QString::fromStdString(default_ext);
    while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    return suffix;
}

std::optional<std::filesystem::path> DialogFileChooser::choose(const FileRequest& request,
                                                               QWidget* owner) {
    // Paths cross as UTF-16, which both sides convert to the system's own encoding.
    QStringList filters = filter_entries(request.filter);
    filters.append(all_files_entry);
    QFileDialog dialog(owner, QString(),
                       QString::fromStdU16String(request.initial_dir.u16string()));
    dialog.setNameFilters(filters);
    dialog.setWindowModality(Qt::ApplicationModal);
    // Open dialogs accept a name that does not exist: the command reports its own failure.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (request.kind == FileRequest::Kind::save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(default_suffix(request.default_ext));
        if (!request.proposed_name.empty()) {
            dialog.selectFile(QString::fromStdU16String(request.proposed_name.u16string()));
        }
        // With several formats on offer, a name typed without extension takes the chosen one's.
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& entry) {
                if (entry == all_files_entry) {
                    dialog.setDefaultSuffix(default_suffix(request.default_ext));
                    return;
                }
                const QString pattern = entry.section(QLatin1Char('('), -1);
                dialog.setDefaultSuffix(default_suffix(pattern.section(QLatin1Char(')'), 0, 0)
                                                           .section(QLatin1Char(' '), 0, 0)
                                                           .toStdString()));
            });
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    PlaceOnShow placement(dialog, owner);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().constFirst().toStdU16String());
}

}  // namespace vlt
