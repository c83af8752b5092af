#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/registry_value.h"

namespace vlt {

// Finds a value in the text of a Wine registry file (system.reg). The key is written with
// single backslashes ("Software\\Kelvarro\\Vosk") relative to the file's root; key and value
// names compare without regard to ASCII case. Nothing when the key or the value is missing.
std::optional<RegistryValue> find_wine_registry_value(std::string_view file_text,
                                                      std::string_view key,
                                                      std::string_view value_name);

// Where a Windows path ("C:\\Games\\Vosk") lies inside a Wine prefix: the drive through
// dosdevices/<letter>: or, for C:, drive_c; each folder name matched without regard to case
// where the exact name does not exist. A path without a drive is taken to be on C:.
std::filesystem::path map_windows_path(const std::filesystem::path& prefix,
                                       std::string_view windows_path);

}  // namespace vlt
