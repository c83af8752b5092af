#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vlt {

// Paths travel through messages, arguments and the window as UTF-8 text. The system's own
// narrow conversion (path.string()) uses the ANSI code page on Windows and loses characters.

inline std::string utf8_of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

inline std::filesystem::path path_from_utf8(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// The text after the path's last dot, in its own letter case, or nothing when a folder separator
// or drive colon follows that dot.
inline std::string extension_of(const std::filesystem::path& path) {
    const std::string text = utf8_of(path);
    const std::size_t dot = text.find_last_of('.');
    if (dot == std::string::npos || text.find_first_of("/\\:", dot) != std::string::npos) {
        return {};
    }
    return text.substr(dot + 1);
}

}  // namespace vlt
