// Line ends of a stretch of a regular file, in one or two threads.
#include <algorithm>

#include "files/FileLineCountInternal.h"
#include "files/LineScan.h"
#include "platform/base/file/ReadAtInternal.h"

namespace zel_linescan {

namespace {

// A part's count, piece after piece.
zel_fileread::PieceSink Counter(FileLineEnds& r) {
  return [&r](const char* p, size_t n) {
    r.ends += CountLineEnds(p, n, r.lastCR);
    r.lastEnd = r.lastCR || p[n - 1] == '\n';
    r.bytes += n;
    return true;
  };
}

}  // namespace

std::error_code CountFileLineEnds(HANDLE h, uint64_t from, uint64_t split, uint64_t to, bool prevCR,
                                  FileLineEnds& result, size_t piece) {
  split = std::clamp(split, from, to);
  FileLineEnds near, far;
  near.lastCR = prevCR;
  if (split < to) {
    // Whether the far part begins after a CR decides whether an LF there ends a line.
    char before = 0;
    size_t got = 0;
    if (split > from) {
      if (std::error_code ec = zel_file::ReadSomeAt(h, &before, 1, split - 1, got)) return ec;
    } else {
      before = prevCR ? '\r' : 0;
    }
    far.lastCR = before == '\r';
  }
  bool farCounts = false;
  if (std::error_code ec = zel_fileread::ReadPieces(h, from, split, to, piece, Counter(near),
                                                    Counter(far), farCounts))
    return ec;
  result = near;
  // A file that shrank under the near part ends there: what lies beyond is not its text.
  if (farCounts && far.bytes > 0) {
    result.ends += far.ends;
    result.bytes += far.bytes;
    result.lastCR = far.lastCR;
    result.lastEnd = far.lastEnd;
  }
  return {};
}

}  // namespace zel_linescan
