#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vlt::testing {

// PNG files put together chunk by chunk, for the reader's tests of broken and hostile files.
class PngBuilder {
public:
    PngBuilder() : bytes_{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'} {}

    PngBuilder& chunk(const std::string& type, const std::vector<std::uint8_t>& data) {
        put32(static_cast<std::uint32_t>(data.size()));
        const std::size_t start = bytes_.size();
        bytes_.insert(bytes_.end(), type.begin(), type.end());
        bytes_.insert(bytes_.end(), data.begin(), data.end());
        put32(static_cast<std::uint32_t>(
            crc32(0, bytes_.data() + start, static_cast<uInt>(bytes_.size() - start))));
        return *this;
    }
    PngBuilder& ihdr(std::uint32_t width, std::uint32_t height, std::uint8_t depth,
                     std::uint8_t colour_type, std::uint8_t interlace = 0) {
        std::vector<std::uint8_t> data;
        append32(data, width);
        append32(data, height);
        data.insert(data.end(), {depth, colour_type, 0, 0, interlace});
        return chunk("IHDR", data);
    }
    // The rows, each already led by its filter byte, compressed into one IDAT.
    PngBuilder& idat(const std::vector<std::uint8_t>& raw) { return chunk("IDAT", deflate(raw)); }
    PngBuilder& iend() { return chunk("IEND", {}); }

    std::vector<std::uint8_t> bytes() const { return bytes_; }

    static std::vector<std::uint8_t> deflate(const std::vector<std::uint8_t>& raw, int level = 9) {
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        std::vector<std::uint8_t> out(size);
        compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level);
        out.resize(size);
        return out;
    }

private:
    static void append32(std::vector<std::uint8_t>& out, std::uint32_t v) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                    static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    }
    void put32(std::uint32_t v) { append32(bytes_, v); }

    std::vector<std::uint8_t> bytes_;
};

}  // namespace vlt::testing
