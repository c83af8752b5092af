#include "base/install_path.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "base/errors.h"
#include "base/path_text.h"
#include "base/registry_value.h"

#ifdef _WIN32
#include "base/windows_registry.h"
#else
#include "base/file_io.h"
#include "base/wine_registry.h"
#endif

namespace vlt {
namespace {

constexpr const char* value_name = "InstallPath";

// The text of a value found by either reader, or the error the user is shown.
std::string checked_text(const RegistryValue& value) {
    if (value.type == RegistryValue::Type::other) {
        throw RegistryError(std::string("Invalid data type for '") + value_name + "'");
    }
    if (!value.readable) {
        throw RegistryError(std::string("Failed to get data for '") + value_name + "'");
    }
    return value.data;
}

#ifdef _WIN32

std::optional<std::filesystem::path> data_folder_from_registry() {
    const auto value = read_machine_registry_value("Software\\Kelvarro\\Vosk", value_name);
    if (!value) {
        return std::nullopt;
    }
    // An expandable string is used as stored, references and all.
    return path_from_utf8(checked_text(*value) + "\\Data");
}

#else

// Registry files of real prefixes are a few megabytes; a larger file is not one.
constexpr std::size_t max_registry_file = 256u << 20;

std::optional<std::filesystem::path> data_folder_from_registry() {
    const auto prefix = wine_prefix();
    if (!prefix) {
        return std::nullopt;
    }
    FileContents contents;
    try {
        contents = read_file(*prefix / "system.reg", max_registry_file);
    } catch (const FileError&) {
        return std::nullopt;  // no prefix there: as with a missing key
    }
    const std::string_view text(reinterpret_cast<const char*>(contents.bytes.data()),
                                contents.bytes.size());
    // A 64-bit prefix keeps a 32-bit installer's keys under Wow6432Node.
    auto value =
        find_wine_registry_value(text, "Software\\Wow6432Node\\Kelvarro\\Vosk", value_name);
    if (!value) {
        value = find_wine_registry_value(text, "Software\\Kelvarro\\Vosk", value_name);
    }
    if (!value) {
        return std::nullopt;
    }
    return map_windows_path(*prefix, checked_text(*value) + "\\Data");
}

#endif

}  // namespace

std::optional<std::filesystem::path> wine_prefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
        return std::filesystem::path(prefix);
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".wine";
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> game_data_folder() {
    return data_folder_from_registry();
}

void choose_startup_folder([[maybe_unused]] const std::filesystem::path& executable) {
    std::error_code ec;
#ifdef _WIN32
    std::filesystem::current_path(executable.parent_path(), ec);
#endif
    if (const auto data = game_data_folder()) {
        std::filesystem::current_path(*data, ec);
    }
}

}  // namespace vlt
