#include "gui/error_report.h"

#include <QMessageBox>

#include "base/errors.h"

namespace vlt {

void show_error_report(const QString& title, const QString& text, QWidget* owner) {
    QMessageBox box(QMessageBox::Critical, title, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("ErrorReport"));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void report_exception(const QString& title, const std::exception& error, QWidget* owner) {
    show_error_report(title, QString::fromStdString(report_text(error.what())), owner);
}

}  // namespace vlt
