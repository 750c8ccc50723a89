// Size-classed pool for syntax nodes. When the last pooled block goes back, the chunks are
// returned to the system (all but one), so a process that loads a big archive once does
// not keep its memory for ever. Each chunk counts its live blocks, so that a tree freed
// in the order it was built can give its chunks back one by one (PoolReleaseScope).
#include "serialization/NodePool.h"

#include "serialization/NodePoolInternal.h"
#include "serialization/NodePoolStateInternal.h"

namespace zel_sxf {
namespace pool_detail {

constinit PoolHolder g_pool;

void ReleaseIfDone(ChunkHead* head) noexcept {
  Pool& pool = ThePool();
  if (!pool.IsBumpChunk(head)) pool.ReleaseChunk(head);
}

void* AllocSlow(size_t bytes) {
  if (bytes == 0) bytes = 1;
  if (bytes > kPoolMaxBlock) return ::operator new(bytes);
  Pool& pool = ThePool();
  void* block = pool.Carve(((bytes - 1) / kGrain + 1) * kGrain);
  CountOut(pool, block);
  return block;
}

void FreeSlow(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes == 0) bytes = 1;
  if (bytes > kPoolMaxBlock) {
    ::operator delete(block);
    return;
  }
  Pool& pool = ThePool();
  if (pool.live > 1) {
    GiveBack(pool, block, bytes);
    return;
  }
  --HeadOf(block)->live;
  pool.live = 0;
  pool.Release(1);
}

}  // namespace pool_detail

using namespace pool_detail;

void* PoolAlloc(size_t bytes) { return Take(bytes); }

void PoolFree(void* block, size_t bytes) noexcept { Give(block, bytes); }

size_t PoolLiveBlocks() noexcept { return ThePool().live; }

size_t PoolChunks() noexcept { return ThePool().chunks.size(); }

PoolReleaseScope::PoolReleaseScope() {
  Pool& pool = ThePool();
  // Blocks on the free lists may lie in chunks about to go back: they are forgotten (they
  // count as free already, and go back with their chunks).
  if (pool.releasing++ == 0 && pool.anyFree) {
    for (FreeBlock*& f : pool.freeLists) f = nullptr;
    pool.anyFree = false;
  }
}

PoolReleaseScope::~PoolReleaseScope() { --ThePool().releasing; }

}  // namespace zel_sxf
