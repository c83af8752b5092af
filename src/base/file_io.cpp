#include "base/file_io.h"

#include <algorithm>

namespace vlt {

std::uint64_t InputFile::skip(std::uint64_t count) {
    // Reading on after the seek finds out whether more lies beyond the size the system gave (a
    // growing file, or one it sizes as 0).
    std::uint64_t total = seek_within_size(count);
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
    const auto size = file.regular_size();
    contents.length = size ? std::max<std::uint64_t>(*size, contents.bytes.size())
                           : contents.bytes.size() + file.skip_to_end();
    return contents;
}

}  // namespace vlt
