#pragma once

#include <optional>
#include <string_view>

#include "base/registry_value.h"

namespace vlt {

// Reads a value of a key under HKEY_LOCAL_MACHINE, read-only so that users without
// administrator rights find it too: in the 32-bit view first, where 32-bit installers write,
// then in the 64-bit view. Nothing when neither view has both the key and the value. Key and
// value names are UTF-8; an expandable string is returned as stored. Windows only.
std::optional<RegistryValue> read_machine_registry_value(std::string_view key,
                                                         std::string_view value_name);

}  // namespace vlt
