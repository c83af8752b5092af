#pragma once

#include <QString>
#include <string_view>

#include "commands/command_table.h"

namespace vlt {

inline QString qt_text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The command's name, or an empty text for a variant, which goes by another command's name.
inline QString own_name(Command command) {
    return has_own_name(command) ? qt_text(command_name(command)) : QString();
}

}  // namespace vlt
