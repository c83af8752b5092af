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

bool every_size_whole() {
    bool ok = true;
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096}, std::size_t{256} << 10,
                                    std::size_t{884790}, (std::size_t{2} << 20) - 64,
                                    (std::size_t{2} << 20) + 1, std::size_t{5} << 20}) {
        ok = ok && fill_and_check(bytes);
    }
    return ok;
}

// Blocks that share a page must not overlap; a block freed early leaves the others whole, and a
// block too big to share gets pages of its own.
bool blocks_apart(bool large) {
    constexpr std::size_t sizes[] = {300000, 884790, 700000, 884790};
    std::uint8_t* blocks[4];
    for (int i = 0; i < 4; ++i) {
        blocks[i] = static_cast<std::uint8_t*>(allocate_big(sizes[i]));
        std::memset(blocks[i], i + 1, sizes[i]);
    }
    free_big(blocks[1], sizes[1]);
    bool ok = true;
    for (int i : {0, 2, 3}) {
        ok = ok && blocks[i][0] == i + 1 && blocks[i][sizes[i] - 1] == i + 1;
        free_big(blocks[i], sizes[i]);
    }
    void* own = allocate_big(std::size_t{5} << 20);
    ok = ok && (!large || reinterpret_cast<std::uintptr_t>(own) % (std::size_t{2} << 20) == 0);
    free_big(own, std::size_t{5} << 20);
    return ok;
}

bool large_pages_case() {
    const bool large = use_large_pages();
    return every_size_whole() && blocks_apart(large) && every_size_whole();
}

// Each mode in a process of its own: the first big block decides it for the process.
TEST(BigBlocks, LargePagesGiveWholeSeparateBlocks) {
    EXPECT_EXIT(std::exit(large_pages_case() ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST(BigBlocks, TheFirstBigBlockSettlesOnOrdinaryPages) {
    // Asked too late: blocks must still be freed as they were allocated.
    EXPECT_EXIT(std::exit(fill_and_check(std::size_t{1} << 20) && !use_large_pages() &&
                                  blocks_apart(false) && every_size_whole()
                              ? 0
                              : 1),
                testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vlt
#endif
