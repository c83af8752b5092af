#pragma once

#include <cstddef>

namespace vlt::testing {

// The largest single allocation made with operator new while an object of this kind lives. A test
// program that uses it links largest_allocation.cpp, which replaces the global operator new.
class LargestAllocation {
public:
    LargestAllocation();
    ~LargestAllocation();
    LargestAllocation(const LargestAllocation&) = delete;
    LargestAllocation& operator=(const LargestAllocation&) = delete;

    std::size_t bytes() const;
};

}  // namespace vlt::testing
