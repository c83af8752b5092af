#include "workspace/palette_text.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "base/count_text.h"
#include "base/errors.h"

namespace vlt {
namespace {

[[noreturn]] void invalid_line(std::uint64_t line) {
    throw Exception("Palette file is not valid (line " + with_commas(line) + ").");
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && is_space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && is_space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The lines of a text file that hold something, each with its number among all the lines.
class Lines {
public:
    explicit Lines(std::span<const std::uint8_t> bytes)
        : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {
        // Editors on some systems start a text file with a byte order mark.
        if (text_.starts_with("\xEF\xBB\xBF")) {
            text_.remove_prefix(3);
        }
    }

    // The next line that is not blank, without surrounding spaces and line end; false at the end.
    bool next(std::string_view& line) {
        while (pos_ < text_.size()) {
            // A lone CR ends a line too, as old Mac editors wrote them; CR LF is one line end.
            const std::size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
            line = trimmed(text_.substr(pos_, end - pos_));
            pos_ = end + (text_.compare(end, 2, "\r\n") == 0 ? 2 : 1);
            ++number_;
            if (!line.empty()) {
                return true;
            }
        }
        return false;
    }

    // The number of the line next() gave last, counting from 1.
    std::uint64_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::uint64_t number_ = 0;
};

// The first line, which names the format; a file without one is not valid at its first line.
void expect_line(Lines& lines, std::string_view start, bool whole_line) {
    std::string_view line;
    if (!lines.next(line)) {
        invalid_line(lines.number() + 1);
    }
    if (whole_line ? line != start : !line.starts_with(start)) {
        invalid_line(lines.number());
    }
}

// Decimal digits from `at` on, as a number up to `limit`; moves `at` past them.
std::optional<std::uint64_t> decimal(std::string_view text, std::size_t& at, std::uint64_t limit) {
    const std::size_t start = at;
    std::uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<std::uint64_t>(text[at] - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (at == start) {
        return std::nullopt;
    }
    return value;
}

// Three decimal numbers 0-255 apart, then nothing or a name after a space.
std::optional<Color> decimal_color(std::string_view line) {
    std::uint8_t channels[3] = {};
    std::size_t at = 0;
    for (std::uint8_t& channel : channels) {
        while (at < line.size() && is_space(line[at])) {
            ++at;
        }
        const auto value = decimal(line, at, 255);
        if (!value || (at < line.size() && !is_space(line[at]))) {
            return std::nullopt;
        }
        channel = static_cast<std::uint8_t>(*value);
    }
    return make_color(channels[0], channels[1], channels[2]);
}

int hex_digit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<Color> hex_color(std::string_view line) {
    if (line.size() != 6) {
        return std::nullopt;
    }
    std::uint8_t channels[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const int high = hex_digit(line[2 * i]);
        const int low = hex_digit(line[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        channels[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return make_color(channels[0], channels[1], channels[2]);
}

}  // namespace

std::vector<Color> read_gimp_palette(std::span<const std::uint8_t> bytes) {
    Lines lines(bytes);
    expect_line(lines, "GIMP Palette", false);
    std::vector<Color> colors;
    std::string_view line;
    while (lines.next(line)) {
        if (line.starts_with('#') || line.starts_with("Name:") || line.starts_with("Columns:")) {
            continue;
        }
        const auto color = decimal_color(line);
        if (!color) {
            invalid_line(lines.number());
        }
        colors.push_back(*color);
    }
    return colors;
}

std::vector<Color> read_jasc_palette(std::span<const std::uint8_t> bytes) {
    Lines lines(bytes);
    expect_line(lines, "JASC-PAL", true);
    expect_line(lines, "0100", true);
    std::string_view line;
    if (!lines.next(line)) {
        invalid_line(lines.number() + 1);
    }
    const std::uint64_t count_line = lines.number();
    std::size_t at = 0;
    // Far beyond any file that can be read, and far below overflow.
    const auto count = decimal(line, at, std::uint64_t{1} << 40);
    if (!count || at != line.size()) {
        invalid_line(count_line);
    }
    std::vector<Color> colors;
    while (colors.size() < *count) {
        if (!lines.next(line)) {
            invalid_line(count_line);
        }
        const auto color = decimal_color(line);
        if (!color) {
            invalid_line(lines.number());
        }
        colors.push_back(*color);
    }
    return colors;
}

std::vector<Color> read_hex_palette(std::span<const std::uint8_t> bytes) {
    Lines lines(bytes);
    std::vector<Color> colors;
    std::string_view line;
    while (lines.next(line)) {
        const auto color = hex_color(line);
        if (!color) {
            invalid_line(lines.number());
        }
        colors.push_back(*color);
    }
    return colors;
}

}  // namespace vlt
