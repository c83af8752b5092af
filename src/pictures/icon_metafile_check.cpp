#include "pictures/icon_metafile_check.h"

#include "base/errors.h"
#include "pictures/le_bytes.h"

namespace vlt {
namespace {

constexpr std::size_t icon_header_size = 6;
constexpr std::size_t icon_entry_size = 16;

constexpr std::size_t emf_minimum_size = metafile_head_bytes;
constexpr std::uint32_t emf_signature = 0x464D4520;
constexpr std::uint32_t placeable_key = 0x9AC6CDD7;
constexpr std::size_t placeable_header_size = 22;
constexpr std::size_t wmf_header_size = 18;

bool valid_icon(std::span<const std::uint8_t> file, std::uint64_t length) {
    if (file.size() < icon_header_size || le::u16(file, 0) != 0 || le::u16(file, 2) != 1) {
        return false;
    }
    const std::size_t count = le::u16(file, 4);
    if (count == 0 || file.size() - icon_header_size < count * icon_entry_size) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = icon_header_size + i * icon_entry_size;
        const std::uint64_t size = le::u32(file, entry + 8);
        const std::uint64_t offset = le::u32(file, entry + 12);
        if (offset + size > length) {
            return false;
        }
    }
    return true;
}

bool valid_emf(std::span<const std::uint8_t> file) {
    return file.size() >= emf_minimum_size && le::u32(file, 0) == 1 &&
           le::u32(file, 40) == emf_signature;
}

bool standard_wmf_header_at(std::span<const std::uint8_t> file, std::size_t at) {
    if (file.size() < at + wmf_header_size) {
        return false;
    }
    const std::uint16_t type = le::u16(file, at);
    return (type == 1 || type == 2) && le::u16(file, at + 2) == 9;
}

bool valid_wmf(std::span<const std::uint8_t> file) {
    if (file.size() >= 4 && le::u32(file, 0) == placeable_key) {
        return standard_wmf_header_at(file, placeable_header_size);
    }
    return standard_wmf_header_at(file, 0);
}

}  // namespace

void check_icon(std::span<const std::uint8_t> head, std::uint64_t file_length) {
    if (!valid_icon(head, file_length)) {
        throw Exception("Icon image is not valid");
    }
}

void check_metafile(std::span<const std::uint8_t> head) {
    if (!valid_emf(head) && !valid_wmf(head)) {
        throw Exception("Metafile is not valid");
    }
}

}  // namespace vlt
