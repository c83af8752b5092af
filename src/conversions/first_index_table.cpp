#include "conversions/first_index_table.h"

namespace vlt {

FirstIndexTable::FirstIndexTable(const Palette& palette) {
    for (int i = 0; i < palette_size; ++i) {
        const Color color = palette[static_cast<std::size_t>(i)];
        if (find(color) == unknown) {
            add(color, i);
        }
    }
}

void FirstIndexTable::add(Color color, int value) {
    std::size_t slot = slot_of(color);
    while (slots_[slot].value != unknown) {
        slot = (slot + 1) % slots;
    }
    slots_[slot] = {color, value};
    ++count_;
}

}  // namespace vlt
