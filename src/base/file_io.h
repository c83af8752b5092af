#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace vlt {

// Reads the leading bytes of a file into dest, up to dest.size(). Returns how many bytes were
// read (fewer for a short file), or nothing when the file cannot be opened, names a folder or a
// read fails. On failure dest may hold part of the file: read into a scratch buffer.
std::optional<std::size_t> read_file_prefix(const std::filesystem::path& path,
                                            std::span<std::uint8_t> dest);

// Reads a whole file, or at most max_bytes of it. Nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> read_file(const std::filesystem::path& path,
                                                   std::size_t max_bytes);

enum class SaveResult {
    ok,
    cannot_create,  // the target or its temporary file cannot be made, or cannot be put in place
    write_failed,   // a write or flush of the temporary file failed
};

// Writes bytes to a temporary file beside the target and renames it over the target only after
// every byte was written and flushed, so a failed save never destroys the file the user had. A
// target that is a folder, or exists without any write bit, is refused. An existing target keeps
// its permission bits.
SaveResult replace_file(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace vlt
