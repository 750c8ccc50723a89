// Reading a document's lines where they are wanted: forward from a line start in pieces
// that grow from a few kilobytes, backwards from a line end, the index bounding both, so a
// screenful costs about a screenful of reading.
#pragma once

#include <cstdint>
#include <string>

#include "cli/view/doc/LineIndex.h"
#include "cli/view/doc/Source.h"

namespace zel_view {

struct RawLine {
  Offset start = 0;
  Offset end = 0;    // of its bytes: where its line end (or the contents) begins
  Offset next = 0;   // past its line end
  std::string head;  // its first kLongLine bytes, when asked for
};

class LineReader {
 public:
  // Reads source up to end, the contents known when the caller began.
  LineReader(Source& source, const LineIndex& index, Offset end)
      : m_source(source), m_index(index), m_end(end) {}

  // The line starting at start; false at or past the end. A line of more than kLongLine
  // bytes is passed over through the index where it knows the next line's start.
  bool Next(Offset start, RawLine& line, bool wantText);
  // The start of the line whose bytes end at end (its line end excluded): after the last
  // CR or LF before end, and never before the index's line start at or before end.
  Offset StartOfLineEndingAt(Offset end);
  // The start of the line that ends right before next (a line start, or the end of the
  // contents), stepping over that line's end; next itself when next is 0.
  Offset StartOfLineBefore(Offset next);
  // Line ends in [from, to), from a line start.
  int64_t CountEnds(Offset from, Offset to);

 private:
  // The bytes from at on, at least one unless at is the end; a piece read afresh when at
  // lies outside what is held.
  std::string_view Forward(Offset at);
  // The byte at at (< end), read backwards in pieces.
  int ByteBefore(Offset at);
  bool SkipLongLine(RawLine& line);

  Source& m_source;
  const LineIndex& m_index;
  Offset m_end;
  std::string m_buffer;
  Offset m_bufferStart = 0;
  size_t m_piece = 4096;
};

}  // namespace zel_view
