#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vlt {

// Icon and metafile pictures are discarded as soon as they are loaded, so only whether a file
// would read matters. Each raises vlt::Exception with the user's message when it would not.

// The most bytes the checks look at: an icon's header and directory, a metafile's headers.
inline constexpr std::size_t icon_head_bytes = 6 + 16 * 65535;
inline constexpr std::size_t metafile_head_bytes = 88;

// "Icon image is not valid" unless the icon directory and every image it names lie in the file,
// given its first bytes (icon_head_bytes, or all of a shorter file) and its whole length.
void check_icon(std::span<const std::uint8_t> head, std::uint64_t file_length);

// "Metafile is not valid" unless the file, given its first metafile_head_bytes (or all of a
// shorter file), begins as an enhanced or a Windows metafile.
void check_metafile(std::span<const std::uint8_t> head);

}  // namespace vlt
