#include "conversions/colours_by_cell.h"

namespace vlt {
namespace {

constexpr std::uint32_t cell_side = 1u << ColoursByCell::cell_shift;
constexpr std::uint32_t colours_in_cell = cell_side * cell_side * cell_side;

// A colour's place among those of its cell: the low bits of its channels side by side.
std::uint32_t within_cell(Color c) {
    static_assert(ColoursByCell::cell_shift == 5);
    return (c & 0x1Fu) | (c >> 3 & 0x3E0u) | (c >> 6 & 0x7C00u);
}

}  // namespace

// Not filled: every element is written before it is read.
ColoursByCell::ColoursByCell(std::size_t capacity)
    : block_(static_cast<std::uint32_t*>(allocate_big(4 * capacity * sizeof(std::uint32_t))),
             FreeBig{4 * capacity * sizeof(std::uint32_t)}),
      added_colors_(block_.get()),
      added_positions_(block_.get() + capacity),
      colors_(block_.get() + 2 * capacity),
      positions_(block_.get() + 3 * capacity) {}

void ColoursByCell::sort() {
    std::array<std::uint32_t, cells> next{};
    for (std::size_t cell = 0; cell < cells; ++cell) {
        first_[cell + 1] += first_[cell];
        next[cell] = first_[cell];
    }
    for (std::size_t i = 0; i < size_; ++i) {
        const std::uint32_t at = next[cell_of(added_colors_[i])]++;
        colors_[at] = added_colors_[i];
        positions_[at] = added_positions_[i];
    }
}

// One bit a colour of the cell: a cell's colours are counted with 4 KiB in the nearest cache,
// where the whole cube's 2 MiB of bits would be touched at random.
std::uint64_t ColoursByCell::distinct() const {
    std::uint64_t count = 0;
    bool any_with_top_byte = false;
    std::array<std::uint64_t, colours_in_cell / 64> bits{};
    for (std::size_t cell = 0; cell < cells; ++cell) {
        if (first_[cell] == first_[cell + 1]) {
            continue;
        }
        for (const Color c : colors(cell)) {
            if (c > 0x00FFFFFFu) {
                any_with_top_byte = true;
            } else {
                std::uint64_t& word = bits[within_cell(c) / 64];
                const std::uint64_t bit = std::uint64_t{1} << (within_cell(c) % 64);
                count += (word & bit) == 0 ? 1 : 0;
                word |= bit;
            }
        }
        bits.fill(0);
    }
    return count + (any_with_top_byte ? 1 : 0);
}

}  // namespace vlt
