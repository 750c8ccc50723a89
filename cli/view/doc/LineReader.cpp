// Reading lines forward and backward through a document's source.
#include "cli/view/doc/LineReader.h"

#include <algorithm>

#include "files/LineScan.h"

namespace zel_view {

namespace {
constexpr size_t kMaxPiece = 256 * 1024;
}

std::string_view LineReader::Forward(Offset at) {
  if (at >= m_end) return {};
  if (at >= m_bufferStart && at - m_bufferStart < m_buffer.size())
    return std::string_view(m_buffer).substr(static_cast<size_t>(at - m_bufferStart));
  const size_t want = static_cast<size_t>(std::min<Offset>(m_piece, m_end - at));
  m_piece = std::min(m_piece * 2, kMaxPiece);
  m_buffer.resize(want);
  m_buffer.resize(m_source.ReadAt(at, m_buffer.data(), want));
  m_bufferStart = at;
  return m_buffer;
}

int LineReader::ByteBefore(Offset at) {
  if (at >= m_end) return -1;
  if (at < m_bufferStart || at - m_bufferStart >= m_buffer.size()) {
    const Offset start = at + 1 > m_piece ? at + 1 - m_piece : 0;
    m_piece = std::min(m_piece * 2, kMaxPiece);
    m_buffer.resize(static_cast<size_t>(at + 1 - start));
    m_buffer.resize(m_source.ReadAt(start, m_buffer.data(), m_buffer.size()));
    m_bufferStart = start;
    if (at - start >= m_buffer.size()) return -1;
  }
  return static_cast<unsigned char>(m_buffer[static_cast<size_t>(at - m_bufferStart)]);
}

bool LineReader::Next(Offset start, RawLine& line, bool wantText) {
  if (start >= m_end) return false;
  line.start = start;
  line.head.clear();
  bool triedSkip = false;
  for (Offset at = start;;) {
    const std::string_view bytes = Forward(at);
    if (bytes.empty()) {
      line.end = line.next = at;
      return true;
    }
    const char* end = ZelFindLineEnd(bytes.data(), bytes.data() + bytes.size());
    const size_t take = end ? static_cast<size_t>(end - bytes.data()) : bytes.size();
    if (wantText && line.head.size() < kLongLine)
      line.head.append(bytes.substr(0, std::min(take, kLongLine - line.head.size())));
    at += take;
    if (end) {
      line.end = at;
      line.next = at + 1;
      if (*end == '\r') {
        const std::string_view after = Forward(at + 1);
        if (!after.empty() && after[0] == '\n') line.next = at + 2;
      }
      return true;
    }
    if (!triedSkip && at - start > kLongLine) {
      triedSkip = true;
      if (SkipLongLine(line)) return true;
    }
  }
}

bool LineReader::SkipLongLine(RawLine& line) {
  // The line is longer than a block, so it holds the next block's boundary: the first
  // line start the index has at or after that boundary is the next line's.
  const uint64_t block = m_index.BlockSize();
  if (block > kLongLine) return false;
  Offset next;
  if (auto entry = m_index.Block(line.start / block + 1); entry && entry->start <= m_end) {
    next = entry->start;
  } else if (m_index.Finished()) {
    next = m_end;  // no line starts after it: it runs to the end
  } else {
    return false;
  }
  line.next = next;
  line.end = next;
  const int last = ByteBefore(next - 1);
  if (last == '\n' || last == '\r') {
    --line.end;
    if (last == '\n' && line.end > line.start && ByteBefore(line.end - 1) == '\r') --line.end;
  }
  return true;
}

Offset LineReader::StartOfLineEndingAt(Offset end) {
  const Offset lower = m_index.AtOrBefore(end).start;
  for (Offset at = end; at > lower; --at) {
    const int b = ByteBefore(at - 1);
    if (b < 0 || b == '\r' || b == '\n') return at;
  }
  return std::min(lower, end);
}

Offset LineReader::StartOfLineBefore(Offset next) {
  if (next == 0) return 0;
  Offset end = next;
  const int last = ByteBefore(end - 1);
  if (last == '\n') {
    --end;
    if (end > 0 && ByteBefore(end - 1) == '\r') --end;
  } else if (last == '\r') {
    --end;
  }
  return StartOfLineEndingAt(end);
}

int64_t LineReader::CountEnds(Offset from, Offset to) {
  int64_t ends = 0;
  bool prevCR = false;
  for (Offset at = from; at < to;) {
    const std::string_view bytes = Forward(at);
    if (bytes.empty()) break;
    const size_t take = static_cast<size_t>(std::min<Offset>(bytes.size(), to - at));
    ends += static_cast<int64_t>(zel_linescan::CountLineEnds(bytes.data(), take, prevCR));
    at += take;
  }
  return ends;
}

}  // namespace zel_view
