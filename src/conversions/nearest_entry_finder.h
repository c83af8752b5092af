#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "conversions/colours_by_cell.h"
#include "workspace/workspace.h"

namespace vlt {

// Finds the palette entry nearest to a colour: the smallest squared distance in red, green and
// blue over all 256 entries, ties to the lowest index; top bytes play no part. The same answer
// as a walk through every entry, from about three entries instead: the colour cube is cut into
// cells, and the first colour that falls in a cell gives the cell the list of entries that can
// be nearest to some colour inside it. Cells of 16 x 16 x 16 colours take their lists from the
// 32 x 32 x 32 cell they lie in, which takes its own from the 64 x 64 x 64 one, which takes its
// own from the whole palette. The palette must not change meanwhile.
class NearestEntryFinder {
public:
    explicit NearestEntryFinder(const Palette& palette);

    // Inline, as it is called per pixel and most calls end at the cache.
    std::uint8_t nearest(Color color) {
        CacheSlot& slot = cache_[(color * 0x9E3779B1u) >> 22];
        if (slot.entry >= 0 && slot.color == color) {
            return static_cast<std::uint8_t>(slot.entry);
        }
        const std::uint8_t entry = search(color);
        slot = {color, entry};
        return entry;
    }

    // What nearest() gives for each of many colours, written to entries[position]: cell by
    // cell, each cell's entries judged for eight colours at a time, with no per-colour work to
    // find the cell and no cache, which colours that seldom repeat would only miss.
    void nearest_all(const ColoursByCell& colors, std::span<std::uint8_t> entries);

private:
    struct Cell {
        std::uint32_t first = 0;  // into the level's candidate lists
        // Entries (top and coarse cells) or blocks of four (fine cells); 0 until the cell is
        // first used, as a filled cell has at least one.
        std::uint16_t count = 0;
    };

    // One level of cells, each 2 to the power `shift` values of each channel wide.
    class Grid {
    public:
        Grid(const Palette& palette, int shift);
        Cell& cell_of(Color color) {
            const auto side = static_cast<std::uint32_t>(per_side_);
            const std::uint32_t r = (color & 0xFFu) >> shift_;
            const std::uint32_t g = (color >> 8 & 0xFFu) >> shift_;
            const std::uint32_t b = (color >> 16 & 0xFFu) >> shift_;
            return cells_[(r * side + g) * side + b];
        }
        // Appends to `out` those of `from` (entries in index order) that can be nearest to a
        // colour in the colour's cell.
        void select(Color color, std::span<const std::uint8_t> from,
                    std::vector<std::uint8_t>& out) const;

    private:
        std::size_t at(int channel, int cell, std::uint8_t entry) const;
        int shift_;
        int per_side_;
        // [channel][cell along it][entry]: the squared distance in that channel from the entry
        // to the cell's nearest and to its farthest value.
        std::vector<std::uint16_t> near_;
        std::vector<std::uint16_t> far_;
        std::vector<Cell> cells_;
    };

    // Four of a fine cell's candidates in 16 bytes, so that the lists of all cells stay in the
    // nearer caches: red and green of each, then blue and the entry's index of each. Widened to
    // 16 bits, red and green alternate, as do blue and the index, so that a multiply-and-add of
    // pairs gives each entry's sum of squares and the index is the high half of its lane.
    struct alignas(16) Block {
        std::array<std::uint8_t, 16> bytes{};
    };

    // An entry's part in the score of a colour c, 256 (|c - e|^2 - |c|^2) + index, which orders
    // as distance and then index do: the constant, and the entry's channels times -4 to
    // multiply-and-add with pairs of the colour's channels times 128, as 16-bit numbers
    // repeated over four lanes.
    struct alignas(16) EntryTerms {
        std::array<std::int32_t, 4> constant{};
        std::array<std::int16_t, 8> red_green{};
        std::array<std::int16_t, 8> blue_zero{};
    };

    struct CacheSlot {
        Color color = 0;
        std::int16_t entry = -1;
    };

    std::uint8_t search(Color color);
    static std::uint8_t best_entry(std::span<const Block> blocks, Color color);
    void fill(Cell& fine_cell, Color color);
    static std::span<const std::uint8_t> list_of(Grid& grid, std::vector<std::uint8_t>& lists,
                                                 Color color,
                                                 std::span<const std::uint8_t> from);
    std::span<const std::uint8_t> coarse_list(Color color);
    void judge_cell(std::span<const Color> colors, std::span<const std::uint32_t> positions,
                    std::span<const std::uint8_t> candidates,
                    std::span<std::uint8_t> entries) const;
    static constexpr std::size_t group = 8;
    std::array<std::uint8_t, group> best_of_group(const Color* colors,
                                                  std::span<const std::uint8_t> candidates) const;

    Palette palette_;
    std::array<std::uint8_t, palette_size> all_entries_{};
    Grid top_;
    Grid coarse_;
    Grid fine_;
    std::vector<std::uint8_t> top_lists_;
    std::vector<std::uint8_t> coarse_lists_;
    std::vector<Block> fine_lists_;
    std::vector<std::uint8_t> selected_;
    std::array<EntryTerms, palette_size> terms_{};
    // The answers for recent colours: pictures repeat their colours.
    std::array<CacheSlot, 1024> cache_{};
};

}  // namespace vlt
