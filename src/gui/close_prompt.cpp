#include "gui/close_prompt.h"

#include <QMessageBox>
#include <QPushButton>

namespace vlt {

CloseAnswer ask_before_closing(const QString& title, const QString& text, QWidget* owner) {
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("ClosePrompt"));
    box.setTextFormat(Qt::PlainText);
    QPushButton* save = box.addButton(QStringLiteral("&Save all"), QMessageBox::AcceptRole);
    QPushButton* close =
        box.addButton(QStringLiteral("Close without saving"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    // Enter, Escape and the close box all keep the work.
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return CloseAnswer::save_all;
    }
    return box.clickedButton() == close ? CloseAnswer::close : CloseAnswer::cancel;
}

}  // namespace vlt
