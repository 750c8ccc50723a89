/// \file
/// Large, aligned memory chunks for pool allocators that fill them densely. The system is
/// asked to back them with huge pages where it can, so that filling hundreds of megabytes
/// takes a few hundred page faults instead of tens of thousands.
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
