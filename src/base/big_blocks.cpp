#include "base/big_blocks.h"

#include <atomic>
#include <cstdint>
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
        return map_huge(bytes);
    }
#endif
    return ::operator new(bytes);
}

void free_big(void* block, std::size_t bytes) noexcept {
    if (block == nullptr) {
        return;
    }
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (large_pages_for(bytes)) {
        munmap(block, huge_span(bytes));
        return;
    }
#endif
    ::operator delete(block);
}

}  // namespace vlt
