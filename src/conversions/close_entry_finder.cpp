#include "conversions/close_entry_finder.h"

#include <algorithm>

namespace vlt {
namespace {

constexpr int largest_difference = 9;

int channel_of(Color color, int channel) {
    return static_cast<int>((color >> (8 * channel)) & 0xFFu);
}

}  // namespace

CloseEntryFinder::CloseEntryFinder(const Palette& palette) {
    for (int i = 0; i < palette_size; ++i) {
        const auto word = static_cast<std::size_t>(i / 64);
        const std::uint64_t bit = std::uint64_t{1} << (i % 64);
        for (int channel = 0; channel < 3; ++channel) {
            const int value = channel_of(palette[static_cast<std::size_t>(i)], channel);
            const int low = std::max(0, value - largest_difference);
            const int high = std::min(255, value + largest_difference);
            for (int v = low; v <= high; ++v) {
                close_[static_cast<std::size_t>(channel)][static_cast<std::size_t>(v)][word] |= bit;
            }
        }
    }
}

}  // namespace vlt
