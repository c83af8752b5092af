#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/color.h"

namespace vlt {

// What the quantizer is asked for: a palette for a picture of `width` x `height` colours, row by
// row, that holds the `fixed` colours as they are and at most `free_entries` colours of its own.
struct QuantizerRequest {
    std::span<const Color> pixels;  // top bytes play no part
    int width = 0;
    int height = 0;
    std::span<const Color> fixed;  // distinct, at most 256 - free_entries
    int free_entries = 0;
    bool dither = false;
};

// The palette chosen, fixed colours among its own in no set order, and with dithering each
// pixel's index into it (error diffusion at full strength); without, `indices` is empty.
struct QuantizerResult {
    std::vector<Color> palette;
    std::vector<std::uint8_t> indices;
};

// Chooses the palette with libimagequant. Its failures (memory, mostly) become an Exception
// naming the step that failed.
QuantizerResult quantize_palette(const QuantizerRequest& request);

}  // namespace vlt
