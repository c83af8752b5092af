#pragma once

#include <filesystem>
#include <optional>

namespace vlt {

// The game's "Data" folder, made from the value "InstallPath" of the machine key
// "Software\Kelvarro\Vosk": read from the Windows registry, or elsewhere from the registry file
// of the Wine prefix the game runs in ($WINEPREFIX, else ~/.wine). Nothing when the key or the
// value is missing. A value that is not a string raises ERegistryException "Invalid data type
// for 'InstallPath'", one that cannot be read "Failed to get data for 'InstallPath'".
std::optional<std::filesystem::path> game_data_folder();

// The Wine prefix the game's registry is looked up in; nothing without WINEPREFIX and HOME.
std::optional<std::filesystem::path> wine_prefix();

// The start-up folder: the executable's folder becomes the current directory, then the game's
// Data folder when one is found. A folder that cannot be entered is passed over silently;
// registry errors are raised after the executable's folder was entered.
void choose_startup_folder(const std::filesystem::path& executable);

}  // namespace vlt
