#pragma once

#include <cstddef>

namespace vlt {

// Memory for the big buffers (pictures, the workspace). On a virtual machine every fresh 4 KiB
// page costs a fault of several microseconds when first touched, which for a short batch run is
// more than its work: with large pages on, big blocks are placed on 2 MiB pages the system may
// back with one huge page each, one fault instead of 512 (blocks that fit share a page). Blocks
// below a quarter of a megabyte, and every block where the system has no such pages, come from
// the ordinary heap.

// Asks for large pages for the rest of the process. Only the first decision counts: once a big
// block has been allocated without them, this does nothing and returns false (blocks must be
// freed the way they were allocated). Costs memory, up to a 2 MiB page held by one small block, so it is meant for
// short runs that hold few big blocks, not for a window that keeps an undo history.
bool use_large_pages() noexcept;

// Allocates `bytes` (not cleared); throws std::bad_alloc when there is no memory.
void* allocate_big(std::size_t bytes);
// Frees a block from allocate_big; `bytes` is the size it was allocated with.
void free_big(void* block, std::size_t bytes) noexcept;

}  // namespace vlt
