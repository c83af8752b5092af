#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "workspace/workspace.h"

namespace vlt {

// For each colour in the palette, the first index that holds it: what a search of the palette
// in index order by exact 32-bit equality finds, in a step or two instead of up to 256. It can
// also remember colours that are known to find no entry.
class FirstIndexTable {
public:
    static constexpr int unknown = -1;
    static constexpr int no_entry = palette_size;  // a colour remembered as absent

    // Every entry is recorded, the first of equal ones winning; CLR_INVALID is a colour too.
    explicit FirstIndexTable(const Palette& palette);

    // The first index holding the colour, no_entry for a colour remembered as absent, or unknown.
    int find(Color color) const {
        for (std::size_t slot = slot_of(color);; slot = (slot + 1) % slots) {
            if (slots_[slot].value == unknown || slots_[slot].key == color) {
                return slots_[slot].value;
            }
        }
    }

    // Records a colour that find() does not know: the index of the entry that now holds it, or
    // no_entry. An entry's old colour must be one an earlier entry also holds, so that its first
    // index stays right; and no_entry holds only as long as the palette does not change.
    void add(Color color, int value);

    // Calls visit(colour) for every colour the table holds: the palette's and those remembered
    // as absent.
    template <typename Visit>
    void for_each_colour(Visit visit) const {
        for (const Slot& slot : slots_) {
            if (slot.value != unknown) {
                visit(slot.key);
            }
        }
    }

    // Room is kept for the whole palette and as many absent colours; beyond that, absent colours
    // are no longer remembered.
    bool can_remember_absent() const { return count_ < max_count; }

private:
    // Sparse, so that most searches end at their first slot, and small enough to stay in the
    // nearest cache while the picture streams past; a key and its value share a cache line.
    static constexpr std::size_t slots = 8 * palette_size;
    static constexpr int max_count = 2 * palette_size;
    static std::size_t slot_of(Color color) {
        return static_cast<std::size_t>((color * 0x9E3779B1u) >> 21);  // 11 bits: 2048 slots
    }

    struct Slot {
        Color key = 0;
        std::int32_t value = unknown;
    };
    std::array<Slot, slots> slots_{};
    int count_ = 0;
};

}  // namespace vlt
