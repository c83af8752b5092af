#include "conversions/nearest_entry_finder.h"

#include <algorithm>
#include <limits>

// SSE2 is part of every x86-64 processor; MSVC does not say so by __SSE2__.
#if defined(__SSE2__) || defined(_M_X64)
#define VLT_SSE2 1
#include <emmintrin.h>
#endif

namespace vlt {
namespace {

#if defined(VLT_SSE2)
// The smaller of each pair of lanes (what SSE4.1 does in one instruction).
__m128i smaller(__m128i a, __m128i b) {
    const __m128i a_less = _mm_cmplt_epi32(a, b);
    return _mm_or_si128(_mm_and_si128(a_less, a), _mm_andnot_si128(a_less, b));
}
#endif

int channel_of(Color color, int channel) {
    return static_cast<int>((color >> (8 * channel)) & 0xFFu);
}

constexpr int top_shift = 6;
constexpr int coarse_shift = 5;
constexpr int fine_shift = 4;
static_assert(coarse_shift == ColoursByCell::cell_shift, "colours come by coarse cell");

// Drops from the list the entries that another entry of it beats at every colour of the cell,
// or ties with and comes before. The difference of two squared distances is linear in the
// colour, so its least value over the cell is found channel by channel at the cell's ends:
// with the cell from `low` to `low + size - 1` in each channel and P(x) = |x|^2 - 2 x.low, it
// is P(e) - P(o) + 2 (size - 1) times the sum over the channels of min(0, o - e).
void keep_possible_winners(std::vector<std::uint8_t>& list, const Palette& palette, Color color,
                           int shift) {
    const int span = 2 * ((1 << shift) - 1);
    std::array<int, 3> low{};
    for (int c = 0; c < 3; ++c) {
        low[c] = channel_of(color, c) >> shift << shift;
    }
    const std::size_t count = list.size();
    std::array<std::array<int, 3>, palette_size> value;
    std::array<int, palette_size> p;
    for (std::size_t i = 0; i < count; ++i) {
        p[i] = 0;
        for (int c = 0; c < 3; ++c) {
            const int v = channel_of(palette[list[i]], c);
            value[i][static_cast<std::size_t>(c)] = v;
            p[i] += v * v - 2 * v * low[c];
        }
    }
    // Judged against the whole list: an entry that beats another and is itself beaten passes
    // its win on to the one that beats it. Entries are in index order, so one that comes
    // earlier in the list comes before; against itself the least is 0 and it is not earlier.
    std::size_t kept = 0;
    std::array<std::uint8_t, palette_size> winners;
    for (std::size_t i = 0; i < count; ++i) {
        bool beaten = false;
        for (std::size_t j = 0; j < count && !beaten; ++j) {
            const int least = p[i] - p[j] + span * (std::min(0, value[j][0] - value[i][0]) +
                                                    std::min(0, value[j][1] - value[i][1]) +
                                                    std::min(0, value[j][2] - value[i][2]));
            beaten = least > 0 || (least == 0 && j < i);
        }
        if (!beaten) {
            winners[kept++] = list[i];
        }
    }
    list.assign(winners.begin(), winners.begin() + static_cast<std::ptrdiff_t>(kept));
}

}  // namespace

NearestEntryFinder::Grid::Grid(const Palette& palette, int shift)
    : shift_(shift),
      per_side_(256 >> shift),
      near_(static_cast<std::size_t>(3 * per_side_ * palette_size)),
      far_(near_.size()),
      cells_(static_cast<std::size_t>(per_side_ * per_side_ * per_side_)) {
    const int size = 1 << shift;
    for (int channel = 0; channel < 3; ++channel) {
        for (int k = 0; k < per_side_; ++k) {
            const int low = k * size;
            const int high = low + size - 1;
            for (int e = 0; e < palette_size; ++e) {
                const int v = channel_of(palette[static_cast<std::size_t>(e)], channel);
                const int nearest = v < low ? low - v : v > high ? v - high : 0;
                const int farthest = std::max(v - low, high - v);
                const std::size_t i = at(channel, k, static_cast<std::uint8_t>(e));
                near_[i] = static_cast<std::uint16_t>(nearest * nearest);
                far_[i] = static_cast<std::uint16_t>(farthest * farthest);
            }
        }
    }
}

std::size_t NearestEntryFinder::Grid::at(int channel, int cell, std::uint8_t entry) const {
    return static_cast<std::size_t>((channel * per_side_ + cell) * palette_size + entry);
}

// Every colour of the cell lies within `bound` of the entry whose farthest point is nearest,
// so only entries that come within `bound` of the cell can be nearest to one of its colours, or
// tie with it.
void NearestEntryFinder::Grid::select(Color color, std::span<const std::uint8_t> from,
                                      std::vector<std::uint8_t>& out) const {
    const std::size_t r = at(0, channel_of(color, 0) >> shift_, 0);
    const std::size_t g = at(1, channel_of(color, 1) >> shift_, 0);
    const std::size_t b = at(2, channel_of(color, 2) >> shift_, 0);
    std::uint32_t bound = std::numeric_limits<std::uint32_t>::max();
    for (const std::uint8_t e : from) {
        bound = std::min(bound, std::uint32_t{far_[r + e]} + far_[g + e] + far_[b + e]);
    }
    for (const std::uint8_t e : from) {
        if (std::uint32_t{near_[r + e]} + near_[g + e] + near_[b + e] <= bound) {
            out.push_back(e);
        }
    }
}

NearestEntryFinder::NearestEntryFinder(const Palette& palette)
    : palette_(palette),
      top_(palette, top_shift),
      coarse_(palette, coarse_shift),
      fine_(palette, fine_shift) {
    for (std::size_t e = 0; e < all_entries_.size(); ++e) {
        all_entries_[e] = static_cast<std::uint8_t>(e);
        const int r = channel_of(palette[e], 0), g = channel_of(palette[e], 1),
                  b = channel_of(palette[e], 2);
        EntryTerms& terms = terms_[e];
        terms.constant.fill(256 * (r * r + g * g + b * b) + static_cast<int>(e));
        for (std::size_t lane = 0; lane < 8; lane += 2) {
            terms.red_green[lane] = static_cast<std::int16_t>(-4 * r);
            terms.red_green[lane + 1] = static_cast<std::int16_t>(-4 * g);
            terms.blue_zero[lane] = static_cast<std::int16_t>(-4 * b);
        }
    }
}

std::uint8_t NearestEntryFinder::search(Color color) {
    Cell& cell = fine_.cell_of(color);
    if (cell.count == 0) {
        fill(cell, color);
    }
    const Block* const blocks = fine_lists_.data() + cell.first;
    return best_entry(std::span(blocks, cell.count), color);
}

// Distance and entry in one number: the smallest is the nearest, and of equally near entries
// the lowest, without a branch the processor would guess wrong.
std::uint8_t NearestEntryFinder::best_entry(std::span<const Block> blocks, Color color) {
    const int r = channel_of(color, 0), g = channel_of(color, 1), b = channel_of(color, 2);
#if defined(VLT_SSE2)
    const __m128i zero = _mm_setzero_si128();
    const __m128i red_green = _mm_set1_epi32(r | g << 16);
    const __m128i blue_zero = _mm_set1_epi32(b);
    const __m128i low_halves = _mm_set1_epi32(0xFFFF);
    __m128i best = _mm_set1_epi32(std::numeric_limits<std::int32_t>::max());
    for (const Block& block : blocks) {
        const __m128i bytes = _mm_load_si128(reinterpret_cast<const __m128i*>(block.bytes.data()));
        const __m128i drg = _mm_sub_epi16(_mm_unpacklo_epi8(bytes, zero), red_green);
        const __m128i blue_entry = _mm_unpackhi_epi8(bytes, zero);
        // Blue's difference, and the index left as it is, which the mask keeps out of the sum.
        const __m128i db = _mm_sub_epi16(blue_entry, blue_zero);
        const __m128i distance = _mm_add_epi32(_mm_madd_epi16(drg, drg),
                                               _mm_madd_epi16(db, _mm_and_si128(db, low_halves)));
        const __m128i score =
            _mm_or_si128(_mm_slli_epi32(distance, 8), _mm_srli_epi32(blue_entry, 16));
        best = smaller(best, score);
    }
    best = smaller(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(1, 0, 3, 2)));
    best = smaller(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint8_t>(_mm_cvtsi128_si32(best));
#else
    std::int32_t best = std::numeric_limits<std::int32_t>::max();
    for (const Block& block : blocks) {
        for (std::size_t i = 0; i < 4; ++i) {
            const std::int32_t dr = block.bytes[2 * i] - r, dg = block.bytes[2 * i + 1] - g,
                               db = block.bytes[8 + 2 * i] - b;
            best = std::min(best, (dr * dr + dg * dg + db * db) << 8 | block.bytes[9 + 2 * i]);
        }
    }
    return static_cast<std::uint8_t>(best);
#endif
}

// The list of the colour's cell in the grid, chosen from `from` when the cell is first used and
// kept in `lists`. Not thinned: that costs more than the longer lists cost the next level's
// selection, which thins what it keeps. A cell lies inside the one `from` belongs to: an entry
// that can be nearest somewhere in it can be so in the larger cell, and so is on its list.
std::span<const std::uint8_t> NearestEntryFinder::list_of(Grid& grid,
                                                         std::vector<std::uint8_t>& lists,
                                                         Color color,
                                                         std::span<const std::uint8_t> from) {
    Cell& cell = grid.cell_of(color);
    if (cell.count == 0) {
        cell.first = static_cast<std::uint32_t>(lists.size());
        grid.select(color, from, lists);
        cell.count = static_cast<std::uint16_t>(lists.size() - cell.first);
    }
    return std::span(lists).subspan(cell.first, cell.count);
}

std::span<const std::uint8_t> NearestEntryFinder::coarse_list(Color color) {
    return list_of(coarse_, coarse_lists_, color,
                   list_of(top_, top_lists_, color, all_entries_));
}

void NearestEntryFinder::fill(Cell& fine_cell, Color color) {
    const std::span<const std::uint8_t> coarse = coarse_list(color);
    selected_.clear();
    fine_.select(color, coarse, selected_);
    keep_possible_winners(selected_, palette_, color, fine_shift);
    // Blocks filled up with the list's first entry, which changes no answer.
    fine_cell.first = static_cast<std::uint32_t>(fine_lists_.size());
    fine_cell.count = static_cast<std::uint16_t>((selected_.size() + 3) / 4);
    for (std::size_t i = 0; i < 4u * fine_cell.count; ++i) {
        if (i % 4 == 0) {
            fine_lists_.emplace_back();
        }
        const std::uint8_t e = selected_[i < selected_.size() ? i : 0];
        std::uint8_t* lane = fine_lists_.back().bytes.data() + 2 * (i % 4);
        lane[0] = red_of(palette_[e]);
        lane[1] = green_of(palette_[e]);
        lane[8] = blue_of(palette_[e]);
        lane[9] = e;
    }
}

// A coarse cell's list, thinned, for all its colours: with many colours a cell, a list a cell
// costs less than the fine cells' shorter lists would save.
void NearestEntryFinder::nearest_all(const ColoursByCell& colors,
                                     std::span<std::uint8_t> entries) {
    for (std::size_t cell = 0; cell < ColoursByCell::cells; ++cell) {
        const std::span<const Color> in_cell = colors.colors(cell);
        if (in_cell.empty()) {
            continue;
        }
        const std::span<const std::uint8_t> coarse = coarse_list(in_cell.front());
        selected_.assign(coarse.begin(), coarse.end());
        keep_possible_winners(selected_, palette_, in_cell.front(), coarse_shift);
        judge_cell(in_cell, colors.positions(cell), selected_, entries);
    }
}

void NearestEntryFinder::judge_cell(std::span<const Color> colors,
                                    std::span<const std::uint32_t> positions,
                                    std::span<const std::uint8_t> candidates,
                                    std::span<std::uint8_t> entries) const {
    for (std::size_t i = 0; i < colors.size(); i += group) {
        const std::size_t count = std::min(group, colors.size() - i);
        std::array<Color, group> padded{};
        const Color* some = colors.data() + i;
        if (count < group) {
            // The last few, with copies of the last colour in the lanes left over.
            padded.fill(colors.back());
            std::copy(colors.begin() + static_cast<std::ptrdiff_t>(i), colors.end(),
                      padded.begin());
            some = padded.data();
        }
        const std::array<std::uint8_t, group> best = best_of_group(some, candidates);
        for (std::size_t k = 0; k < count; ++k) {
            entries[positions[i + k]] = best[k];
        }
    }
}

#if defined(VLT_SSE2)
namespace {

// Four colours' red in the low half of each lane and green in the high one, and their blue,
// each times 128: what multiplies and adds with an entry's terms.
struct FourColours {
    explicit FourColours(const Color* four) {
        const __m128i colors = _mm_loadu_si128(reinterpret_cast<const __m128i*>(four));
        const __m128i low_byte = _mm_set1_epi32(0xFF);
        red_green = _mm_slli_epi16(
            _mm_or_si128(_mm_and_si128(colors, low_byte),
                         _mm_slli_epi32(_mm_and_si128(colors, _mm_set1_epi32(0xFF00)), 8)),
            7);
        blue = _mm_slli_epi32(_mm_and_si128(_mm_srli_epi32(colors, 16), low_byte), 7);
    }
    __m128i score(__m128i constant, __m128i entry_red_green, __m128i entry_blue) const {
        return _mm_add_epi32(constant, _mm_add_epi32(_mm_madd_epi16(red_green, entry_red_green),
                                                     _mm_madd_epi16(blue, entry_blue)));
    }
    __m128i red_green;
    __m128i blue;
};

__m128i load(const void* at) {
    return _mm_load_si128(static_cast<const __m128i*>(at));
}

}  // namespace
#endif

// Each colour's least score over the candidates; its low byte is the entry. Eight colours at a
// time, so that each entry's terms are loaded once for two groups of four.
std::array<std::uint8_t, NearestEntryFinder::group> NearestEntryFinder::best_of_group(
    const Color* colors, std::span<const std::uint8_t> candidates) const {
    std::array<std::uint8_t, group> best{};
#if defined(VLT_SSE2)
    const FourColours low(colors), high(colors + 4);
    __m128i least_low = _mm_set1_epi32(std::numeric_limits<std::int32_t>::max());
    __m128i least_high = least_low;
    for (const std::uint8_t e : candidates) {
        const EntryTerms& terms = terms_[e];
        const __m128i constant = load(terms.constant.data());
        const __m128i red_green = load(terms.red_green.data());
        const __m128i blue = load(terms.blue_zero.data());
        least_low = smaller(least_low, low.score(constant, red_green, blue));
        least_high = smaller(least_high, high.score(constant, red_green, blue));
    }
    const __m128i low_byte = _mm_set1_epi32(0xFF);
    const __m128i words =
        _mm_packs_epi32(_mm_and_si128(least_low, low_byte), _mm_and_si128(least_high, low_byte));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(best.data()), _mm_packus_epi16(words, words));
#else
    for (std::size_t k = 0; k < group; ++k) {
        const int r = channel_of(colors[k], 0), g = channel_of(colors[k], 1),
                  b = channel_of(colors[k], 2);
        std::int32_t least = std::numeric_limits<std::int32_t>::max();
        for (const std::uint8_t e : candidates) {
            const EntryTerms& terms = terms_[e];
            least = std::min(least, terms.constant[0] + 128 * (r * terms.red_green[0] +
                                                               g * terms.red_green[1] +
                                                               b * terms.blue_zero[0]));
        }
        best[k] = static_cast<std::uint8_t>(least);
    }
#endif
    return best;
}

}  // namespace vlt
