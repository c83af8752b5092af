#include "base/file_io.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vlt {
namespace {

namespace fs = std::filesystem;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr open_for_reading(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        return nullptr;
    }
    return FilePtr(std::fopen(path.string().c_str(), "rb"));
}

// Pushes the data to the disk, not only to the system's cache, so that the rename that follows
// never publishes a file whose bytes could still be lost.
bool sync_to_disk(std::FILE* f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Creates a new, exclusively owned temporary file in the target's folder.
FilePtr create_temporary(const fs::path& target, fs::path& temp_path) {
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temp_path = target;
        temp_path += ".tmp-" + std::to_string(random() % 1000000u);
        // "x": fail rather than reuse a file that already exists.
        if (std::FILE* f = std::fopen(temp_path.string().c_str(), "wbx")) {
            return FilePtr(f);
        }
        std::error_code ec;
        if (!fs::exists(temp_path, ec)) {
            return nullptr;  // not a name clash: the folder does not let us create files
        }
    }
    return nullptr;
}

bool is_refused_target(const fs::path& target, fs::file_status& status) {
    std::error_code ec;
    status = fs::status(target, ec);
    if (fs::is_directory(status)) {
        return true;
    }
    constexpr auto any_write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    // Refused also when running as root, who could otherwise write a read-only file.
    return fs::exists(status) && (status.permissions() & any_write) == fs::perms::none;
}

}  // namespace

std::optional<std::size_t> read_file_prefix(const fs::path& path, std::span<std::uint8_t> dest) {
    FilePtr f = open_for_reading(path);
    if (!f) {
        return std::nullopt;
    }
    const std::size_t count = std::fread(dest.data(), 1, dest.size(), f.get());
    if (std::ferror(f.get())) {
        return std::nullopt;
    }
    return count;
}

std::optional<std::vector<std::uint8_t>> read_file(const fs::path& path, std::size_t max_bytes) {
    FilePtr f = open_for_reading(path);
    if (!f) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t chunk = 1u << 20;
    while (bytes.size() < max_bytes) {
        const std::size_t old_size = bytes.size();
        const std::size_t want = std::min(chunk, max_bytes - old_size);
        bytes.resize(old_size + want);
        const std::size_t got = std::fread(bytes.data() + old_size, 1, want, f.get());
        bytes.resize(old_size + got);
        if (got < want) {
            break;
        }
    }
    if (std::ferror(f.get())) {
        return std::nullopt;
    }
    return bytes;
}

SaveResult replace_file(const fs::path& path, std::span<const std::uint8_t> bytes) {
    fs::file_status target_status;
    if (is_refused_target(path, target_status)) {
        return SaveResult::cannot_create;
    }
    fs::path temp_path;
    FilePtr f = create_temporary(path, temp_path);
    if (!f) {
        return SaveResult::cannot_create;
    }
    // fwrite may not be handed the null data of an empty span, even for 0 bytes.
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    written = written && std::fflush(f.get()) == 0 && sync_to_disk(f.get());
    written = (std::fclose(f.release()) == 0) && written;
    std::error_code ec;
    if (!written) {
        fs::remove(temp_path, ec);
        return SaveResult::write_failed;
    }
    if (fs::exists(target_status)) {
        fs::permissions(temp_path, target_status.permissions(), ec);
    }
    fs::rename(temp_path, path, ec);
    if (ec) {
        fs::remove(temp_path, ec);
        return SaveResult::cannot_create;
    }
    return SaveResult::ok;
}

}  // namespace vlt
