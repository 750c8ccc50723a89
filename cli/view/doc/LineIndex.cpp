// The sparse index, fed with the library's vector line scanner.
#include "cli/view/doc/LineIndex.h"

#include <algorithm>

#include "files/LineScan.h"

namespace zel_view {

void LineIndex::Feed(const char* p, size_t n) {
  std::vector<IndexEntry> found;
  const Offset pos = m_scanPos;
  size_t i = 0;
  while (i < n) {
    const Offset at = pos + i;
    const Offset boundary = m_nextBlock * m_blockSize;
    if (boundary > at) {
      // Nothing waits for a line start before the next boundary: only counting, fast.
      const size_t stop = static_cast<size_t>(std::min<Offset>(n, boundary - pos));
      bool cr = m_prevCR;
      m_scanEnds += static_cast<int64_t>(zel_linescan::CountLineEnds(p + i, stop - i, cr));
      m_prevCR = cr;
      m_prevLF = p[stop - 1] == '\n';
      i = stop;
      continue;
    }
    // A block waits for its first line start: here, or after the next line end. (A CR
    // ends a line, but one right before an LF ends it together with the LF.)
    if (at == 0 || m_prevLF || (m_prevCR && p[i] != '\n')) {
      Resolve(at, found);
      continue;
    }
    const char* end = ZelFindLineEnd(p + i, p + n);
    if (!end) {
      m_prevCR = m_prevLF = false;
      break;
    }
    const size_t e = static_cast<size_t>(end - p);
    if (*end == '\r') {
      ++m_scanEnds;
      m_prevCR = true;
      m_prevLF = false;
    } else {
      if (!(e == i && m_prevCR)) ++m_scanEnds;
      m_prevLF = true;
      m_prevCR = false;
    }
    i = e + 1;
  }
  m_scanPos += n;
  std::lock_guard lock(m_mutex);
  m_entries.insert(m_entries.end(), found.begin(), found.end());
  m_scanned = m_scanPos;
  m_ends = m_scanEnds;
}

void LineIndex::Resolve(Offset start, std::vector<IndexEntry>& found) {
  for (; m_nextBlock * m_blockSize <= start; ++m_nextBlock) found.push_back({start, m_scanEnds});
}

void LineIndex::Finish() {
  std::lock_guard lock(m_mutex);
  m_finished = true;
  // A last line without its line end is a line too.
  m_lines = m_scanEnds + (m_scanned > 0 && !m_prevCR && !m_prevLF ? 1 : 0);
}

Offset LineIndex::Scanned() const {
  std::lock_guard lock(m_mutex);
  return m_scanned;
}

bool LineIndex::Finished() const {
  std::lock_guard lock(m_mutex);
  return m_finished;
}

int64_t LineIndex::Lines() const {
  std::lock_guard lock(m_mutex);
  return m_finished ? m_lines : m_ends;
}

bool LineIndex::CoversLine(int64_t number) const {
  std::lock_guard lock(m_mutex);
  return number >= 0 && number < (m_finished ? m_lines : m_ends);
}

bool LineIndex::CoversOffset(Offset offset) const {
  std::lock_guard lock(m_mutex);
  return offset < m_scanned;
}

IndexEntry LineIndex::BeforeLine(int64_t number) const {
  std::lock_guard lock(m_mutex);
  auto it = std::upper_bound(m_entries.begin(), m_entries.end(), number,
                             [](int64_t n, const IndexEntry& e) { return n < e.number; });
  return it == m_entries.begin() ? IndexEntry{} : *std::prev(it);
}

IndexEntry LineIndex::AtOrBefore(Offset offset) const {
  std::lock_guard lock(m_mutex);
  auto it = std::upper_bound(m_entries.begin(), m_entries.end(), offset,
                             [](Offset o, const IndexEntry& e) { return o < e.start; });
  return it == m_entries.begin() ? IndexEntry{} : *std::prev(it);
}

std::optional<IndexEntry> LineIndex::Block(uint64_t block) const {
  std::lock_guard lock(m_mutex);
  if (block >= m_entries.size()) return std::nullopt;
  return m_entries[block];
}

}  // namespace zel_view
