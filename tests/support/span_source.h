#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "pictures/bmp_stream_reader.h"

namespace vlt::testing {

// Bytes in memory read as a stream, as the two-step BMP reader reads a pipe.
class SpanSource : public ByteSource {
public:
    explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::span<std::uint8_t> dest) override {
        const std::size_t n = std::min(dest.size(), bytes_.size());
        std::copy_n(bytes_.begin(), n, dest.begin());
        bytes_ = bytes_.subspan(n);
        return n;
    }
    std::uint64_t skip(std::uint64_t count) override {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, bytes_.size()));
        bytes_ = bytes_.subspan(n);
        return n;
    }

private:
    std::span<const std::uint8_t> bytes_;
};

}  // namespace vlt::testing
