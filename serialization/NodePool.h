// The allocator behind syntax nodes and their element arrays: small blocks come from
// size-classed free lists carved out of large chunks, so reading a big file costs a
// pointer bump per node instead of a malloc. Like the syntax trees it serves, it is
// meant for one thread at a time.
#pragma once

#include <cstddef>

namespace zel_sxf {

// Blocks up to this many bytes are pooled; larger ones go to the global allocator.
constexpr size_t kPoolMaxBlock = 256;

void* PoolAlloc(size_t bytes);
// bytes must be the size given to PoolAlloc.
void PoolFree(void* block, size_t bytes) noexcept;
// Pooled blocks alive now (for tests and diagnostics).
size_t PoolLiveBlocks() noexcept;
// Bytes the pool holds from the system.
size_t PoolReservedBytes() noexcept;

}  // namespace zel_sxf
