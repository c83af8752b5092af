#pragma once

#include <cstdint>
#include <filesystem>

#include "workspace/workspace.h"

namespace vlt {

// The game's raw data files: images of the buffers with no header, multi-byte values
// little-endian. A palette file is 256 records of red, green, blue and the value's top byte.
//
// A load returns the file's whole length. A short file fills only the buffer's leading bytes, a
// long one gives only its first bytes. A save writes the buffer's full size. Both raise
// FileError when the system refuses; the buffer, or an existing file, is then left as it was.

inline constexpr std::size_t palette_file_size = palette_size * 4;

std::uint64_t load_palette_file(Workspace& workspace, const std::filesystem::path& path);
void save_palette_file(const Workspace& workspace, const std::filesystem::path& path);

std::uint64_t load_bigf_file(Workspace& workspace, const std::filesystem::path& path);
void save_bigf_file(const Workspace& workspace, const std::filesystem::path& path);

std::uint64_t load_cliff_file(Workspace& workspace, const std::filesystem::path& path);
void save_cliff_file(const Workspace& workspace, const std::filesystem::path& path);

}  // namespace vlt
