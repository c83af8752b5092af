#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/color.h"

namespace vlt {

// Readers of the text palette formats, as tolerant as the programs that own them: LF, CR LF or CR
// line ends, blank lines anywhere, trailing spaces. They return every colour the file holds
// (there may be more than 256); a line that cannot be read raises "Palette file is not valid
// (line L).", L counting every line of the file from 1.

// "GIMP Palette" first; then "#" comments and "Name:" and "Columns:" lines anywhere; each
// colour line three decimal numbers 0-255, then perhaps a name.
std::vector<Color> read_gimp_palette(std::span<const std::uint8_t> bytes);

// "JASC-PAL", "0100", a count, then that many colour lines like GIMP's; fewer is invalid (at the
// count's line), more are ignored.
std::vector<Color> read_jasc_palette(std::span<const std::uint8_t> bytes);

// One "rrggbb" per line, hex digits of either case.
std::vector<Color> read_hex_palette(std::span<const std::uint8_t> bytes);

}  // namespace vlt
