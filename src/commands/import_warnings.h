#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversions/bigf_from_picture.h"
#include "conversions/cliff_from_picture.h"
#include "conversions/outside_read.h"

namespace vlt {

// The import report: what a command that succeeded lost or filled in, one text per warning, in
// the order they are shown. Empty when nothing was lost.
using Warnings = std::vector<std::string>;

// The area a picture import reads, as its warning names it: "the texture is 256 x 1152".
inline constexpr std::string_view bigf_read_area = "the texture is 256 x 1152";
inline constexpr std::string_view cliff_read_area = "the texture is 128 x 64";
inline constexpr std::string_view palette_read_area = "the palette is read from 16 x 16";

// What a picture import lost beside its conversion's own losses: pixels read outside a picture
// narrower or lower than the area read, and uncompressed pixel data the file did not hold.
void add_picture_warnings(Warnings& warnings, const OutsideRead& outside,
                          std::string_view read_area, std::uint64_t missing_pixel_bytes);

Warnings bigf_picture_warnings(const BigfReport& report, std::uint64_t missing_pixel_bytes);
// What the bigf import did as asked that the user may want to know: a reduction's colours and
// mean error. Empty when nothing was reduced.
Warnings bigf_picture_notes(const BigfReport& report);
Warnings cliff_picture_warnings(const CliffReport& report, std::uint64_t missing_pixel_bytes);
Warnings palette_picture_warnings(const OutsideRead& outside, std::uint64_t missing_pixel_bytes);

// A data file of another length than its buffer's: `kind` names the file ("a palette file") and
// `size` is its buffer's.
Warnings data_file_warnings(std::uint64_t length, std::string_view kind, std::uint64_t size);

}  // namespace vlt
