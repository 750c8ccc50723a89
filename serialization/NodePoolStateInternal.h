// The node pool's state and its common paths, inline for the library's own nodes: a block
// taken from a free list or the current chunk, or given back while others live, costs a
// few instructions and no call. Everything else is NodePool.cpp's, which owns the state.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

#include "platform/os/memory/LargeChunks.h"
#include "serialization/NodePool.h"

namespace zel_sxf::pool_detail {

constexpr size_t kGrain = 8;
constexpr size_t kClasses = kPoolMaxBlock / kGrain;
constexpr size_t kChunkBytes = zel_memory::kLargeChunkBytes;

struct FreeBlock {
  FreeBlock* next;
};

// The first bytes of every chunk; chunks are aligned to their size, so a block finds its
// chunk by masking its address.
struct alignas(16) ChunkHead {
  size_t live = 0;
};

inline ChunkHead* HeadOf(const void* block) {
  return reinterpret_cast<ChunkHead*>(reinterpret_cast<uintptr_t>(block) &
                                      ~(uintptr_t{kChunkBytes} - 1));
}

struct Pool {
  FreeBlock* freeLists[kClasses] = {};
  std::vector<char*> chunks;
  char* bump = nullptr;
  char* bumpEnd = nullptr;
  size_t live = 0;
  int releasing = 0;     // open PoolReleaseScopes
  bool anyFree = false;  // a free list holds a block

  void* Carve(size_t rounded) {
    if (static_cast<size_t>(bumpEnd - bump) < rounded) {
      char* chunk = static_cast<char*>(zel_memory::AllocLargeChunk());
      if (!chunk) throw std::bad_alloc();
      try {
        chunks.push_back(chunk);
      } catch (...) {
        zel_memory::FreeLargeChunk(chunk);
        throw;
      }
      new (chunk) ChunkHead;
      bump = chunk + sizeof(ChunkHead);
      bumpEnd = chunk + kChunkBytes;
    }
    void* block = bump;
    bump += rounded;
    return block;
  }

  bool IsBumpChunk(const ChunkHead* head) const {
    return bump && HeadOf(bump == bumpEnd ? bump - 1 : bump) == head;
  }

  void ReleaseChunk(ChunkHead* head) {
    auto it = std::find(chunks.begin(), chunks.end(), reinterpret_cast<char*>(head));
    if (it == chunks.end()) return;
    *it = chunks.back();
    chunks.pop_back();
    zel_memory::FreeLargeChunk(head);
  }

  // Frees every chunk but `keep`; only valid when nothing is alive.
  void Release(size_t keep) {
    for (size_t i = keep; i < chunks.size(); ++i) zel_memory::FreeLargeChunk(chunks[i]);
    if (chunks.size() > keep) chunks.resize(keep);
    for (FreeBlock*& f : freeLists) f = nullptr;
    anyFree = false;
    bump = chunks.empty() ? nullptr : chunks.front() + sizeof(ChunkHead);
    bumpEnd = chunks.empty() ? nullptr : chunks.front() + kChunkBytes;
  }
};

union PoolHolder {
  Pool pool;
  constexpr PoolHolder() : pool() {}
  ~PoolHolder() {}
};
// Defined in NodePool.cpp: made by the compiler, so that no first-use guard runs on every
// block, and never destroyed: trees held by other static objects may outlive any
// destructor order.
extern PoolHolder g_pool;
inline Pool& ThePool() { return g_pool.pool; }

// A block handed out: its chunk and the pool count it.
inline void CountOut(Pool& pool, void* block) {
  ++HeadOf(block)->live;
  ++pool.live;
}

// A chunk in a release scope whose last block went: back to the system, unless blocks are
// still carved from it.
void ReleaseIfDone(ChunkHead* head) noexcept;

// A pooled block given back while others stay alive: kept on its size's free list, or in
// a release scope not kept (its chunk goes back as soon as the chunk's last block does).
inline void GiveBack(Pool& pool, void* block, size_t bytes) noexcept {
  ChunkHead* head = HeadOf(block);
  --head->live;
  --pool.live;
  if (pool.releasing) {
    if (head->live == 0) ReleaseIfDone(head);
    return;
  }
  FreeBlock* f = static_cast<FreeBlock*>(block);
  f->next = pool.freeLists[(bytes - 1) / kGrain];
  pool.freeLists[(bytes - 1) / kGrain] = f;
  pool.anyFree = true;
}

// What the fast paths leave for: no block of the size free and no room left in the
// current chunk, a size beyond the pool's, or zero bytes; and, on the way back, null, such
// sizes, and the last block alive, after which the pool gives its chunks back.
[[gnu::noinline]] void* AllocSlow(size_t bytes);
[[gnu::noinline]] void FreeSlow(void* block, size_t bytes) noexcept;

inline void* Take(size_t bytes) {
  if (bytes - 1 < kPoolMaxBlock) {  // 1 to kPoolMaxBlock (0 wraps around)
    Pool& pool = ThePool();
    const size_t cls = (bytes - 1) / kGrain;
    void* block;
    if (FreeBlock* f = pool.freeLists[cls]) {
      pool.freeLists[cls] = f->next;
      block = f;
    } else if (const size_t rounded = (cls + 1) * kGrain;
               static_cast<size_t>(pool.bumpEnd - pool.bump) >= rounded) {
      block = pool.bump;
      pool.bump += rounded;
    } else {
      return AllocSlow(bytes);
    }
    CountOut(pool, block);
    return block;
  }
  return AllocSlow(bytes);
}

inline void Give(void* block, size_t bytes) noexcept {
  Pool& pool = ThePool();
  if (block && bytes - 1 < kPoolMaxBlock && pool.live > 1)
    GiveBack(pool, block, bytes);
  else
    FreeSlow(block, bytes);
}

}  // namespace zel_sxf::pool_detail
