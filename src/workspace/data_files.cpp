#include "workspace/data_files.h"

#include <algorithm>
#include <span>

#include "base/file_io.h"

namespace vlt {
namespace {

std::array<std::uint8_t, palette_file_size> palette_to_bytes(const Palette& palette) {
    std::array<std::uint8_t, palette_file_size> bytes{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<std::uint8_t>(palette[i] >> (8 * b));
        }
    }
    return bytes;
}

Palette palette_from_bytes(std::span<const std::uint8_t, palette_file_size> bytes) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            palette[i] |= static_cast<Color>(bytes[i * 4 + b]) << (8 * b);
        }
    }
    return palette;
}

// The file is read in full before the buffer changes, so a failed read leaves it as it was, and
// a short file changes only the leading bytes.
template <std::size_t N>
std::uint64_t load_into(std::array<std::uint8_t, N>& buffer, const std::filesystem::path& path) {
    const FileContents contents = read_file(path, N);
    std::ranges::copy(contents.bytes, buffer.begin());
    return contents.length;
}

}  // namespace

std::uint64_t load_palette_file(Workspace& workspace, const std::filesystem::path& path) {
    auto bytes = palette_to_bytes(workspace.pal_colors);
    const std::uint64_t length = load_into(bytes, path);
    workspace.pal_colors = palette_from_bytes(bytes);
    return length;
}

void save_palette_file(const Workspace& workspace, const std::filesystem::path& path) {
    replace_file(path, palette_to_bytes(workspace.pal_colors));
}

std::uint64_t load_bigf_file(Workspace& workspace, const std::filesystem::path& path) {
    return load_into(workspace.bigf_data, path);
}

void save_bigf_file(const Workspace& workspace, const std::filesystem::path& path) {
    replace_file(path, workspace.bigf_data);
}

std::uint64_t load_cliff_file(Workspace& workspace, const std::filesystem::path& path) {
    return load_into(workspace.cliff_data, path);
}

void save_cliff_file(const Workspace& workspace, const std::filesystem::path& path) {
    replace_file(path, workspace.cliff_data);
}

}  // namespace vlt
