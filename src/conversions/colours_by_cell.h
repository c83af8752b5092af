#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "base/big_blocks.h"
#include "base/color.h"

namespace vlt {

// Many colours, each with a position it stands for, put in order of the cell of the colour cube
// they lie in: cells 32 values of each channel wide, numbered (red / 32 * 8 + green / 32) * 8 +
// blue / 32; the top byte plays no part. Work that depends on the cell is then done once a
// cell instead of once a colour, with the cell's colours side by side. A counting sort: the
// cells are counted as colours are added, and one pass puts them in order.
class ColoursByCell {
public:
    static constexpr int cell_shift = 5;
    static constexpr std::uint32_t per_side = 256 >> cell_shift;
    static constexpr std::size_t cells = per_side * per_side * per_side;

    // Room for up to `capacity` colours.
    explicit ColoursByCell(std::size_t capacity);

    static std::size_t cell_of(Color color) {
        const std::uint32_t r = (color & 0xFFu) >> cell_shift;
        const std::uint32_t g = (color >> 8 & 0xFFu) >> cell_shift;
        const std::uint32_t b = (color >> 16 & 0xFFu) >> cell_shift;
        return (r * per_side + g) * per_side + b;
    }

    void add(Color color, std::uint32_t position) {
        added_colors_[size_] = color;
        added_positions_[size_] = position;
        ++size_;
        ++first_[cell_of(color) + 1];
    }
    std::size_t size() const { return size_; }
    // The positions in the order they were added.
    std::span<const std::uint32_t> positions() const { return {added_positions_, size_}; }

    // Puts the colours added so far in order of their cells, for the calls below.
    void sort();

    // The colours of one cell, and their positions.
    std::span<const Color> colors(std::size_t cell) const {
        return {colors_ + first_[cell], first_[cell + 1] - first_[cell]};
    }
    std::span<const std::uint32_t> positions(std::size_t cell) const {
        return {positions_ + first_[cell], first_[cell + 1] - first_[cell]};
    }

    // How many of the colours are distinct, those with a top byte (CLR_INVALID among them)
    // counted as one colour.
    std::uint64_t distinct() const;

private:
    struct FreeBig {
        std::size_t bytes = 0;
        void operator()(std::uint32_t* block) const noexcept { free_big(block, bytes); }
    };
    // The four arrays below in one big block: a few megabytes for a picture of many colours,
    // which on large pages cost a fault or two instead of one per 4 KiB.
    std::unique_ptr<std::uint32_t[], FreeBig> block_;
    Color* added_colors_;
    std::uint32_t* added_positions_;
    Color* colors_;
    std::uint32_t* positions_;
    std::size_t size_ = 0;
    // Until sorted, first_[cell + 1] counts the cell's colours; then where each cell begins.
    std::array<std::uint32_t, cells + 1> first_{};
};

}  // namespace vlt
