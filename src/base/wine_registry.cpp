#include "base/wine_registry.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <system_error>
#include <vector>

#include "base/path_text.h"

namespace vlt {
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

void append_utf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// UTF-16 code units to UTF-8, joining surrogate pairs; a lone surrogate becomes U+FFFD.
std::string utf16_to_utf8(const std::vector<std::uint16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t code = units[i];
        if (code >= 0xD800 && code < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = 0xFFFD;
        }
        append_utf8(out, code);
    }
    return out;
}

// The character a one-letter escape stands for; any other letter stands for itself.
char simple_escape(char e) {
    switch (e) {
        case 'a':
            return '\a';
        case 'b':
            return '\b';
        case 'e':
            return '\x1B';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        case 'v':
            return '\v';
        default:
            return e;
    }
}

// Up to four hex digits from pos on, a UTF-16 unit; pos moves past them.
std::uint16_t read_hex_unit(std::string_view text, std::size_t& pos) {
    const auto* first = text.data() + pos;
    const auto* last = first;
    while (last < text.data() + text.size() && last - first < 4 &&
           std::isxdigit(static_cast<unsigned char>(*last))) {
        ++last;
    }
    std::uint16_t unit = 0;
    std::from_chars(first, last, unit, 16);
    pos += static_cast<std::size_t>(last - first);
    return unit;
}

// Up to three octal digits, the first at pos - 1; pos moves past them.
unsigned read_octal(std::string_view text, std::size_t& pos) {
    auto value = static_cast<unsigned>(text[pos - 1] - '0');
    for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
         ++digits) {
        value = value * 8 + static_cast<unsigned>(text[pos++] - '0');
    }
    return value;
}

// Reads an escaped text up to the unescaped terminator, as the registry file writes key and
// value names and string data. Sets pos past the terminator; nothing when it is missing.
std::optional<std::string> read_escaped(std::string_view text, std::size_t& pos, char terminator) {
    std::string out;
    std::vector<std::uint16_t> pending;  // \x escapes, decoded together for surrogate pairs
    auto flush = [&] {
        out += utf16_to_utf8(pending);
        pending.clear();
    };
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == terminator) {
            flush();
            return out;
        }
        if (c != '\\' || pos >= text.size()) {
            flush();
            out += c;
            continue;
        }
        const char e = text[pos++];
        if (e == 'x') {
            pending.push_back(read_hex_unit(text, pos));
            continue;
        }
        flush();
        if (e >= '0' && e <= '7') {
            append_utf8(out, read_octal(text, pos));
        } else {
            out += simple_escape(e);
        }
    }
    return std::nullopt;
}

// "hex(N):" data of a string kind: UTF-16LE bytes up to the first zero unit.
std::optional<std::string> decode_hex_string(std::string_view data) {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
    while (pos < data.size()) {
        while (pos < data.size() && (data[pos] == ',' || data[pos] == ' ' || data[pos] == '\t')) {
            ++pos;
        }
        if (pos == data.size()) {
            break;
        }
        std::uint8_t byte = 0;
        const auto [end, ec] =
            std::from_chars(data.data() + pos, data.data() + data.size(), byte, 16);
        if (ec != std::errc() || end - (data.data() + pos) > 2) {
            return std::nullopt;
        }
        bytes.push_back(byte);
        pos = static_cast<std::size_t>(end - data.data());
    }
    std::vector<std::uint16_t> units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            break;
        }
        units.push_back(unit);
    }
    return utf16_to_utf8(units);
}

RegistryValue decode_value(std::string_view data) {
    RegistryValue value;
    auto quoted = [&](std::string_view rest, RegistryValue::Type type) {
        value.type = type;
        std::size_t pos = 1;
        auto text = rest.empty() || rest[0] != '"' ? std::nullopt : read_escaped(rest, pos, '"');
        value.readable = text.has_value();
        // The text ends at its first zero character, as it does for the hex kinds and for
        // every program that reads it as a path.
        value.data = text ? text->substr(0, text->find('\0')) : "";
    };
    auto hex_string = [&](std::string_view rest, RegistryValue::Type type) {
        value.type = type;
        auto text = decode_hex_string(rest);
        value.readable = text.has_value();
        value.data = text.value_or("");
    };
    if (data.starts_with('"')) {
        quoted(data, RegistryValue::Type::string);
    } else if (data.starts_with("str(2):")) {
        quoted(data.substr(7), RegistryValue::Type::expand_string);
    } else if (data.starts_with("str(1):")) {
        quoted(data.substr(7), RegistryValue::Type::string);
    } else if (data.starts_with("hex(2):")) {
        hex_string(data.substr(7), RegistryValue::Type::expand_string);
    } else if (data.starts_with("hex(1):")) {
        hex_string(data.substr(7), RegistryValue::Type::string);
    }
    return value;  // dword:, hex:, other hex(N): and str(N): kinds
}

// The file's logical lines: CR dropped, lines ending in a backslash joined with the next.
std::vector<std::string> logical_lines(std::string_view text) {
    std::vector<std::string> lines;
    std::string current;
    bool continuing = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (continuing) {
            line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        }
        current += line;
        continuing = current.ends_with('\\');
        if (continuing) {
            current.pop_back();
        } else {
            lines.push_back(std::move(current));
            current.clear();
        }
    }
    if (!current.empty()) {
        lines.push_back(std::move(current));
    }
    return lines;
}

// The names of a Windows path, apart by either slash; empty names and "." left out.
std::vector<std::string_view> path_parts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(start, end - start);
        start = end + 1;
        if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
    }
    return parts;
}

// Whether the name exists in the folder; where the exact name does not, it becomes the first
// entry of the folder that matches without regard to case, if any.
bool look_up(const std::filesystem::path& folder, std::filesystem::path& name) {
    std::error_code ec;
    if (std::filesystem::exists(folder / name, ec)) {
        return true;
    }
    const std::string wanted = utf8_of(name);
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (equal_ignoring_case(utf8_of(entry.path().filename()), wanted)) {
            name = entry.path().filename();
            return true;
        }
    }
    return false;
}

}  // namespace

std::optional<RegistryValue> find_wine_registry_value(std::string_view file_text,
                                                      std::string_view key,
                                                      std::string_view value_name) {
    bool in_key = false;
    for (const std::string& line : logical_lines(file_text)) {
        std::size_t pos = 1;
        if (line.starts_with('[')) {
            const auto name = read_escaped(line, pos, ']');
            in_key = name && equal_ignoring_case(*name, key);
            continue;
        }
        if (!in_key) {
            continue;
        }
        std::optional<std::string> name;
        if (line.starts_with('"')) {
            name = read_escaped(line, pos, '"');
        } else if (line.starts_with('@')) {
            name = std::string();  // the key's default value
        }
        if (!name || pos >= line.size() || line[pos] != '=' ||
            !equal_ignoring_case(*name, value_name)) {
            continue;
        }
        return decode_value(std::string_view(line).substr(pos + 1));
    }
    return std::nullopt;
}

std::filesystem::path map_windows_path(const std::filesystem::path& prefix,
                                       std::string_view windows_path) {
    char drive = 'c';
    if (windows_path.size() >= 2 && windows_path[1] == ':' &&
        std::isalpha(static_cast<unsigned char>(windows_path[0]))) {
        drive = lower(windows_path[0]);
        windows_path.remove_prefix(2);
    }
    std::filesystem::path root = prefix / "dosdevices" / (std::string(1, drive) + ":");
    if (drive == 'c' && !std::filesystem::exists(root)) {
        root = prefix / "drive_c";
    }
    // The names below the drive, ".." taken back as Windows does (never above the drive), and
    // how many of the first of them were found in the prefix. Below a folder that is missing
    // nothing is looked up: a value of thousands of names once took quadratic time.
    std::vector<std::filesystem::path> names;
    std::size_t found = 0;
    std::filesystem::path reached = root;  // the drive and the names found
    for (const std::string_view part : path_parts(windows_path)) {
        if (part == "..") {
            if (found == names.size() && found > 0) {
                reached = reached.parent_path();
                --found;
            }
            if (!names.empty()) {
                names.pop_back();
            }
            continue;
        }
        names.push_back(path_from_utf8(part));
        if (found + 1 == names.size() && look_up(reached, names.back())) {
            reached /= names.back();
            ++found;
        }
    }
    for (const auto& name : names) {
        root /= name;
    }
    return root;
}

}  // namespace vlt
