// Size-classed pool for syntax nodes. When the last pooled block goes back, the chunks are
// returned to the system (all but one), so a process that loads a big archive once does
// not keep its memory for ever.
#include "serialization/NodePool.h"

#include <cstdlib>
#include <new>
#include <vector>

#include "platform/os/memory/LargeChunks.h"

namespace zel_sxf {
namespace {

constexpr size_t kGrain = 8;
constexpr size_t kClasses = kPoolMaxBlock / kGrain;
constexpr size_t kChunkBytes = zel_memory::kLargeChunkBytes;

struct FreeBlock {
  FreeBlock* next;
};

struct Pool {
  FreeBlock* freeLists[kClasses] = {};
  std::vector<char*> chunks;
  char* bump = nullptr;
  char* bumpEnd = nullptr;
  size_t live = 0;

  void* Carve(size_t rounded) {
    if (static_cast<size_t>(bumpEnd - bump) < rounded) {
      char* chunk = static_cast<char*>(zel_memory::AllocLargeChunk());
      if (!chunk) throw std::bad_alloc();
      chunks.push_back(chunk);
      bump = chunk;
      bumpEnd = chunk + kChunkBytes;
    }
    void* block = bump;
    bump += rounded;
    return block;
  }

  // Frees every chunk but the first `keep`; only valid when nothing is alive.
  void Release(size_t keep) {
    for (size_t i = keep; i < chunks.size(); ++i) zel_memory::FreeLargeChunk(chunks[i]);
    if (chunks.size() > keep) chunks.resize(keep);
    for (FreeBlock*& f : freeLists) f = nullptr;
    bump = chunks.empty() ? nullptr : chunks.front();
    bumpEnd = chunks.empty() ? nullptr : chunks.front() + kChunkBytes;
  }
};

// Never destroyed: trees held by other static objects may outlive any destructor order.
Pool& ThePool() {
  static Pool* pool = new Pool;
  return *pool;
}

}  // namespace

void* PoolAlloc(size_t bytes) {
  if (bytes == 0) bytes = 1;
  if (bytes > kPoolMaxBlock) return ::operator new(bytes);
  Pool& pool = ThePool();
  size_t cls = (bytes + kGrain - 1) / kGrain - 1;
  void* block;
  if (FreeBlock* f = pool.freeLists[cls]) {
    pool.freeLists[cls] = f->next;
    block = f;
  } else {
    block = pool.Carve((cls + 1) * kGrain);
  }
  ++pool.live;
  return block;
}

void PoolFree(void* block, size_t bytes) noexcept {
  if (!block) return;
  if (bytes == 0) bytes = 1;
  if (bytes > kPoolMaxBlock) {
    ::operator delete(block);
    return;
  }
  Pool& pool = ThePool();
  size_t cls = (bytes + kGrain - 1) / kGrain - 1;
  FreeBlock* f = static_cast<FreeBlock*>(block);
  f->next = pool.freeLists[cls];
  pool.freeLists[cls] = f;
  if (--pool.live == 0) pool.Release(1);
}

size_t PoolLiveBlocks() noexcept { return ThePool().live; }

}  // namespace zel_sxf
