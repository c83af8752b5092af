#include "pictures/bmp_stream_reader.h"

#include <algorithm>
#include <vector>

#include "base/page_readying.h"
#include "pictures/bmp_reader.h"

namespace vlt {
namespace {

// The source with its first bytes already read into `head`, tracking the position.
class HeadThenSource {
public:
    HeadThenSource(std::span<const std::uint8_t> head, ByteSource& source)
        : head_(head), source_(source) {}

    std::uint64_t position() const { return position_; }

    // Appends up to count bytes to out; fewer only at the end.
    void read(PixelStore& out, std::uint64_t count) {
        const std::size_t from_head = in_head(count);
        out.insert(out.end(), head_.begin() + static_cast<std::ptrdiff_t>(position_),
                   head_.begin() + static_cast<std::ptrdiff_t>(position_ + from_head));
        position_ += from_head;
        count -= from_head;
        constexpr std::uint64_t chunk = std::uint64_t{1} << 20;
        constexpr std::uint64_t step = std::uint64_t{64} << 10;
        while (count > 0) {
            // Into the room reserved for the bytes, else a step at a time: a buffer made ready
            // for bytes that never come costs as much as reading them.
            const std::uint64_t room = out.capacity() - out.size();
            const auto want =
                static_cast<std::size_t>(std::min({chunk, count, std::max(room, step)}));
            const std::size_t old_size = out.size();
            out.resize(old_size + want);
            ready_pages_for_writing(std::span(out).subspan(old_size, want));
            const std::size_t got = source_.read(std::span(out).subspan(old_size, want));
            out.resize(old_size + got);
            position_ += got;
            count -= got;
            if (got < want) {
                return;
            }
        }
    }

    // Passes over count bytes; returns how many there were.
    std::uint64_t skip(std::uint64_t count) {
        const std::size_t from_head = in_head(count);
        position_ += from_head;
        const std::uint64_t skipped = count > from_head ? source_.skip(count - from_head) : 0;
        position_ += skipped;
        return from_head + skipped;
    }

private:
    std::size_t in_head(std::uint64_t count) const {
        const std::uint64_t left = head_.size() > position_ ? head_.size() - position_ : 0;
        return static_cast<std::size_t>(std::min(count, left));
    }

    std::span<const std::uint8_t> head_;
    ByteSource& source_;
    std::uint64_t position_ = 0;
};

PixelStore read_pixels(HeadThenSource& in, const BmpPixelPlace& place) {
    PixelStore pixels;
    in.skip(place.table_end);
    if (place.offset > place.table_end) {
        // The bytes after the table are the pixels only if the file ends before the offset.
        PixelStore after_table;
        const std::uint64_t wanted = std::min(place.count, place.offset - place.table_end);
        in.read(after_table, wanted);
        if (after_table.size() < wanted) {
            return after_table;
        }
        const std::uint64_t gap = place.offset - in.position();
        if (in.skip(gap) < gap) {
            return after_table;
        }
    }
    // Uncompressed pixels are reserved as the store they become, so the buffer grows in place
    // into it. Run-length data only grows as it arrives: its size in the header is a claim that
    // a few bytes can make, up to the largest store.
    pixels.reserve(static_cast<std::size_t>(place.store));
    in.read(pixels, place.count);
    return pixels;
}

}  // namespace

BmpRead read_bmp_from(ByteSource& source) {
    // The headers come in a few steps, each telling how far the next one goes.
    std::vector<std::uint8_t> head;
    for (std::size_t length = bmp_head_length(head); head.size() < length;
         length = bmp_head_length(head)) {
        const std::size_t old_size = head.size();
        head.resize(length);
        const std::size_t got = source.read(std::span(head).subspan(old_size));
        head.resize(old_size + got);
        if (old_size + got < length) {
            break;
        }
    }
    const BmpPixelPlace place = bmp_pixel_place(head);
    HeadThenSource in(head, source);
    PixelStore pixels = read_pixels(in, place);
    return read_bmp_parts(head, std::move(pixels));
}

}  // namespace vlt
