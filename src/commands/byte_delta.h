#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vlt {

// The bytes in which one block of memory differs from another of the same size, kept as runs.
// An undo step holds one side of each run; swapping with the live block puts that side back and
// keeps the other, so the same delta serves undo and then redo.
class ByteDelta {
public:
    ByteDelta() = default;
    // The runs where `kept` and `live` differ, holding the bytes of `kept`.
    ByteDelta(std::span<const std::uint8_t> kept, std::span<const std::uint8_t> live);

    bool empty() const { return runs_.empty(); }
    // What the delta holds on the heap.
    std::size_t memory() const;
    // Exchanges the held bytes with those of `live` at the runs. A block of another size than
    // the delta was made for is left alone.
    void swap_with(std::span<std::uint8_t> live);

private:
    struct Run {
        std::size_t offset;
        std::size_t length;
    };
    std::size_t size_ = 0;
    std::vector<Run> runs_;
    std::vector<std::uint8_t> bytes_;
};

}  // namespace vlt
