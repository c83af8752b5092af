#include "workspace/data_files.h"

#include <memory>
#include <span>

#include "base/file_io.h"

namespace vlt {
namespace {

constexpr std::size_t palette_bytes = palette_size * 4;

std::array<std::uint8_t, palette_bytes> palette_to_bytes(const Palette& palette) {
    std::array<std::uint8_t, palette_bytes> bytes{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            bytes[i * 4 + b] = static_cast<std::uint8_t>(palette[i] >> (8 * b));
        }
    }
    return bytes;
}

Palette palette_from_bytes(std::span<const std::uint8_t, palette_bytes> bytes) {
    Palette palette{};
    for (std::size_t i = 0; i < palette.size(); ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            palette[i] |= static_cast<Color>(bytes[i * 4 + b]) << (8 * b);
        }
    }
    return palette;
}

// Reads into a copy of the buffer so that a failed read leaves the buffer as it was, and a short
// file changes only the leading bytes.
template <std::size_t N>
bool load_into(std::array<std::uint8_t, N>& buffer, const std::filesystem::path& path) {
    auto scratch = std::make_unique<std::array<std::uint8_t, N>>(buffer);
    if (!read_file_prefix(path, *scratch)) {
        return false;
    }
    buffer = *scratch;
    return true;
}

}  // namespace

bool load_palette_file(Workspace& workspace, const std::filesystem::path& path) {
    auto bytes = palette_to_bytes(workspace.pal_colors);
    if (!load_into(bytes, path)) {
        return false;
    }
    workspace.pal_colors = palette_from_bytes(bytes);
    return true;
}

bool save_palette_file(const Workspace& workspace, const std::filesystem::path& path) {
    return replace_file(path, palette_to_bytes(workspace.pal_colors)) == SaveResult::ok;
}

bool load_bigf_file(Workspace& workspace, const std::filesystem::path& path) {
    return load_into(workspace.bigf_data, path);
}

bool save_bigf_file(const Workspace& workspace, const std::filesystem::path& path) {
    return replace_file(path, workspace.bigf_data) == SaveResult::ok;
}

bool load_cliff_file(Workspace& workspace, const std::filesystem::path& path) {
    return load_into(workspace.cliff_data, path);
}

bool save_cliff_file(const Workspace& workspace, const std::filesystem::path& path) {
    return replace_file(path, workspace.cliff_data) == SaveResult::ok;
}

}  // namespace vlt
