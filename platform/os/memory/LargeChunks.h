/// \file
/// Large, aligned memory chunks for pool allocators that fill them densely. A chunk's
/// small pages are made present in one call when it is taken, instead of a page fault
/// each as they are first written.
///
/// Why not huge pages: they were asked for (MADV_HUGEPAGE) until the bench showed what
/// they cost where free memory goes back to a virtual machine's host. Loading the bench's
/// 1,000,000 records took 0.79 s and 0.84 s with them and 0.30 s and 0.32 s without, in
/// runs beside the cereal jobs (2026-12-07, bench/archive_bench.md): a huge page comes
/// from the large free blocks the host takes back first, or from compaction, while small
/// pages come from memory freed a moment ago. Huge pages won only right after another
/// process had freed huge pages, by about 0.05 s.
#pragma once

#include <cstddef>

#include "ZelExport.h"

namespace zel_memory {

/// The size and alignment of every chunk.
constexpr size_t kLargeChunkBytes = size_t{2} << 20;

/// A chunk of kLargeChunkBytes, or null when the system has no memory.
///@{
ZEL_API void* AllocLargeChunk();
ZEL_API void FreeLargeChunk(void* chunk) noexcept;
///@}

}  // namespace zel_memory
