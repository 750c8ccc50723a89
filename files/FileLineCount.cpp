// Line ends of a stretch of a regular file, in one or two threads.
#include <algorithm>
#include <memory>
#include <thread>

#include "files/FileLineCountInternal.h"
#include "files/LineScan.h"
#include "platform/base/file/ReadAtInternal.h"

namespace zel_linescan {

namespace {

struct Part {
  FileLineEnds result;
  std::error_code error;
};

// One thread's stretch, through a buffer of its own.
void CountPart(HANDLE h, uint64_t from, uint64_t to, bool prevCR, size_t piece, Part& part) {
  std::unique_ptr<char[]> buffer(new char[piece]);
  FileLineEnds& r = part.result;
  r.lastCR = prevCR;
  for (uint64_t at = from; at < to;) {
    size_t got = 0;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(piece, to - at));
    if ((part.error = zel_file::ReadSomeAt(h, buffer.get(), want, at, got)) || got == 0) return;
    r.ends += CountLineEnds(buffer.get(), got, r.lastCR);
    r.lastEnd = r.lastCR || buffer[got - 1] == '\n';
    r.bytes += got;
    at += got;
  }
}

}  // namespace

std::error_code CountFileLineEnds(HANDLE h, uint64_t from, uint64_t split, uint64_t to, bool prevCR,
                                  FileLineEnds& result, size_t piece) {
  split = std::clamp(split, from, to);
  Part near, far;
  if (split < to) {
    // Whether the far part begins after a CR decides whether an LF there ends a line.
    char before = 0;
    size_t got = 0;
    if (split > from) {
      if (std::error_code ec = zel_file::ReadSomeAt(h, &before, 1, split - 1, got)) return ec;
    } else {
      before = prevCR ? '\r' : 0;
    }
    std::thread worker([&] { CountPart(h, split, to, before == '\r', piece, far); });
    CountPart(h, from, split, prevCR, piece, near);
    worker.join();
  } else {
    CountPart(h, from, to, prevCR, piece, near);
  }
  if (near.error) return near.error;
  if (far.error) return far.error;
  result = near.result;
  // A file that shrank under the near part ends there: what lies beyond is not its text.
  if (split < to && near.result.bytes == split - from && far.result.bytes > 0) {
    result.ends += far.result.ends;
    result.bytes += far.result.bytes;
    result.lastCR = far.result.lastCR;
    result.lastEnd = far.result.lastEnd;
  }
  return {};
}

}  // namespace zel_linescan
