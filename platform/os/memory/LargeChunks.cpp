// Large chunks: portable part; the system specifics are in posix/LargeChunks.inc.
#include "platform/os/memory/LargeChunks.h"

#include <cstdlib>

#include "platform/os/memory/posix/LargeChunks.inc"

namespace zel_memory {

void* AllocLargeChunk() {
  void* chunk = std::aligned_alloc(kLargeChunkBytes, kLargeChunkBytes);
  if (chunk) PopulateRegion(chunk, kLargeChunkBytes);
  return chunk;
}

void FreeLargeChunk(void* chunk) noexcept { std::free(chunk); }

}  // namespace zel_memory
