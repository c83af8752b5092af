#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "base/file_io.h"

namespace vlt {

// The file layer with the messages users see for pictures and the other formats that share
// them: an Exception carrying the text and the system's reason instead of a FileError.

// "Cannot open file %s" when the file cannot be opened or read.
FileContents read_file_or_raise(const std::filesystem::path& path, std::size_t keep_at_most);

// The one safe save; "Cannot create file %s" when the file cannot be made or put in place,
// "Stream write error" when writing it fails. An existing file is then left as it was.
void replace_file_or_raise(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vlt
