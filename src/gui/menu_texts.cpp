#include "gui/menu_texts.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStringList>

#include "base/licence_text.h"
#include "cli/cli_args.h"

namespace vlt {
namespace {

// The letter at `at` unless it is taken; it is taken from now on.
bool take(QSet<QChar>& taken, const QString& text, qsizetype at) {
    const QChar letter = text[at].toLower();
    if (!letter.isLetterOrNumber() || taken.contains(letter)) {
        return false;
    }
    taken.insert(letter);
    return true;
}

QString plain(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    return text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
}

void list_keys(const QMenu& menu, const QString& path, QStringList& lines) {
    for (const QAction* action : menu.actions()) {
        const QString name = path + QStringLiteral(" > ") + plain(action->text());
        if (action->menu() != nullptr) {
            list_keys(*action->menu(), name, lines);
        } else if (!action->shortcuts().isEmpty()) {
            QStringList keys;
            for (const QKeySequence& key : action->shortcuts()) {
                keys.append(key.toString(QKeySequence::NativeText));
            }
            lines.append(name + QStringLiteral(": ") + keys.join(QStringLiteral(" or ")));
        }
    }
}

}  // namespace

QString MnemonicPicker::pick(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool word_start = i == 0 || text[i - 1] == QLatin1Char('_') ||
                                text[i - 1] == QLatin1Char(' ');
        if (word_start && take(taken_, text, i)) {
            return QString(text).insert(i, QLatin1Char('&'));
        }
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (take(taken_, text, i)) {
            return QString(text).insert(i, QLatin1Char('&'));
        }
    }
    return text;
}

QString keyboard_shortcuts_text(const QMenuBar& bar) {
    QStringList lines;
    for (const QAction* action : bar.actions()) {
        if (action->menu() != nullptr) {
            list_keys(*action->menu(), plain(action->text()), lines);
        }
    }
    lines << QString()
          << QStringLiteral("Alt and an underlined letter: open that menu, then choose an item")
          << QStringLiteral("F10: the menu bar")
          << QStringLiteral("Tab, Shift+Tab: the next or the previous button")
          << QStringLiteral("Space, Enter: press the focused button")
          << QStringLiteral("Home, End: the top or the bottom of the window's area")
          << QStringLiteral("Enter, Escape: in a message, press its default or its cancel button");
    return lines.join(QLatin1Char('\n'));
}

QString command_line_help_text() {
    const QString window_part = QStringLiteral(
        "The window: vosk-land-texture [FILE...]\n"
        "Opens each FILE as if it were dropped on its view: *pal*.dat, bigf*.dat and cliff*.dat\n"
        "data files, and palette files of paint programs (.gpl, .pal, .act, .hex).\n\n"
        "The command line, which runs without a window:\n\n");
    return window_part + QString::fromStdString(cli::help_text("vosk-land-texture-cli"));
}

QString about_text() {
    return QStringLiteral(
               "vosk-land-texture " VLT_VERSION "\n\n"
               "An editor for the land textures of the game Vosk: its palette, bigf and cliff "
               "data files, and BMP pictures of them.\n\n") +
           QString::fromUtf8(licence_text.data(), static_cast<qsizetype>(licence_text.size()));
}

}  // namespace vlt
