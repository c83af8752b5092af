// In a file of its own, so that no compiler inlines the replaced operators into their callers
// and takes the malloc inside for a mismatch with the delete.
#include "support/largest_allocation.h"

#include <cstdlib>
#include <new>

namespace {
bool watching = false;
std::size_t largest = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (watching && size > largest) {
        largest = size;
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vlt::testing {

LargestAllocation::LargestAllocation() {
    largest = 0;
    watching = true;
}

LargestAllocation::~LargestAllocation() {
    watching = false;
}

std::size_t LargestAllocation::bytes() const {
    return largest;
}

}  // namespace vlt::testing
