#include "gui/close_prompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace vlt {

bool confirm_close_without_saving(const QString& title, const QString& text, QWidget* owner) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("ClosePrompt"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* close =
        box.addButton(QStringLiteral("Close without saving"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    // Enter, Escape and the close box all keep the work.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == close;
}

}  // namespace vlt
