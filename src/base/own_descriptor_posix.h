#pragma once

#include <filesystem>
#include <optional>

namespace vlt::posix {

// The descriptor of this process that a path names through the system's descriptor folders
// (/dev/stdout, /dev/fd/N, /proc/self/fd/N, or a symbolic link to one of them), if it names one.
// Opening such a path would open the file anew, from its start, and renaming over it would
// replace the file a shell redirected into; the descriptor itself keeps its offset and mode.
std::optional<int> own_descriptor(const std::filesystem::path& path);

}  // namespace vlt::posix
