#pragma once

// Builds BMP files byte by byte for the reader and writer tests.

#include <cstdint>
#include <vector>

namespace vlt::testing {

using Bytes = std::vector<std::uint8_t>;

inline void add16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void add32(Bytes& out, std::uint32_t v) {
    add16(out, v & 0xFFFFu);
    add16(out, v >> 16);
}

inline std::uint16_t get16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

inline std::uint32_t get32(const Bytes& b, std::size_t at) {
    return get16(b, at) | (static_cast<std::uint32_t>(get16(b, at + 2)) << 16);
}

struct InfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    std::uint16_t planes = 1;
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t size_image = 0;
    std::int32_t x_pels = 0;
    std::int32_t y_pels = 0;
    std::uint32_t colors_used = 0;
    std::uint32_t colors_important = 0;
};

// An info header padded with zero bytes up to its stated size (when that is above 40).
inline Bytes info_header(const InfoHeader& h) {
    Bytes out;
    add32(out, h.size);
    add32(out, static_cast<std::uint32_t>(h.width));
    add32(out, static_cast<std::uint32_t>(h.height));
    add16(out, h.planes);
    add16(out, h.bits);
    add32(out, h.compression);
    add32(out, h.size_image);
    add32(out, static_cast<std::uint32_t>(h.x_pels));
    add32(out, static_cast<std::uint32_t>(h.y_pels));
    add32(out, h.colors_used);
    add32(out, h.colors_important);
    while (out.size() < h.size) {
        out.push_back(0);
    }
    return out;
}

inline Bytes core_header(std::uint16_t width, std::uint16_t height, std::uint16_t bits,
                         std::uint16_t planes = 1) {
    Bytes out;
    add32(out, 12);
    add16(out, width);
    add16(out, height);
    add16(out, planes);
    add16(out, bits);
    return out;
}

// File header + header + rest; bfOffBits points right after the header and table bytes given.
inline Bytes bmp_file(const Bytes& header, const Bytes& table, const Bytes& pixels,
                      std::size_t gap = 0) {
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    const std::size_t offset = 14 + header.size() + table.size() + gap;
    add32(out, static_cast<std::uint32_t>(offset + pixels.size()));
    add32(out, 0);
    add32(out, static_cast<std::uint32_t>(offset));
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), gap, 0xEE);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// A table of 4-byte entries: blue, green, red, reserved.
inline Bytes quads(std::initializer_list<std::uint32_t> colors_bgr) {
    Bytes out;
    for (std::uint32_t c : colors_bgr) {
        add32(out, c);
    }
    return out;
}

}  // namespace vlt::testing
