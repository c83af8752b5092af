#include "pictures/entry_uses.h"

namespace vlt {

EntryCounts entry_use_counts(std::span<const std::uint8_t> indices) {
    EntryCounts counts{};
    for (const std::uint8_t index : indices) {
        ++counts[index];
    }
    return counts;
}

std::vector<PixelPlace> pixels_of_entry(std::span<const std::uint8_t> indices, int width,
                                        std::uint8_t entry) {
    std::vector<PixelPlace> places;
    if (width < 1) {
        return places;
    }
    const auto columns = static_cast<std::size_t>(width);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] == entry) {
            places.push_back({static_cast<int>(i % columns), static_cast<int>(i / columns)});
        }
    }
    return places;
}

}  // namespace vlt
