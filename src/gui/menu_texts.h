#pragma once

#include <QSet>
#include <QString>

class QMenuBar;

namespace vlt {

// Gives each item of one menu its own Alt letter: the first letter that starts a word of its
// text ("_" and spaces part words), else its first letter, not yet taken in that menu. An "&"
// in the text stays a character.
class MnemonicPicker {
public:
    QString pick(const QString& text);

private:
    QSet<QChar> taken_;
};

// Every menu item with a key, "File > Save all: Ctrl+S", and the keys of the window itself.
QString keyboard_shortcuts_text(const QMenuBar& bar);

// What the command line prints for --help, after how the window takes files.
QString command_line_help_text();

// The program, its version and its licence.
QString about_text();

}  // namespace vlt
