// Reading lines of any length in bounded pieces, for detection: a line is handed on piece
// by piece, and texts and words split between two pieces are found whole, so that a file
// whose sequence is one line of a gigabyte costs no more memory than one of a kilobyte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "files/EkStream.h"

namespace zel_pieces {

inline bool IsSeparator(char c) { return c == ' ' || c == '\f' || c == '\r' || c == '\n'; }

// Which of a few fixed texts occur in a line that arrives in pieces.
class PieceSearch {
 public:
  explicit PieceSearch(std::vector<std::string> needles);
  // A new line: nothing found yet.
  void Reset();
  // The next piece of the line; last says that no piece follows (nothing is kept then).
  void Feed(std::string_view piece, bool last);
  // The same for a piece in which the caller knows no needle ends: only the bytes a needle
  // may begin with are kept.
  void Pass(std::string_view piece, bool last) {
    if (!last) Keep(piece);
  }
  bool Found(size_t i) const { return m_found[i]; }
  bool Any() const;

 private:
  std::vector<std::string> m_needles;
  std::vector<bool> m_found;
  size_t m_keep = 0;   // bytes of a needle that can lie before a piece: the longest less one
  std::string m_tail;  // the last m_keep bytes fed

  void Keep(std::string_view piece);
};

// Hands the words of a piece to word (split at blanks, form feeds, CR and LF): Part(text)
// for each part of a word, End() where a word ends. A word running to the end of the
// piece stays open (inWord), to go on in the next piece or end with the line (EndLine).
template <typename Word>
void FeedWords(std::string_view piece, bool& inWord, Word& word) {
  size_t i = 0;
  const size_t n = piece.size();
  while (i < n) {
    const size_t start = i;
    while (i < n && !IsSeparator(piece[i])) i++;
    if (i > start) {
      word.Part(piece.substr(start, i - start));
      inWord = true;
    }
    if (i == n) break;
    if (inWord) word.End();
    inWord = false;
    while (i < n && IsSeparator(piece[i])) i++;
  }
}

template <typename Word>
void EndLine(bool& inWord, Word& word) {
  if (inWord) word.End();
  inWord = false;
}

// Reads the line at the stream's position, handing feed(piece, last) each piece of it as
// the C string a line is taken for: nothing after a zero byte. False when nothing but the
// end of the stream was met. buffer is the caller's, reused from line to line.
template <typename Feed>
bool ReadLinePieces(CEkStream* stream, CString& buffer, Feed&& feed) {
  bool more = true, first = true, cut = false;
  while (more) {
    if (!stream->ReadStringPiece(buffer, more)) {
      if (first) return false;
      if (!cut) feed(std::string_view(), true);
      return true;
    }
    first = false;
    if (cut) continue;
    std::string_view piece = buffer.view();
    if (const size_t zero = piece.find('\0'); zero != std::string_view::npos) {
      piece = piece.substr(0, zero);
      cut = true;
    }
    feed(piece, cut || !more);
  }
  return true;
}

}  // namespace zel_pieces
