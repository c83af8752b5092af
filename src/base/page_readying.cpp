#include "base/page_readying.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace vlt {

namespace {
// Below this, the faults a call saves cost less than the call.
constexpr std::size_t least_worth_readying = std::size_t{64} << 10;
}  // namespace

void ready_pages_for_writing(std::span<std::uint8_t> bytes) noexcept {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    if (bytes.size() < least_worth_readying) {
        return;
    }
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes.size()) / page * page;
    if (first < end) {
        // Older kernels refuse the request (EINVAL): the pages then come one fault at a time.
        madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
    }
#else
    (void)bytes;
    (void)least_worth_readying;
#endif
}

}  // namespace vlt
