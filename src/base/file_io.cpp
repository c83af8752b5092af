#include "base/file_io.h"

#include <algorithm>

namespace vlt {

std::size_t InputFile::read(std::span<std::uint8_t> dest) {
    const std::size_t n = read_some(dest);
    advance(n);
    return n;
}

void InputFile::advance(std::uint64_t count) {
    if (!limit_) {
        // Taken at the first read: a regular file may be as long as its size says.
        limit_ = std::max(max_stream_bytes, regular_size().value_or(0));
    }
    position_ += count;
    if (position_ > *limit_) {
        throw FileError(FileError::Step::read, "The file goes on beyond 256 MiB");
    }
}

std::uint64_t InputFile::skip(std::uint64_t count) {
    // Reading on after the seek finds out whether more lies beyond the size the system gave (a
    // growing file, or one it sizes as 0).
    std::uint64_t total = seek_within_size(count);
    advance(total);
    std::uint8_t scratch[1 << 14];
    while (total < count) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof scratch, count - total));
        const std::size_t n = read(std::span(scratch, want));
        total += n;
        if (n < want) {
            break;
        }
    }
    return total;
}

std::uint64_t InputFile::skip_to_end() {
    return skip(~std::uint64_t{0});
}

void InputFile::drain() {
    if (!regular_size()) {
        skip_to_end();
    }
}

FileContents read_file(const std::filesystem::path& path, std::size_t keep_at_most) {
    InputFile file(path);
    FileContents contents;
    // Grows as bytes arrive, so a short file or a pipe costs only what it holds.
    constexpr std::size_t chunk = std::size_t{1} << 16;
    while (contents.bytes.size() < keep_at_most) {
        const std::size_t old_size = contents.bytes.size();
        const std::size_t want = std::min(chunk, keep_at_most - old_size);
        contents.bytes.resize(old_size + want);
        const std::size_t got = file.read(std::span(contents.bytes).subspan(old_size, want));
        contents.bytes.resize(old_size + got);
        if (got < want) {
            contents.length = contents.bytes.size();
            return contents;
        }
    }
    contents.length = contents.bytes.size() + file.skip_to_end();
    return contents;
}

}  // namespace vlt
