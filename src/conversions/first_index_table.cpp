#include "conversions/first_index_table.h"

namespace vlt {

FirstIndexTable::FirstIndexTable(const Palette& palette) {
    values_.fill(unknown);
    for (int i = 0; i < palette_size; ++i) {
        const Color color = palette[static_cast<std::size_t>(i)];
        if (find(color) == unknown) {
            add(color, i);
        }
    }
}

void FirstIndexTable::add(Color color, int value) {
    std::size_t slot = slot_of(color);
    while (values_[slot] != unknown) {
        slot = (slot + 1) % slots;
    }
    keys_[slot] = color;
    values_[slot] = static_cast<std::int16_t>(value);
    ++count_;
}

}  // namespace vlt
