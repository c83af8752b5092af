#include "pictures/bmp_reader.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "base/errors.h"
#include "pictures/le_bytes.h"
#include "pictures/rle_decoder.h"

namespace vlt {
namespace {

constexpr const char* read_error = "Stream read error";
constexpr const char* not_valid = "Bitmap image is not valid";

constexpr std::uint32_t bi_rgb = 0;
constexpr std::uint32_t bi_rle8 = 1;
constexpr std::uint32_t bi_rle4 = 2;
constexpr std::uint32_t bi_bitfields = 3;

constexpr std::size_t file_header_size = 14;
constexpr std::uint32_t core_header_size = 12;
constexpr std::uint32_t info_header_size = 40;
constexpr std::uint32_t largest_header_size = 4096;
constexpr std::uint32_t largest_color_count = 256;

// Why the headers could not be read: the file ends inside them, or they are broken. Told by
// return value, so that probing a file that is still arriving raises nothing.
enum class HeadFault : std::uint8_t { none, cut_short, not_valid };

[[noreturn]] void raise(HeadFault fault) {
    throw Exception(fault == HeadFault::cut_short ? read_error : not_valid);
}

// Reads forward through the file; what lies behind the position is the part already read.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> file) : file_(file) {}

    // The next count bytes, or nothing when the file ends first.
    std::optional<std::span<const std::uint8_t>> take(std::size_t count) {
        if (count > remaining()) {
            wanted_ = position_ + count;
            return std::nullopt;
        }
        const auto bytes = file_.subspan(position_, count);
        position_ += count;
        return bytes;
    }
    std::size_t position() const { return position_; }
    std::size_t remaining() const { return file_.size() - position_; }
    // How far the file would have had to reach for the take that found it too short.
    std::size_t wanted() const { return wanted_; }

private:
    std::span<const std::uint8_t> file_;
    std::size_t position_ = 0;
    std::size_t wanted_ = 0;
};

struct Header {
    HeaderForm form = HeaderForm::info;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint16_t planes = 0;
    std::uint16_t bits = 0;
    std::uint32_t compression = bi_rgb;
    std::uint32_t size_image = 0;
    std::int32_t x_pels_per_meter = 0;
    std::int32_t y_pels_per_meter = 0;
    std::uint32_t colors_used = 0;
    std::uint32_t colors_important = 0;
    BitMasks masks{};
};

std::uint64_t saturating_product(std::uint64_t a, std::uint64_t b) {
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

std::uint64_t row_length(const Header& h) {
    const std::uint64_t bits = saturating_product(static_cast<std::uint64_t>(h.width), h.bits);
    return bits / 32 * 4 + (bits % 32 != 0 ? 4 : 0);
}

std::uint64_t absolute_height(const Header& h) {
    return static_cast<std::uint64_t>(h.height < 0 ? -h.height : h.height);
}

Header parse_core(std::span<const std::uint8_t> rest) {
    Header h;
    h.form = HeaderForm::core;
    h.width = le::u16(rest, 0);
    h.height = le::u16(rest, 2);
    h.planes = le::u16(rest, 4);
    h.bits = le::u16(rest, 6);
    return h;
}

// False when the header is broken.
bool parse_info(std::span<const std::uint8_t> rest, std::uint32_t size, Header& h) {
    h.width = le::i32(rest, 0);
    h.height = le::i32(rest, 4);
    h.planes = le::u16(rest, 8);
    h.bits = le::u16(rest, 10);
    h.compression = le::u32(rest, 12);
    h.size_image = le::u32(rest, 16);
    h.x_pels_per_meter = le::i32(rest, 20);
    h.y_pels_per_meter = le::i32(rest, 24);
    h.colors_used = le::u32(rest, 28);
    h.colors_important = le::u32(rest, 32);
    if (h.compression == bi_bitfields && size > info_header_size) {
        // A larger header holds the masks itself, so it must hold all three.
        if (size < info_header_size + 12) {
            return false;
        }
        h.masks = {le::u32(rest, 36), le::u32(rest, 40), le::u32(rest, 44)};
    }
    return true;
}

// The header size is judged before the rest of the header is read.
HeadFault read_header(Cursor& in, Header& h) {
    const auto size_bytes = in.take(4);
    if (!size_bytes) {
        return HeadFault::cut_short;
    }
    const std::uint32_t size = le::u32(*size_bytes, 0);
    if (size != core_header_size && (size < info_header_size || size > largest_header_size)) {
        return HeadFault::not_valid;
    }
    const auto rest = in.take(size - 4);
    if (!rest) {
        return HeadFault::cut_short;
    }
    if (size == core_header_size) {
        h = parse_core(*rest);
    } else if (!parse_info(*rest, size, h)) {
        return HeadFault::not_valid;
    }
    if (h.planes != 1) {
        return HeadFault::not_valid;
    }
    if (size == info_header_size && (h.bits == 16 || h.bits == 32) &&
        h.compression == bi_bitfields) {
        const auto masks = in.take(12);
        if (!masks) {
            return HeadFault::cut_short;
        }
        h.masks = {le::u32(*masks, 0), le::u32(*masks, 4), le::u32(*masks, 8)};
    }
    return HeadFault::none;
}

std::uint32_t color_count(const Header& h) {
    if (h.form == HeaderForm::info && h.colors_used != 0) {
        return h.colors_used;
    }
    switch (h.bits) {
        case 1:
            return 2;
        case 4:
            return 16;
        case 8:
            return 256;
        default:
            return 0;
    }
}

HeadFault read_color_table(Cursor& in, const Header& h, std::uint32_t count,
                           std::vector<RgbQuad>& table) {
    if (count > largest_color_count) {
        return HeadFault::not_valid;
    }
    const std::size_t entry_size = h.form == HeaderForm::core ? 3 : 4;
    const auto bytes = in.take(count * entry_size);
    if (!bytes) {
        return HeadFault::cut_short;
    }
    table.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = bytes->data() + i * entry_size;
        table[i] = {e[0], e[1], e[2], entry_size == 4 ? e[3] : std::uint8_t{0}};
    }
    return HeadFault::none;
}

// What the platform makes a picture of.
bool acceptable(const Header& h) {
    if (h.width <= 0 || h.height == 0) {
        return false;
    }
    switch (h.compression) {
        case bi_rgb:
            return h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 ||
                   h.bits == 32;
        case bi_bitfields:
            return h.bits == 16 || h.bits == 32;
        case bi_rle8:
            return h.bits == 8 && h.height > 0;
        case bi_rle4:
            return h.bits == 4 && h.height > 0;
        default:
            return false;
    }
}

bool compressed(const Header& h) {
    return h.compression == bi_rle8 || h.compression == bi_rle4;
}

std::uint64_t store_size(const Header& h) {
    const std::uint64_t rows = absolute_height(h);
    return compressed(h) ? saturating_product(4 * static_cast<std::uint64_t>(h.width), rows)
                         : saturating_product(row_length(h), rows);
}

// The pixel bytes become the store in one block, without clearing it first; a short file
// leaves the rest of the store zero. With `reuse`, the buffer that holds the file (and the
// pixels) becomes the store itself, so the pixels are moved within it instead of copied out.
BmpRead make_uncompressed(const Header& h, std::span<const std::uint8_t> pixels,
                          std::vector<RgbQuad> table, PixelStore* reuse) {
    const RowOrder order = h.height < 0 ? RowOrder::top_down : RowOrder::bottom_up;
    const auto width = static_cast<int>(h.width);
    const auto height = static_cast<int>(absolute_height(h));
    const std::size_t size =
        Bitmap::row_stride_for(width, h.bits) * static_cast<std::size_t>(height);
    const std::size_t count = std::min(pixels.size(), size);
    PixelStore store;
    if (reuse != nullptr) {
        if (reuse->data() != pixels.data()) {
            std::memmove(reuse->data(), pixels.data(), count);
        }
        store = std::move(*reuse);
        store.resize(count);
    } else {
        store.assign(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(count));
    }
    store.resize(size, 0);  // zero bytes for what a short file lacks
    if (store.capacity() > 2 * size) {
        store.shrink_to_fit();  // a file far larger than its picture: do not keep all of it
    }
    Bitmap picture(width, height, h.bits, order, std::move(store));
    if (h.compression == bi_bitfields) {
        picture.set_bitfields(h.masks);
    }
    picture.set_color_table(std::move(table));
    return {std::move(picture), size - count};
}

Bitmap make_decoded(const Header& h, std::span<const std::uint8_t> data,
                    std::vector<RgbQuad> table) {
    const Color background =
        table.empty() ? Color{0} : make_color(table[0].red, table[0].green, table[0].blue);
    Bitmap picture = Bitmap::make_display(static_cast<int>(h.width),
                                          static_cast<int>(absolute_height(h)), background);
    decode_rle(data, h.bits, table, picture);
    picture.set_color_table(std::move(table));
    return picture;
}

// Everything the headers say, every check on them passed.
struct Parsed {
    Header h;
    std::uint32_t count = 0;
    std::vector<RgbQuad> table;
    BmpPixelPlace place;
};

// The file header, the header and the colour table, and the pixel offset the file gives.
HeadFault read_head(Cursor& in, Parsed& p, std::uint32_t& offset) {
    const auto file_header = in.take(file_header_size);
    if (!file_header) {
        return HeadFault::cut_short;
    }
    if (le::u16(*file_header, 0) != 0x4D42) {
        return HeadFault::not_valid;
    }
    offset = le::u32(*file_header, 10);
    if (const HeadFault fault = read_header(in, p.h); fault != HeadFault::none) {
        return fault;
    }
    p.count = color_count(p.h);
    return read_color_table(in, p.h, p.count, p.table);
}

Parsed parse(std::span<const std::uint8_t> file) {
    Cursor in(file);
    Parsed p;
    std::uint32_t offset = 0;
    if (const HeadFault fault = read_head(in, p, offset); fault != HeadFault::none) {
        raise(fault);
    }
    if (!acceptable(p.h)) {
        throw Exception(not_valid);
    }
    const std::uint64_t store = store_size(p.h);
    if (store > max_pixel_store_bytes) {
        throw Exception("The picture is too large: its pixels would take more than 256 MiB");
    }
    // Rows are whole whatever biSizeImage says: writers often leave it short or wrong.
    const std::uint64_t wanted = compressed(p.h) && p.h.size_image != 0
                                     ? p.h.size_image
                                     : saturating_product(row_length(p.h), absolute_height(p.h));
    // Uncompressed pixels beyond the store have no place to go; compressed data is taken up to
    // the largest store there may be.
    const std::uint64_t usable = compressed(p.h) ? max_pixel_store_bytes : store;
    p.place = {in.position(), offset, std::min(wanted, usable), compressed(p.h) ? 0 : store};
    return p;
}

BmpRead make(Parsed& p, std::span<const std::uint8_t> pixels, PixelStore* reuse) {
    const Header& h = p.h;
    BmpRead result = compressed(h) ? BmpRead{make_decoded(h, pixels, std::move(p.table)), 0}
                                   : make_uncompressed(h, pixels, std::move(p.table), reuse);
    BmpAttributes& attributes = result.picture.attributes;
    attributes.form = h.form;
    attributes.x_pels_per_meter = h.x_pels_per_meter;
    attributes.y_pels_per_meter = h.y_pels_per_meter;
    attributes.file_color_count = p.count;
    attributes.file_important_colors = h.colors_important;
    return result;
}

BmpRead read(std::span<const std::uint8_t> file, PixelStore* reuse) {
    if (file.empty()) {
        return {};
    }
    Parsed p = parse(file);
    const BmpPixelPlace& place = p.place;
    // Pixels start where the file says when that lies beyond the table and inside the file.
    const std::uint64_t start = place.offset > place.table_end && place.offset <= file.size()
                                    ? place.offset
                                    : place.table_end;
    const auto count = static_cast<std::size_t>(std::min(place.count, file.size() - start));
    return make(p, file.subspan(static_cast<std::size_t>(start), count), reuse);
}

}  // namespace

Bitmap read_bmp(std::span<const std::uint8_t> file) {
    return read(file, nullptr).picture;
}

std::size_t bmp_head_length(std::span<const std::uint8_t> head) {
    Cursor in(head);
    Parsed p;
    std::uint32_t offset = 0;
    if (read_head(in, p, offset) == HeadFault::none) {
        return in.position();
    }
    // Cut short: the bytes the headers go on to; broken: the bytes that tell.
    return std::max(in.wanted(), head.size());
}

BmpPixelPlace bmp_pixel_place(std::span<const std::uint8_t> head) {
    return head.empty() ? BmpPixelPlace{} : parse(head).place;
}

BmpRead read_bmp_parts(std::span<const std::uint8_t> head, PixelStore&& pixels) {
    if (head.empty()) {
        return {};
    }
    Parsed p = parse(head);
    PixelStore own = std::move(pixels);
    own.resize(static_cast<std::size_t>(std::min<std::uint64_t>(own.size(), p.place.count)));
    return make(p, own, &own);
}

}  // namespace vlt
