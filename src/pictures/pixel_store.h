#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "base/big_blocks.h"

namespace vlt {

// Allocates and grows without clearing: what resize() adds is left as it comes, for buffers that
// are read or drawn over at once. A value given (resize(n, 0), assign) is stored as usual.
template <typename T>
struct UnclearedAllocator : std::allocator<T> {
    template <typename U>
    struct rebind {
        using other = UnclearedAllocator<U>;
    };
    UnclearedAllocator() = default;
    template <typename U>
    UnclearedAllocator(const UnclearedAllocator<U>&) noexcept {}

    // Pictures are the big blocks: on large pages where the program asked for them.
    T* allocate(std::size_t n) { return static_cast<T*>(allocate_big(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { free_big(p, n * sizeof(T)); }

    template <typename U>
    void construct(U* p) noexcept(std::is_nothrow_default_constructible_v<U>) {
        ::new (static_cast<void*>(p)) U;
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

// A picture's pixel bytes, and the buffer a file's pixels are read into to become them.
using PixelStore = std::vector<std::uint8_t, UnclearedAllocator<std::uint8_t>>;

}  // namespace vlt
