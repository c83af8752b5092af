#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QString>

namespace vlt {

// What a notice box shows beside its text: nothing, the information icon (what an import lost)
// or the warning icon (a file command that failed).
enum class NoticeIcon { none, information, warning };

// A short text with one "OK" button, laid out like the platform's message dialogs: the text
// word-wrapped within half the screen's width, an icon to its left if asked for, centred on the
// screen, never narrower than its caption needs. A fixed size, asking for no minimise or maximise button. "OK" is both
// the default and the cancel button, so Enter and Escape close the box.
class NoticeBox : public QDialog {
    Q_OBJECT
public:
    NoticeBox(const QString& title, const QString& text, QWidget* owner = nullptr,
              NoticeIcon icon = NoticeIcon::none);

    const QLabel& message() const { return message_; }
    NoticeIcon icon_kind() const { return icon_kind_; }
    // Hidden without an icon.
    const QLabel& icon() const { return icon_; }
    QPushButton& ok_button() { return ok_; }

    // Shows the box modally and returns when it is closed.
    static void show_notice(const QString& title, const QString& text, QWidget* owner = nullptr,
                            NoticeIcon icon = NoticeIcon::none);

private:
    void lay_out(const QString& text, bool with_icon);
    int caption_room() const;

    // Children held by value: they leave their parent before it is destroyed.
    QLabel message_;
    QLabel icon_;
    QPushButton ok_;
    NoticeIcon icon_kind_;
};

}  // namespace vlt
