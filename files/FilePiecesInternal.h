// Reading a stretch of a regular file by offset in pieces small enough to stay in the
// processor's cache between the read and the look at them, in one thread or, for a big
// stretch, two: the line count and the base-run scan both read this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <system_error>

#include "platform/base/types/WinTypes.h"

namespace zel_fileread {

// Below this a second thread costs more than it saves.
constexpr uint64_t kTwoThreadsFrom = uint64_t{64} << 20;
// Read and looked at a piece at a time, small enough to be looked at from the cache.
constexpr size_t kPiece = size_t{64} << 10;

// Takes the next piece of a part; answers whether reading goes on.
using PieceSink = std::function<bool(const char* p, size_t n)>;

// The half of a stretch that a second thread reads: none below kTwoThreadsFrom.
inline uint64_t SplitOf(uint64_t from, uint64_t to) {
  return to - from >= kTwoThreadsFrom ? from + (to - from) / 2 : to;
}

// Reads [from, split) of h here through near and [split, to) on a second thread through far
// (split == to: no second thread), each part in order, in pieces of at most piece bytes.
// The far part only matters when the near one read all of its bytes and went on, so the
// second thread stops as soon as the near part ends sooner (a sink that stopped, a file
// that shrank); farCounts tells whether it matters. Fails with the system's reason when a
// read that matters fails.
std::error_code ReadPieces(HANDLE h, uint64_t from, uint64_t split, uint64_t to, size_t piece,
                           const PieceSink& near, const PieceSink& far, bool& farCounts);

}  // namespace zel_fileread
