#pragma once

#include <filesystem>
#include <optional>

namespace vlt {

// The game's "Data" folder, made from the value "InstallPath" of the machine key
// "Software\Kelvarro\Vosk": read from the Windows registry (the 32-bit view, where the game's
// installer writes it, then the 64-bit view), or elsewhere from the registry file of the Wine
// prefix the game runs in ($WINEPREFIX, else ~/.wine), in the same order. Nothing when the key
// or the value is missing. A value that is not a string raises RegistryError "Invalid data
// type for 'InstallPath'", one that cannot be read "Failed to get data for 'InstallPath'".
std::optional<std::filesystem::path> game_data_folder();

// The Wine prefix the game's registry is looked up in; nothing without WINEPREFIX and HOME.
std::optional<std::filesystem::path> wine_prefix();

// The start-up folder: the game's Data folder when one is found and can be entered. Otherwise,
// on Windows, the executable's folder, which is entered first; elsewhere the folder the program
// was started from, where a user who starts it from a terminal expects the first dialog to open.
// Registry errors are raised after that fallback is in place.
void choose_startup_folder(const std::filesystem::path& executable);

}  // namespace vlt
