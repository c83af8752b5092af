#pragma once

#include <filesystem>

#include "workspace/workspace.h"

namespace vlt {

// The game's raw data files: images of the buffers with no header, multi-byte values
// little-endian. A palette file is 256 records of red, green, blue and the value's top byte.
//
// A load returns false when the file cannot be opened or read; the buffer is then unchanged. A
// short file fills only the buffer's leading bytes, a long one gives only its first bytes.
// A save returns false when the file cannot be created or written; an existing file is then left
// exactly as it was.

bool load_palette_file(Workspace& workspace, const std::filesystem::path& path);
bool save_palette_file(const Workspace& workspace, const std::filesystem::path& path);

bool load_bigf_file(Workspace& workspace, const std::filesystem::path& path);
bool save_bigf_file(const Workspace& workspace, const std::filesystem::path& path);

bool load_cliff_file(Workspace& workspace, const std::filesystem::path& path);
bool save_cliff_file(const Workspace& workspace, const std::filesystem::path& path);

}  // namespace vlt
