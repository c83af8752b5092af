#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "pictures/bmp_reader.h"

namespace vlt {

// A file's bytes, read forward from its start.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills dest; fewer bytes only at the end.
    virtual std::size_t read(std::span<std::uint8_t> dest) = 0;
    // Passes over count bytes; fewer only at the end.
    virtual std::uint64_t skip(std::uint64_t count) = 0;
};

// The picture read_bmp makes of the whole file, reading its headers first and then no more than
// the pixel bytes the picture can use, so that a huge file costs only what its headers justify.
// Those bytes are read into the buffer that becomes the picture's store.
BmpRead read_bmp_from(ByteSource& source);

}  // namespace vlt
