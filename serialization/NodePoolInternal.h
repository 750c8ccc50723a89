// The node pool's controls for this library's own trees.
#pragma once

#include <cstddef>

namespace zel_sxf {

// While one lives, freed blocks are not kept for reuse, and a chunk whose last block is
// freed goes back to the system at once. A walk that frees a big tree in the order it was
// read (the archive's loading, object by object) so gives back its memory as it goes,
// for the objects made from it. Scopes nest; one thread at a time, as the pool.
class PoolReleaseScope {
 public:
  PoolReleaseScope();
  ~PoolReleaseScope();
  PoolReleaseScope(const PoolReleaseScope&) = delete;
  PoolReleaseScope& operator=(const PoolReleaseScope&) = delete;
};

// Chunks the pool holds now.
size_t PoolChunks() noexcept;

}  // namespace zel_sxf
