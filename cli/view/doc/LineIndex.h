// The sparse index of a document's line starts: for each block of the contents, the first
// line starting at or after the block's boundary and its 0-based number, so that memory
// grows with the size and never with the line count. One thread feeds the contents in
// order; any thread asks.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "cli/view/doc/Document.h"

namespace zel_view {

// A line start the index holds.
struct IndexEntry {
  Offset start = 0;
  int64_t number = 0;
};

class LineIndex {
 public:
  explicit LineIndex(uint64_t blockSize = kIndexBlock) : m_blockSize(blockSize) {}

  // The next n bytes of the contents.
  void Feed(const char* p, size_t n);
  // The contents end here: the line count is final.
  void Finish();

  uint64_t BlockSize() const { return m_blockSize; }
  // The bytes fed so far.
  Offset Scanned() const;
  bool Finished() const;
  // Lines counted so far: every line ended so far, and at the finish a last line without
  // a line end too.
  int64_t Lines() const;

  // Whether line number's start lies in what was fed.
  bool CoversLine(int64_t number) const;
  // Whether the line holding the byte at offset lies in what was fed.
  bool CoversOffset(Offset offset) const;
  // The indexed line start nearest before line number (at most number), or at or before
  // offset; the first line when nothing better is known.
  IndexEntry BeforeLine(int64_t number) const;
  IndexEntry AtOrBefore(Offset offset) const;
  // The first line start at or after block's boundary, when the index has found one.
  std::optional<IndexEntry> Block(uint64_t block) const;

 private:
  void Resolve(Offset start, std::vector<IndexEntry>& found);

  const uint64_t m_blockSize;
  mutable std::mutex m_mutex;
  std::vector<IndexEntry> m_entries;  // one per block, in order, up to the first unresolved
  Offset m_scanned = 0;
  int64_t m_ends = 0;
  bool m_finished = false;
  int64_t m_lines = 0;

  // The scan's own state, touched by the feeding thread alone.
  bool m_prevCR = false, m_prevLF = false;  // what the byte before the next fed one was
  uint64_t m_nextBlock = 0;                 // the first block without its entry
  Offset m_scanPos = 0;
  int64_t m_scanEnds = 0;
};

}  // namespace zel_view
