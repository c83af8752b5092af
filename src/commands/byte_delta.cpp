#include "commands/byte_delta.h"

#include <algorithm>

namespace vlt {
namespace {

// Runs closer than this are joined: a run's bookkeeping costs about as much.
constexpr std::size_t join_gap = 16;

}  // namespace

ByteDelta::ByteDelta(std::span<const std::uint8_t> kept, std::span<const std::uint8_t> live)
    : size_(live.size()) {
    const std::size_t size = std::min(kept.size(), live.size());
    std::size_t i = 0;
    while (i < size) {
        const auto start = std::mismatch(kept.begin() + static_cast<std::ptrdiff_t>(i),
                                         kept.begin() + static_cast<std::ptrdiff_t>(size),
                                         live.begin() + static_cast<std::ptrdiff_t>(i));
        i = static_cast<std::size_t>(start.first - kept.begin());
        if (i == size) {
            break;
        }
        // The run ends where `join_gap` bytes in a row agree (or at the end).
        std::size_t end = i + 1, same = 0;
        for (std::size_t j = i + 1; j < size && same < join_gap; ++j) {
            if (kept[j] == live[j]) {
                ++same;
            } else {
                same = 0;
                end = j + 1;
            }
        }
        runs_.push_back({i, end - i});
        bytes_.insert(bytes_.end(), kept.begin() + static_cast<std::ptrdiff_t>(i),
                      kept.begin() + static_cast<std::ptrdiff_t>(end));
        i = end;
    }
    runs_.shrink_to_fit();
    bytes_.shrink_to_fit();
}

std::size_t ByteDelta::memory() const {
    return runs_.capacity() * sizeof(Run) + bytes_.capacity();
}

void ByteDelta::swap_with(std::span<std::uint8_t> live) {
    if (live.size() != size_) {
        return;
    }
    auto held = bytes_.begin();
    for (const Run& run : runs_) {
        const auto at = live.begin() + static_cast<std::ptrdiff_t>(run.offset);
        std::swap_ranges(at, at + static_cast<std::ptrdiff_t>(run.length), held);
        held += static_cast<std::ptrdiff_t>(run.length);
    }
}

}  // namespace vlt
