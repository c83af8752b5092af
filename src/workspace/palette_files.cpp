#include "workspace/palette_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "base/count_text.h"
#include "base/errors.h"
#include "base/file_messages.h"
#include "base/path_text.h"
#include "workspace/palette_text.h"

namespace vlt {
namespace {

constexpr std::size_t act_colors_size = 3 * palette_size;
constexpr std::size_t act_file_size = act_colors_size + 4;
// Text palettes of paint programs are a few kilobytes; room for long comments and names.
constexpr std::size_t max_text_palette_size = std::size_t{16} << 20;

void append(std::vector<std::uint8_t>& out, std::string_view text) {
    // Grown first and copied into: GCC 12 at -O3 takes the inserting form for an overflow.
    const std::size_t at = out.size();
    out.resize(at + text.size());
    std::copy(text.begin(), text.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// printf into a line: the formats' numbers are at most three digits.
template <typename... Args>
void append_line(std::vector<std::uint8_t>& out, const char* format, Args... args) {
    char line[64];
    const int length = std::snprintf(line, sizeof line, format, args...);
    append(out, std::string_view(line, static_cast<std::size_t>(length)));
}

// A file name may hold line breaks; in a GIMP palette they would end the name line.
std::string one_line(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

[[noreturn]] void too_many_colors(std::uint64_t count) {
    throw Exception("The file holds " + with_commas(count) + " colours; a palette holds 256.");
}

std::vector<Color> decode_act(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != act_colors_size && bytes.size() != act_file_size) {
        throw Exception("Palette file is not valid.");
    }
    std::size_t count = palette_size;
    if (bytes.size() == act_file_size) {
        count = static_cast<std::size_t>(bytes[act_colors_size] << 8 | bytes[act_colors_size + 1]);
    }
    if (count > palette_size) {
        too_many_colors(count);
    }
    std::vector<Color> colors;
    for (std::size_t i = 0; i < count; ++i) {
        colors.push_back(make_color(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]));
    }
    return colors;
}

// A message about a palette file names it after its own text, as a failed system call's does;
// those name it already.
template <typename Action>
auto naming_file(const std::filesystem::path& path, Action action) {
    try {
        return action();
    } catch (const Exception& e) {
        if (e.reason()) {
            throw;
        }
        throw Exception(std::string(e.what()) + " (" + utf8_of(path) + ")");
    }
}

}  // namespace

PaletteFormat palette_format_of(const std::filesystem::path& path) {
    const std::string extension = extension_of(path);
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "gpl") {
        return PaletteFormat::gimp;
    }
    if (lower == "pal") {
        return PaletteFormat::jasc;
    }
    if (lower == "act") {
        return PaletteFormat::act;
    }
    if (lower == "hex") {
        return PaletteFormat::hex;
    }
    throw Exception("Unknown palette file extension (." + extension + ")");
}

std::vector<std::uint8_t> encode_palette(const Palette& palette, PaletteFormat format,
                                         std::string_view name) {
    std::vector<std::uint8_t> out;
    switch (format) {
        case PaletteFormat::gimp:
            append(out,
                   "GIMP Palette\nName: " + one_line(std::string(name)) + "\nColumns: 16\n#\n");
            for (int i = 0; i < palette_size; ++i) {
                const Color c = palette[static_cast<std::size_t>(i)];
                append_line(out, "%3d %3d %3d\tIndex %d\n", red_of(c), green_of(c), blue_of(c), i);
            }
            break;
        case PaletteFormat::jasc:
            append(out, "JASC-PAL\r\n0100\r\n256\r\n");
            for (const Color c : palette) {
                append_line(out, "%d %d %d\r\n", red_of(c), green_of(c), blue_of(c));
            }
            break;
        case PaletteFormat::act:
            for (const Color c : palette) {
                out.insert(out.end(), {red_of(c), green_of(c), blue_of(c)});
            }
            out.insert(out.end(), {0x01, 0x00, 0xFF, 0xFF});  // 256 colours, none transparent
            break;
        case PaletteFormat::hex:
            for (const Color c : palette) {
                append_line(out, "%02x%02x%02x\n", red_of(c), green_of(c), blue_of(c));
            }
            break;
    }
    return out;
}

std::vector<Color> decode_palette(std::span<const std::uint8_t> bytes, PaletteFormat format) {
    std::vector<Color> colors;
    switch (format) {
        case PaletteFormat::gimp:
            colors = read_gimp_palette(bytes);
            break;
        case PaletteFormat::jasc:
            colors = read_jasc_palette(bytes);
            break;
        case PaletteFormat::act:
            colors = decode_act(bytes);
            break;
        case PaletteFormat::hex:
            colors = read_hex_palette(bytes);
            break;
    }
    if (colors.size() > palette_size) {
        too_many_colors(colors.size());
    }
    return colors;
}

int import_palette_file(Workspace& workspace, const std::filesystem::path& path) {
    const std::vector<Color> colors = naming_file(path, [&] {
        const PaletteFormat format = palette_format_of(path);
        const std::size_t keep =
            format == PaletteFormat::act ? act_file_size : max_text_palette_size;
        const FileContents contents = read_file_or_raise(path, keep);
        if (contents.length > contents.bytes.size()) {
            // Too long for any palette of these formats; read in part it could pass for one.
            throw Exception("Palette file is not valid.");
        }
        return decode_palette(contents.bytes, format);
    });
    std::ranges::copy(colors, workspace.pal_colors.begin());
    return static_cast<int>(colors.size());
}

void export_palette_file(const Workspace& workspace, const std::filesystem::path& path) {
    const PaletteFormat format = naming_file(path, [&] { return palette_format_of(path); });
    replace_file_or_raise(path, encode_palette(workspace.pal_colors, format, utf8_of(path.stem())));
}

}  // namespace vlt
