#pragma once

#include <cstdint>
#include <span>

namespace vlt {

// Icon and metafile pictures are discarded as soon as they are loaded, so only whether a file
// would read matters. Each raises vlt::Exception with the user's message when it would not.

// "Icon image is not valid" unless the icon directory and every image it names lie in the file.
void check_icon(std::span<const std::uint8_t> file);

// "Metafile is not valid" unless the file begins as an enhanced or a Windows metafile.
void check_metafile(std::span<const std::uint8_t> file);

}  // namespace vlt
