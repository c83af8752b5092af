#pragma once

#include <cstdint>
#include <span>

namespace vlt {

// Asks the system to make the memory pages that lie wholly inside `bytes` ready for writing now,
// in one call, instead of one page fault each as they are first touched: on a virtual machine a
// fresh page's fault costs several microseconds, more than filling the page. Only a hint: the
// bytes' contents do not change, and where the system cannot, nothing happens.
void ready_pages_for_writing(std::span<std::uint8_t> bytes) noexcept;

}  // namespace vlt
