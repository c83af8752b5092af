#include "base/big_blocks.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vlt {

namespace {

#if defined(__linux__) && defined(MADV_HUGEPAGE)
enum class Pages : int { undecided, small, large };
std::atomic<Pages> pages{Pages::undecided};

constexpr std::size_t least_big = std::size_t{256} << 10;

// Decides for small pages at the first big block if nobody asked for large ones before it.
bool large_pages_for(std::size_t bytes) noexcept {
    if (bytes < least_big) {
        return false;
    }
    Pages now = pages.load(std::memory_order_relaxed);
    if (now == Pages::undecided) {
        pages.compare_exchange_strong(now, Pages::small, std::memory_order_relaxed);
        now = pages.load(std::memory_order_relaxed);
    }
    return now == Pages::large;
}

constexpr std::size_t huge_page = std::size_t{2} << 20;

std::size_t huge_span(std::size_t bytes) noexcept {
    return (bytes + huge_page - 1) / huge_page * huge_page;
}

// Maps one huge page more than needed and returns the aligned span inside, the rest unmapped.
void* map_huge(std::size_t bytes) {
    const std::size_t span = huge_span(bytes);
    void* raw = mmap(nullptr, span + huge_page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS,
                     -1, 0);
    if (raw == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + huge_page - 1) & ~(huge_page - 1);
    if (aligned != start) {
        munmap(raw, aligned - start);
    }
    const std::uintptr_t end = start + span + huge_page;
    if (end != aligned + span) {
        munmap(reinterpret_cast<void*>(aligned + span), end - (aligned + span));
    }
    // Only a hint: without huge pages the block still works, one fault a page.
    madvise(reinterpret_cast<void*>(aligned), span, MADV_HUGEPAGE);
    return reinterpret_cast<void*>(aligned);
}

// Blocks that fit share a huge page, one after the other, so that the editor and a picture cost
// one page to clear rather than two. A shared page's header counts the blocks still in it; the
// page goes back to the system when the last leaves (the newest page is kept and reused).
struct SharedPage {
    std::size_t used;
    std::size_t live;
};
constexpr std::size_t block_alignment = 64;
constexpr std::size_t header_size = block_alignment;
static_assert(sizeof(SharedPage) <= header_size);
constexpr std::size_t most_shared = huge_page - header_size;

std::size_t aligned_size(std::size_t bytes) noexcept {
    return (bytes + block_alignment - 1) / block_alignment * block_alignment;
}

std::mutex shared_mutex;
SharedPage* newest = nullptr;

void* allocate_shared(std::size_t bytes) {
    const std::scoped_lock lock(shared_mutex);
    const std::size_t size = aligned_size(bytes);
    if (newest == nullptr || newest->used + size > huge_page) {
        newest = static_cast<SharedPage*>(map_huge(huge_page));
        *newest = {header_size, 0};
    }
    void* block = reinterpret_cast<std::uint8_t*>(newest) + newest->used;
    newest->used += size;
    ++newest->live;
    return block;
}

void free_shared(void* block) noexcept {
    const std::scoped_lock lock(shared_mutex);
    auto* page = reinterpret_cast<SharedPage*>(reinterpret_cast<std::uintptr_t>(block) &
                                               ~(huge_page - 1));
    if (--page->live != 0) {
        return;
    }
    if (page == newest) {
        page->used = header_size;
    } else {
        munmap(page, huge_page);
    }
}
#endif

}  // namespace

bool use_large_pages() noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    Pages expected = Pages::undecided;
    pages.compare_exchange_strong(expected, Pages::large, std::memory_order_relaxed);
    return pages.load(std::memory_order_relaxed) == Pages::large;
#else
    return false;
#endif
}

void* allocate_big(std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large_pages_for(bytes)) {
        return bytes <= most_shared ? allocate_shared(bytes) : map_huge(bytes);
    }
#endif
    return ::operator new(bytes);
}

void free_big(void* block, [[maybe_unused]] std::size_t bytes) noexcept {
    if (block == nullptr) {
        return;
    }
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large_pages_for(bytes)) {
        if (bytes <= most_shared) {
            free_shared(block);
        } else {
            munmap(block, huge_span(bytes));
        }
        return;
    }
#endif
    ::operator delete(block);
}

}  // namespace vlt
