#pragma once

#include <QString>
#include <optional>

#include "commands/texture_editor.h"

namespace vlt {

// The command's entry in the catalogs (buttons, then paint-program commands); nothing for a
// command that has no name of its own there.
inline std::optional<CommandInfo> catalog_entry(Command command) {
    for (const auto catalog : {all_commands(), paint_commands()}) {
        for (const CommandInfo& info : catalog) {
            if (info.command == command) {
                return info;
            }
        }
    }
    return std::nullopt;
}

inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Its name, or an empty text for a command without one.
inline QString catalog_name(Command command) {
    const auto info = catalog_entry(command);
    return info ? qt_text(info->name) : QString();
}

}  // namespace vlt
