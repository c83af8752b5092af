#include "gui/install_path.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <system_error>

#include "base/errors.h"
#include "base/file_io.h"
#include "gui/wine_registry.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace vlt {
namespace {

constexpr const char* value_name = "InstallPath";

[[noreturn]] void invalid_type() {
    throw ERegistryException(std::string("Invalid data type for '") + value_name + "'");
}

[[noreturn]] void no_data() {
    throw ERegistryException(std::string("Failed to get data for '") + value_name + "'");
}

#ifdef _WIN32

// Read-only and in the 32-bit view, where the game's 32-bit installer writes the value, so
// that users without administrator rights find it too.
std::optional<std::string> read_install_path() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Kelvarro\\Vosk", 0,
                      KEY_QUERY_VALUE | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    struct KeyCloser {
        HKEY key;
        ~KeyCloser() { RegCloseKey(key); }
    } closer{key};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, value_name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        invalid_type();
    }
    std::string data(size, '\0');
    if (RegQueryValueExA(key, value_name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS) {
        no_data();
    }
    data.resize(std::min<std::size_t>(size, data.size()));
    data.resize(data.find('\0') == std::string::npos ? data.size() : data.find('\0'));
    return data;
}

std::optional<std::filesystem::path> data_folder_from_registry() {
    const auto install = read_install_path();
    if (!install) {
        return std::nullopt;
    }
    return std::filesystem::path(*install + "\\Data");
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
    if (value->type == RegistryValue::Type::other) {
        invalid_type();
    }
    if (!value->readable) {
        no_data();
    }
    return map_windows_path(*prefix, value->data + "\\Data");
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

void choose_startup_folder(const std::filesystem::path& executable) {
    std::error_code ec;
    std::filesystem::current_path(executable.parent_path(), ec);
    if (const auto data = game_data_folder()) {
        std::filesystem::current_path(*data, ec);
    }
}

}  // namespace vlt
