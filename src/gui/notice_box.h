#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace vlt {

// A short text with one "OK" button, laid out like the platform's message dialogs: the text
// word-wrapped within half the screen's width, no icon, centred on the screen, never narrower
// than its caption needs. A fixed size, asking for no minimise or maximise button. "OK" is both
// the default and the cancel button, so Enter and Escape close the box.
class NoticeBox : public QDialog {
    Q_OBJECT
public:
    NoticeBox(const QString& title, const QString& text, QWidget* owner = nullptr);

    const QLabel& message() const { return message_; }
    QPushButton& ok_button() { return ok_; }

    // Shows the box modally and returns when it is closed.
    static void show_notice(const QString& title, const QString& text, QWidget* owner = nullptr);

private:
    void lay_out(const QString& text);
    int caption_room() const;

    // Children held by value: they leave their parent before it is destroyed.
    QLabel message_;
    QPushButton ok_;
};

}  // namespace vlt
