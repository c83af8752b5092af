#include "base/big_blocks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Only where there are large pages to ask for; elsewhere every block is an ordinary one.
#if defined(__linux__)
namespace vlt {
namespace {

// Fills and checks a block end to end, so that a block shorter than asked, or one freed the
// wrong way, shows as a crash or a wrong byte.
bool fill_and_check(std::size_t bytes) {
    auto* block = static_cast<std::uint8_t*>(allocate_big(bytes));
    std::memset(block, 0x5A, bytes);
    const bool whole = block[0] == 0x5A && block[bytes - 1] == 0x5A;
    free_big(block, bytes);
    return whole;
}

constexpr std::size_t sizes[] = {1, 4096, (256u << 10) - 1, 256u << 10, 884790,
                                 (2u << 20) + 1, 5u << 20};

// Each mode in a process of its own: the first big block decides it for the process.
TEST(BigBlocks, LargePagesGiveWholeBlocksOnHugePageBounds) {
    EXPECT_EXIT(
        {
            const bool large = use_large_pages();
            bool ok = true;
            for (const std::size_t bytes : sizes) {
                ok = ok && fill_and_check(bytes);
            }
            void* block = allocate_big(884790);
            // Where the system has large pages, big blocks start on a 2 MiB bound.
            ok = ok && (!large || reinterpret_cast<std::uintptr_t>(block) % (2u << 20) == 0);
            free_big(block, 884790);
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(BigBlocks, TheFirstBigBlockSettlesOnOrdinaryPages) {
    EXPECT_EXIT(
        {
            bool ok = fill_and_check(1u << 20);
            // Asked too late: blocks must still be freed as they were allocated.
            ok = ok && !use_large_pages();
            for (const std::size_t bytes : sizes) {
                ok = ok && fill_and_check(bytes);
            }
            std::exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vlt
#endif
