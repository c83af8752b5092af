#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>
#include <vector>

#include "workspace/workspace.h"

namespace vlt {

// The palette formats of paint programs, chosen by the path's extension without regard to case:
// .gpl (GIMP), .pal (JASC, or a RIFF palette, told by its first bytes; written as JASC), .act
// (Adobe Color Table) and .hex (one rrggbb per line). They hold red, green and blue only: an
// entry's top byte is not written, and reads as 0.
enum class PaletteFormat { gimp, jasc, act, hex };

// "Unknown palette file extension (.%s)" for any other extension, the extension in the path's
// own letter case; nothing is opened.
PaletteFormat palette_format_of(const std::filesystem::path& path);

// The file's bytes for the whole palette. `name` is what a GIMP palette calls itself.
std::vector<std::uint8_t> encode_palette(const Palette& palette, PaletteFormat format,
                                         std::string_view name);

// The colours a file holds, in order, at most 256. Errors (Exception): "The file holds N
// colours; a palette holds 256.", "Palette file is not valid (line L)." for the first line of a
// text format that cannot be read, "Palette file is not valid." for an ACT file of another size.
std::vector<Color> decode_palette(std::span<const std::uint8_t> bytes, PaletteFormat format);

// Reads the file and puts its N colours in entries 0 to N-1, keeping the others; returns N.
// Any error leaves the palette as it was; a file that cannot be read: "Cannot open file %s".
int import_palette_file(Workspace& workspace, const std::filesystem::path& path);

// Writes the whole palette through the safe save, named after the file ("Cannot create file %s",
// "Stream write error").
void export_palette_file(const Workspace& workspace, const std::filesystem::path& path);

}  // namespace vlt
